#include "platform/KeyHandle.h"

#include <utility>

#include "platform/Constants.h"
#include "platform/FaultInjection.h"

namespace trevik {
namespace {

LONG OpenKey(HKEY parent, LPCWSTR name, DWORD options, REGSAM access, HKEY* opened)
{
    return RegOpenKeyExW(parent, name, options, access, opened);
}

}  // namespace

CKeyHandle::CKeyHandle(CKeyHandle&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

CKeyHandle& CKeyHandle::operator=(CKeyHandle&& other) noexcept
{
    Replace(std::exchange(other.key_, nullptr));
    return *this;
}

LONG CKeyHandle::Open(HKEY parent, LPCWSTR name, REGSAM access)
{
    HKEY opened = nullptr;
    LONG code = OpenKey(parent, name, 0, access, &opened);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(opened);
}

LONG CKeyHandle::OpenItself(HKEY parent, LPCWSTR name, REGSAM access)
{
    HKEY opened = nullptr;
    LONG code = OpenKey(parent, name, REG_OPTION_OPEN_LINK, access, &opened);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(opened);
}

LONG CKeyHandle::Create(HKEY parent, LPCWSTR name, bool* created)
{
    if (ShouldInjectFault(Fault::RegistryWrite))
        return kInjectedRegistryFailure;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG code = RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kKeyReadWrite, nullptr, &key,
                                &disposition);
    if (code != ERROR_SUCCESS)
        return code;
    if (created)
        *created = disposition == REG_CREATED_NEW_KEY;
    return Replace(key);
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
    return code;
}

LONG CKeyHandle::Replace(HKEY key)
{
    LONG code = Close();
    key_ = key;
    return code;
}

}  // namespace trevik
