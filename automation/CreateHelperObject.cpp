#include "automation/CreateHelperObject.h"

#include <memory>

#include "automation/CComObject.h"
#include "automation/CZuTrevikHelper.h"
#include "platform/Allocation.h"

namespace trevik {

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
