// The class object of a class: IClassFactory over the class's instance
// creator, and the creator that the object map builds it with. Aggregation
// is never accepted.
#pragma once
#include <unknwn.h>

#include "com/CComObjectRoot.h"
#include "com/FindInterface.h"
#include "com/ObjectMapEntry.h"

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

// The class-object creator of the object map: a CComObjectCached over a
// CComClassFactory with `instanceCreator`, the entry's CreatorFunction. On
// success *out holds the only reference and no module lock is taken.
//   E_POINTER      `out` is null
//   E_OUTOFMEMORY  no memory for the object or its critical section
//   E_NOINTERFACE  the factory does not answer `iid`; nothing is left behind
HRESULT CreateClassFactory(void* instanceCreator, REFIID iid, void** out) noexcept;

}  // namespace trevik
