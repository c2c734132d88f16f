// The body of getFrames: the HTML documents of a page's embedded browser frames.
#pragma once
#include <oaidl.h>

namespace trevik {

// The embedded objects taken from one enumeration, and how many of them the
// first of its two batches asks for.
constexpr ULONG kMaxEmbeddedObjects = 1024;
constexpr ULONG kFirstEnumerationBatch = 32;

// Walks the objects embedded in `pageDocument` (at most kMaxEmbeddedObjects,
// from one enumeration step), keeps the web browsers whose document is an HTML
// document, and writes them packed from index 0 into a new one-dimensional
// array of VARIANTs in `result` (VT_ARRAY | VT_VARIANT). The array is as long
// as the enumeration step's count; the elements past the last document are
// VT_EMPTY. The caller owns the array.
//
//   E_POINTER      `result` is null; nothing happens.
//   E_INVALIDARG   `pageDocument` is null; `result` is not touched.
//   E_FAIL         `pageDocument` is no IOleContainer; `result` is not touched.
//   S_OK           the container yields no enumerator; `result` is not touched.
//   E_OUTOFMEMORY  the array cannot be created; `result` is not touched.
//   S_OK           the array was written.
//   the store's code when an element cannot be stored: the array is destroyed
//                  and `result` is left VT_EMPTY.
HRESULT CollectFrameDocuments(IDispatch* pageDocument, VARIANT* result);

}  // namespace trevik
