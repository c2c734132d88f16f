// The sample objects implement platform interfaces with whole tables: every
// method the sample does not serve answers E_NOTIMPL.
#pragma once
#include <oaidl.h>

#define PAGEHOST_NOT_IMPLEMENTED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

// A property's put_ and get_ methods.
#define PAGEHOST_PROPERTY_NOT_IMPLEMENTED(name, type) \
    PAGEHOST_NOT_IMPLEMENTED(put_##name, type)        \
    PAGEHOST_NOT_IMPLEMENTED(get_##name, type*)

// IDispatch's four methods, for a table whose object serves none of them.
#define PAGEHOST_DISPATCH_NOT_IMPLEMENTED                                     \
    PAGEHOST_NOT_IMPLEMENTED(GetTypeInfoCount, UINT*)                         \
    PAGEHOST_NOT_IMPLEMENTED(GetTypeInfo, UINT, LCID, ITypeInfo**)            \
    PAGEHOST_NOT_IMPLEMENTED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*) \
    PAGEHOST_NOT_IMPLEMENTED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
