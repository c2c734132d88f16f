// The registrar's interface: how registration code hands replacement values
// to the registry script engine.
#pragma once
#include <unknwn.h>

namespace trevik {

struct IRegistrarBase : public IUnknown {
    // Adds (name, value) to the replacement map; both are copied.
    // E_INVALIDARG for a null name or value, E_OUTOFMEMORY when not stored.
    virtual HRESULT STDMETHODCALLTYPE PutReplacement(LPCOLESTR name, LPCOLESTR value) = 0;
    // Empties the replacement map.
    virtual HRESULT STDMETHODCALLTYPE ResetReplacements() = 0;
};

}  // namespace trevik
