#include "platform/KeyHandle.h"

#include <utility>

#include "platform/Constants.h"
#include "platform/FaultInjection.h"

namespace trevik {
namespace {

LONG OpenKey(BorrowedKey parent, LPCWSTR name, DWORD options, REGSAM access, HKEY* opened)
{
    return RegOpenKeyExW(parent.key, name, options, access | parent.viewBits, opened);
}

}  // namespace

CKeyHandle::CKeyHandle(CKeyHandle&& other) noexcept
    : key_(std::exchange(other.key_, nullptr)), viewBits_(std::exchange(other.viewBits_, 0))
{
}

CKeyHandle& CKeyHandle::operator=(CKeyHandle&& other) noexcept
{
    Replace(std::exchange(other.key_, nullptr), std::exchange(other.viewBits_, 0));
    return *this;
}

LONG CKeyHandle::Open(BorrowedKey parent, LPCWSTR name, REGSAM access)
{
    HKEY opened = nullptr;
    LONG code = OpenKey(parent, name, 0, access, &opened);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(opened, parent.viewBits & kWow64ViewBits);
}

LONG CKeyHandle::OpenItself(BorrowedKey parent, LPCWSTR name, REGSAM access)
{
    HKEY opened = nullptr;
    LONG code = OpenKey(parent, name, REG_OPTION_OPEN_LINK, access, &opened);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(opened, parent.viewBits & kWow64ViewBits);
}

LONG CKeyHandle::Create(BorrowedKey parent, LPCWSTR name, bool* created)
{
    if (ShouldInjectFault(Fault::RegistryWrite))
        return kInjectedRegistryFailure;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG code = RegCreateKeyExW(parent.key, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                kKeyReadWrite | parent.viewBits, nullptr, &key, &disposition);
    if (code != ERROR_SUCCESS)
        return code;
    if (created)
        *created = disposition == REG_CREATED_NEW_KEY;
    return Replace(key, parent.viewBits & kWow64ViewBits);
}

bool CKeyHandle::IsLink() const
{
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    return RegQueryValueExW(key_, kLinkValueName, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
           type == REG_LINK;
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
