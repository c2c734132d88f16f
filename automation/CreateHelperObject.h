// The instance creator of CZuTrevikHelper.
#pragma once
#include <unknwn.h>

namespace trevik {

// Creates a CComObject<CZuTrevikHelper>, which takes one module lock, and
// queries it for `iid`; the outer object is ignored (aggregation is refused
// before this is reached). On success *out holds the only reference.
//   E_POINTER      `out` is null
//   E_OUTOFMEMORY  no memory for the object; no lock is taken
//   E_NOINTERFACE  the object does not answer `iid`; it is destroyed again
HRESULT CreateHelperObject(void* outer, REFIID iid, void** out) noexcept;

}  // namespace trevik
