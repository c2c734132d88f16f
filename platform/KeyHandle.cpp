#include "platform/KeyHandle.h"

#include "platform/Constants.h"

namespace trevik {

LONG CKeyHandle::Open(BorrowedKey parent, LPCWSTR name, REGSAM access)
{
    HKEY opened = nullptr;
    LONG code = RegOpenKeyExW(parent.key, name, 0, access | parent.viewBits, &opened);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(opened, parent.viewBits & kWow64ViewBits);
}

LONG CKeyHandle::Create(BorrowedKey parent, LPCWSTR name)
{
    HKEY created = nullptr;
    LONG code = RegCreateKeyExW(parent.key, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                kKeyReadWrite | parent.viewBits, nullptr, &created, nullptr);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(created, parent.viewBits & kWow64ViewBits);
}

LONG CKeyHandle::Close()
{
    if (!key_)
        return ERROR_SUCCESS;
    LONG code = RegCloseKey(key_);
    key_ = nullptr;
    viewBits_ = 0;
    return code;
}

LONG CKeyHandle::Replace(HKEY key, REGSAM viewBits)
{
    LONG code = Close();
    key_ = key;
    viewBits_ = viewBits;
    return code;
}

}  // namespace trevik
