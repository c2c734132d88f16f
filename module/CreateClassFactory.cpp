#include "module/CreateClassFactory.h"

#include <memory>

#include "module/CComClassFactory.h"
#include "module/CComObjectCached.h"
#include "platform/Allocation.h"

namespace trevik {

HRESULT CreateClassFactory(void* instanceCreator, REFIID iid, void** out) noexcept
{
    if (!out)
        return E_POINTER;
    *out = nullptr;

    std::unique_ptr<CComObjectCached<CComClassFactory>> factory(NewObject<CComObjectCached<CComClassFactory>>());
    if (!factory)
        return E_OUTOFMEMORY;
    factory->instanceCreator = reinterpret_cast<CreatorFunction>(instanceCreator);
    HRESULT hr = factory->objectSection.Setup();
    if (FAILED(hr))
        return hr;
    hr = factory->QueryInterface(iid, out);
    if (hr == S_OK)
        factory.release();
    return hr;
}

}  // namespace trevik
