// Class-object lookup: the class object of a class in the object map,
// created on the first request and cached in the class's entry.
#pragma once
#include <unknwn.h>

namespace trevik {

class ComModuleRecord;

//   E_POINTER                  `out` is null; nothing else happens
//   E_INVALIDARG               `record` is null
//   E_UNEXPECTED               the record is not set up, or already terminated
//   CLASS_E_CLASSNOTAVAILABLE  no entry with a class-object creator has `clsid`
//   the creator's failure      creating the class object failed; nothing cached
//   the class object's QueryInterface result otherwise
// *out is null whenever the result is not S_OK.
HRESULT GetClassObjectFromMap(ComModuleRecord* record, REFCLSID clsid, REFIID iid, void** out) noexcept;

}  // namespace trevik
