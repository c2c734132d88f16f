#include "registration/TypeLibRegistrationFunctions.h"

#include <oleauto.h>


namespace trevik {
namespace {

// The per-user function of that name in the loaded Automation library; this
// never loads the library itself.
FARPROC PerUserFunction(bool perUser, const char* name)
{
    if (!perUser)
        return nullptr;
    HMODULE automation = GetModuleHandleW(L"OLEAUT32.DLL");
    return automation ? GetProcAddress(automation, name) : nullptr;
}

}  // namespace

RegisterTypeLibFunction ChooseRegisterTypeLib(bool perUser)
{
    if (FARPROC function = PerUserFunction(perUser, "RegisterTypeLibForUser"))
        return reinterpret_cast<RegisterTypeLibFunction>(reinterpret_cast<void*>(function));
    return &RegisterTypeLib;
}

UnregisterTypeLibFunction ChooseUnregisterTypeLib(bool perUser)
{
    if (FARPROC function = PerUserFunction(perUser, "UnRegisterTypeLibForUser"))
        return reinterpret_cast<UnregisterTypeLibFunction>(reinterpret_cast<void*>(function));
    return &UnRegisterTypeLib;
}

}  // namespace trevik
