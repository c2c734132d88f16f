#include "registration/RegistrationLock.h"

#include "Identifiers.h"
#include "platform/HResult.h"

namespace trevik {
namespace {

// In the session's own namespace, named after the class.
constexpr wchar_t kMutexPrefix[] = L"Local\\trevik.Registration.";

HRESULT LastFailure()
{
    HRESULT hr = HResultFromLastError();
    return FAILED(hr) ? hr : E_FAIL;
}

}  // namespace

HRESULT RegistrationLock::Acquire()
{
    wchar_t name[sizeof(kMutexPrefix) / sizeof(wchar_t) + sizeof(kClsidText) / sizeof(wchar_t)];
    lstrcpyW(name, kMutexPrefix);
    lstrcatW(name, kClsidText);
    mutex_.Reset(CreateMutexW(nullptr, FALSE, name));
    if (!mutex_)
        return LastFailure();
    DWORD wait = WaitForSingleObject(mutex_.Get(), INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return LastFailure();
    held_.Reset(mutex_.Get());
    return S_OK;
}

}  // namespace trevik
