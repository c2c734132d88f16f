#include "platform/CriticalSection.h"

#include <cstring>

#include "platform/FaultInjection.h"

namespace trevik {

CriticalSection::CriticalSection() noexcept
{
    std::memset(&section_, 0, sizeof(section_));
}

CriticalSection::~CriticalSection()
{
    Destroy();
}

HRESULT CriticalSection::Setup() noexcept
{
    if (setUp_)
        return S_OK;
    // The only way setup fails is the platform running out of memory, which
    // this call reports by its result instead of raising an exception.
    if (ShouldInjectFault(Fault::CriticalSectionSetup) || !InitializeCriticalSectionEx(&section_, 0, 0))
        return E_OUTOFMEMORY;
    setUp_ = true;
    return S_OK;
}

void CriticalSection::Destroy() noexcept
{
    if (!setUp_)
        return;
    DeleteCriticalSection(&section_);
    setUp_ = false;
    std::memset(&section_, 0, sizeof(section_));
}

}  // namespace trevik
