#include "automation/CZuTrevikHelper.h"

#include "automation/CComObject.h"
#include "frames/CollectFrameDocuments.h"

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

}  // namespace trevik
