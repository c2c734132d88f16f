#include "com/CComClassFactory.h"

#include <memory>

#include "com/CComObject.h"
#include "platform/Allocation.h"

namespace trevik {

HRESULT CComClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && !IsEqualIID(iid, __uuidof(IUnknown)))
        return CLASS_E_NOAGGREGATION;
    return instanceCreator(outer, iid, out);
}

HRESULT CComClassFactory::LockServer(BOOL lock)
{
    if (lock)
        ServingModule().LockModule();
    else
        ServingModule().UnlockModule();
    return S_OK;
}

const InterfaceEntry* CComClassFactory::GetEntries()
{
    static const InterfaceEntry entries[] = {
        {&__uuidof(IClassFactory), InterfaceOffset<IClassFactory, CComClassFactory>(), kInterfaceAtOffset},
        {nullptr, 0, kEndOfTable},
    };
    return entries;
}

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
