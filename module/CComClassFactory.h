// The class object of a class: IClassFactory over the class's instance
// creator. Aggregation is never accepted.
#pragma once
#include <unknwn.h>

#include "automation/CComObjectRoot.h"
#include "automation/FindInterface.h"
#include "module/ObjectMapEntry.h"

namespace trevik {

// Abstract: CComObjectCached supplies the IUnknown operations.
class CComClassFactory : public IClassFactory, public CComObjectRootEx<CComMultiThreadModel> {
public:
    //   E_POINTER              `out` is null
    //   CLASS_E_NOAGGREGATION  an outer object with any identifier but IUnknown's
    //   otherwise the instance creator's result
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    // Nonzero takes a module lock, zero gives one back; calls are not paired.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

    static const InterfaceEntry* GetEntries();

    CreatorFunction instanceCreator = nullptr;
};

}  // namespace trevik
