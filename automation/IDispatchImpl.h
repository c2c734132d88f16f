// IDispatch for a dual interface `T`, driven by its type library through one
// type-information holder shared by every object of the interface.
#pragma once
#include <oaidl.h>

namespace trevik {

template <class T, const IID* Iid, const GUID* LibraryId, WORD MajorVersion, WORD MinorVersion, class Holder>
class IDispatchImpl : public T {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return Holder::GetTypeInfoCount(count); }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override
    {
        return typeInfoHolder.GetTypeInfo(index, locale, out);
    }

    // The interface identifier is not checked.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override
    {
        return typeInfoHolder.GetIDsOfNames(names, count, locale, ids);
    }

    // The type information calls the method through this object's table.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        return typeInfoHolder.Invoke(static_cast<T*>(this), id, locale, flags, parameters, result, exception,
                                     argumentError);
    }

    static Holder typeInfoHolder;
};

// Constant-initialised: ready before any static constructor runs.
template <class T, const IID* Iid, const GUID* LibraryId, WORD MajorVersion, WORD MinorVersion, class Holder>
Holder IDispatchImpl<T, Iid, LibraryId, MajorVersion, MinorVersion, Holder>::typeInfoHolder{Iid, LibraryId, MajorVersion,
                                                                                           MinorVersion};

}  // namespace trevik
