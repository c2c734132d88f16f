#include "registration/TypeLibRegistrationFunctions.h"

#include <oleauto.h>

#include "platform/PerUserRegistration.h"

namespace trevik {
namespace {

// The per-user function of that name in the loaded Automation library; this
// never loads the library itself.
FARPROC PerUserFunction(const char* name)
{
    if (!PerUserRegistration())
        return nullptr;
    HMODULE automation = GetModuleHandleW(L"OLEAUT32.DLL");
    return automation ? GetProcAddress(automation, name) : nullptr;
}

}  // namespace

RegisterTypeLibFunction ChooseRegisterTypeLib()
{
    if (FARPROC perUser = PerUserFunction("RegisterTypeLibForUser"))
        return reinterpret_cast<RegisterTypeLibFunction>(reinterpret_cast<void*>(perUser));
    return &RegisterTypeLib;
}

UnregisterTypeLibFunction ChooseUnregisterTypeLib()
{
    if (FARPROC perUser = PerUserFunction("UnRegisterTypeLibForUser"))
        return reinterpret_cast<UnregisterTypeLibFunction>(reinterpret_cast<void*>(perUser));
    return &UnRegisterTypeLib;
}

}  // namespace trevik
