// The scriptable object of trevik: IZuTrevikHelper, whose one method hands a
// script the documents of a page's frames, and its instance creator.
#pragma once
#include "Identifiers.h"
#include "automation/CComTypeInfoHolder.h"
#include "automation/IDispatchImpl.h"
#include "com/CComCoClass.h"
#include "com/CComObjectRoot.h"
#include "com/FindInterface.h"

namespace trevik {

struct CategoryMapEntry;

// Instantiated as CComObject<CZuTrevikHelper> by CreateHelperObject.
class CZuTrevikHelper
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CZuTrevikHelper, &CLSID_ZuTrevikHelper>,
      public IDispatchImpl<IZuTrevikHelper, &IID_IZuTrevikHelper, &LIBID_trevikLib, 1, 0, CComTypeInfoHolder> {
public:
    // The HTML documents of the frames embedded in the page document
    // `pHtmlDoc`, as an array of VARIANTs in `pVal`.
    HRESULT STDMETHODCALLTYPE getFrames(IDispatch* pHtmlDoc, VARIANT* pVal) override;

    // IZuTrevikHelper, IDispatch (and so IUnknown), all at the object's start.
    static const InterfaceEntry* GetEntries();

    // The class's functions in its object-map entry.
    static const CategoryMapEntry* GetCategoryMap();
    static void ObjectMain(bool starting);
};

// Creates a CComObject<CZuTrevikHelper>, which takes one module lock, and
// queries it for `iid`; the outer object is ignored (aggregation is refused
// before this is reached). On success *out holds the only reference.
//   E_POINTER      `out` is null
//   E_OUTOFMEMORY  no memory for the object; no lock is taken
//   E_NOINTERFACE  the object does not answer `iid`; it is destroyed again
HRESULT CreateHelperObject(void* outer, REFIID iid, void** out) noexcept;

}  // namespace trevik
