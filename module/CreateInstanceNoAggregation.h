// The instance creator of the object map's one class.
#pragma once
#include <unknwn.h>

namespace trevik {

// With no outer object: CreateHelperObject's result for (iid, out).
// With one: E_POINTER for a null `out`, else CLASS_E_NOAGGREGATION, *out null.
HRESULT CreateInstanceNoAggregation(void* outer, REFIID iid, void** out) noexcept;

}  // namespace trevik
