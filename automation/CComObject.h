// The class that is instantiated for a scriptable object: IUnknown over the
// object class `Base`, and one module lock for as long as the object lives.
#pragma once
#include <unknwn.h>

#include "automation/FindInterface.h"
#include "module/CAtlModule.h"

namespace trevik {

// `Base` derives from its interfaces and from a CComObjectRootEx, and lists
// its interfaces in `Base::GetEntries()`.
template <class Base>
class CComObject : public Base {
public:
    CComObject() noexcept { globalModule->LockModule(); }
    virtual ~CComObject()
    {
        this->MarkDestroyed();
        globalModule->UnlockModule();
    }
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return FindInterface(this, Base::GetEntries(), iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return this->InternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG count = this->InternalRelease();
        if (count == 0)
            delete this;
        return count;
    }
};

}  // namespace trevik
