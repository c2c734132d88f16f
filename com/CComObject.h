// The two ways an object of trevik is instantiated over its object class
// `Base`: as a live object, which holds one module lock for as long as it
// lives, or as an object cached by its creator, which holds one only while
// somebody besides the cache holds it.
#pragma once
#include <unknwn.h>

#include "com/FindInterface.h"
#include "com/ServingModule.h"

namespace trevik {

// `Base` derives from its interfaces and from a CComObjectRootEx, and lists
// its interfaces in `Base::GetEntries()`.
template <class Base>
class CComObject : public Base {
public:
    CComObject() noexcept { ServingModule().LockModule(); }
    virtual ~CComObject()
    {
        this->MarkDestroyed();
        ServingModule().UnlockModule();
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

// The object map caches class objects this way, so that the cache alone
// never keeps the library loaded. `Base` derives from
// CComObjectRootEx<CComMultiThreadModel>.
template <class Base>
class CComObjectCached : public Base {
public:
    CComObjectCached() noexcept = default;
    // The object's own critical section, if set up, goes with its members.
    virtual ~CComObjectCached() { this->MarkDestroyed(); }
    CComObjectCached(const CComObjectCached&) = delete;
    CComObjectCached& operator=(const CComObjectCached&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return FindInterface(this, Base::GetEntries(), iid, out);
    }

    // The move from 1 to 2 takes the module lock, the move back gives it back.
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        ULONG count = this->InternalAddRef();
        if (count == 2)
            ServingModule().LockModule();
        return count;
    }

    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG count = this->InternalRelease();
        if (count == 0)
            delete this;
        else if (count == 1)
            ServingModule().UnlockModule();
        return count;
    }
};

}  // namespace trevik
