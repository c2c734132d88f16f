// Reference counting shared by the objects of the sample page server. Every
// object holds a module lock from its creation to its destruction, so the
// server stays loaded while a client holds any of them.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <unknwn.h>

#include <utility>

#include "ModuleLock.h"
#include "platform/ComPtr.h"

namespace pagehost {

using trevik::ComPtr;

// IDispatch, or an interface built on it, served without type information:
// scripts reach the object by name through GetIDsOfNames and Invoke.
template <class Dispatch>
class WithoutTypeInfo : public Dispatch {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
};

// The interfaces are the object's direct bases; the derived class writes
// QueryInterface and the methods it serves.
template <class... Interfaces>
class ServerObject : public Interfaces... {
public:
    ServerObject(const ServerObject&) = delete;
    ServerObject& operator=(const ServerObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG references = InterlockedDecrement(&references_);
        if (references == 0)
            delete this;
        return static_cast<ULONG>(references);
    }

protected:
    ServerObject() = default;
    virtual ~ServerObject() = default;

    // Ends QueryInterface: hands out `answer` with a reference of its own, or
    // reports the interface as not served when it is null.
    static HRESULT Answer(IUnknown* answer, void** out)
    {
        if (!out)
            return E_POINTER;
        *out = answer;
        if (!answer)
            return E_NOINTERFACE;
        answer->AddRef();
        return S_OK;
    }

private:
    ModuleLock lock_;
    volatile LONG references_ = 0;
};

// A new object holding its first reference; throws std::bad_alloc.
template <class Object, class... Arguments>
ComPtr<Object> MakeObject(Arguments&&... arguments)
{
    return ComPtr<Object>::Share(new Object(std::forward<Arguments>(arguments)...));
}

}  // namespace pagehost
