// An object cached by its creator (the object map caches class objects this
// way): it holds a module lock only while somebody besides the cache holds
// it, so the cache alone never keeps the library loaded.
#pragma once
#include <unknwn.h>

#include "automation/FindInterface.h"
#include "module/CAtlModule.h"

namespace trevik {

// `Base` derives from its interface and from CComObjectRootEx<CComMultiThreadModel>,
// and lists its interfaces in `Base::GetEntries()`.
template <class Base>
class CComObjectCached : public Base {
public:
    CComObjectCached() noexcept = default;
    // The object's own critical section, if set up, goes with its members.
    virtual ~CComObjectCached() { this->MarkDestroyed(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return FindInterface(this, Base::GetEntries(), iid, out);
    }

    // The move from 1 to 2 takes the module lock, the move back gives it back.
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        ULONG count = this->InternalAddRef();
        if (count == 2)
            globalModule->LockModule();
        return count;
    }

    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG count = this->InternalRelease();
        if (count == 0)
            delete this;
        else if (count == 1)
            globalModule->UnlockModule();
        return count;
    }
};

}  // namespace trevik
