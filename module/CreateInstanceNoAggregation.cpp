#include "module/CreateInstanceNoAggregation.h"

#include "automation/CreateHelperObject.h"

namespace trevik {

HRESULT CreateInstanceNoAggregation(void* outer, REFIID iid, void** out) noexcept
{
    if (!outer)
        return CreateHelperObject(nullptr, iid, out);
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return CLASS_E_NOAGGREGATION;
}

}  // namespace trevik
