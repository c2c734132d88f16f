#include "registrar/KeyDeletion.h"

#include "platform/Constants.h"
#include "platform/RemoveSubkey.h"

namespace trevik {
namespace {

const LPCWSTR kProtectedKeyNames[] = {
    L"AppID", L"CLSID", L"Component Categories", L"FileType", L"Interface", L"Hardware",
    L"Mime",  L"SAM",   L"SECURITY",             L"SYSTEM",   L"Software",  L"TypeLib",
};

}  // namespace

LONG DeleteKeyTree(BorrowedKey parent, LPCWSTR name)
{
    CKeyHandle child;
    LONG code = child.Open(parent, name, kKeyReadWrite);
    if (code != ERROR_SUCCESS)
        return code;
    for (;;) {
        wchar_t subkey[kKeyNameUnits];
        DWORD subkeyUnits = kKeyNameUnits;
        if (RegEnumKeyExW(child.Get(), 0, subkey, &subkeyUnits, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        code = DeleteKeyTree(child.Borrow(), subkey);
        if (code != ERROR_SUCCESS)
            return code;
    }
    child.Close();
    return RemoveSubkey(parent, name);
}

bool KeyHasSubkeys(HKEY key)
{
    DWORD subkeys = 0;
    LONG code = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr);
    return code == ERROR_SUCCESS && subkeys > 0;
}

bool IsProtectedKeyName(LPCWSTR name)
{
    for (LPCWSTR protectedName : kProtectedKeyNames)
        if (lstrcmpiW(name, protectedName) == 0)
            return true;
    return false;
}

}  // namespace trevik
