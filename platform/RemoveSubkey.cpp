#include "platform/RemoveSubkey.h"

#include "platform/FaultInjection.h"

namespace trevik {
namespace {

using DeleteKeyExFunction = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

DeleteKeyExFunction LookUpDeleteKeyEx()
{
    HMODULE advapi = GetModuleHandleW(L"Advapi32.dll");
    if (!advapi)
        return nullptr;
    FARPROC entry = GetProcAddress(advapi, "RegDeleteKeyExW");
    return reinterpret_cast<DeleteKeyExFunction>(reinterpret_cast<void (*)()>(entry));
}

DeleteKeyExFunction DeleteKeyEx()
{
    static const DeleteKeyExFunction entry = LookUpDeleteKeyEx();
    return entry;
}

}  // namespace

LONG RemoveSubkey(HKEY parent, LPCWSTR name)
{
    CKeyHandle key;
    LONG code = key.OpenItself(parent, name, DELETE);
    if (code != ERROR_SUCCESS)
        return code;
    return RemoveOpenedKey(key.Get());
}

LONG RemoveOpenedKey(HKEY key)
{
    if (ShouldInjectFault(Fault::RegistryWrite))
        return kInjectedRegistryFailure;
    // An empty name deletes the opened key itself, without a new lookup that
    // would follow a link.
    if (DeleteKeyExFunction deleteKeyEx = DeleteKeyEx())
        return deleteKeyEx(key, L"", 0, 0);
    return RegDeleteKeyW(key, L"");
}

}  // namespace trevik
