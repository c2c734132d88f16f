#include "automation/CZuTrevikHelper.h"

#include <memory>

#include "com/CComObject.h"
#include "frames/CollectFrameDocuments.h"
#include "platform/Allocation.h"

namespace trevik {

HRESULT CZuTrevikHelper::getFrames(IDispatch* pHtmlDoc, VARIANT* pVal)
{
    return CollectFrameDocuments(pHtmlDoc, pVal);
}

const InterfaceEntry* CZuTrevikHelper::GetEntries()
{
    using Object = CComObject<CZuTrevikHelper>;
    static const InterfaceEntry entries[] = {
        {&IID_IZuTrevikHelper, InterfaceOffset<IZuTrevikHelper, Object>(), kInterfaceAtOffset},
        {&__uuidof(IDispatch), InterfaceOffset<IZuTrevikHelper, Object>(), kInterfaceAtOffset},
        {nullptr, 0, kEndOfTable},
    };
    return entries;
}

const CategoryMapEntry* CZuTrevikHelper::GetCategoryMap()
{
    return nullptr;
}

void CZuTrevikHelper::ObjectMain(bool)
{
}

HRESULT CreateHelperObject(void*, REFIID iid, void** out) noexcept
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    std::unique_ptr<CComObject<CZuTrevikHelper>> object(NewObject<CComObject<CZuTrevikHelper>>());
    if (!object)
        return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(iid, out);
    if (hr == S_OK)
        object.release();
    return hr;
}

}  // namespace trevik
