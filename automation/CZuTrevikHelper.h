// The scriptable object of trevik: IZuTrevikHelper, whose one method hands a
// script the documents of a page's frames. It is instantiated as
// CComObject<CZuTrevikHelper> (see CreateHelperObject).
#pragma once
#include "Identifiers.h"
#include "automation/CComCoClass.h"
#include "automation/CComObjectRoot.h"
#include "automation/CComTypeInfoHolder.h"
#include "automation/FindInterface.h"
#include "automation/IDispatchImpl.h"

namespace trevik {

struct CategoryMapEntry;

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

}  // namespace trevik
