// The array calls of the frame walk, with their failure seams.
#pragma once
#include <oaidl.h>

namespace trevik {

// A one-dimensional array of `count` VARIANTs with lower bound 0, or null.
SAFEARRAY* CreateVariantArray(ULONG count);

// SafeArrayPutElement: the array stores a copy with a reference of its own.
HRESULT PutArrayElement(SAFEARRAY* array, LONG index, VARIANT* element);

}  // namespace trevik
