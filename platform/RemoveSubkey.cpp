#include "platform/RemoveSubkey.h"

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

LONG RemoveSubkey(BorrowedKey parent, LPCWSTR name)
{
    if (DeleteKeyExFunction deleteKeyEx = DeleteKeyEx())
        return deleteKeyEx(parent.key, name, parent.viewBits, 0);
    return RegDeleteKeyW(parent.key, name);
}

}  // namespace trevik
