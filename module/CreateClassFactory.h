// The class-object creator of the object map: a cached class factory over
// the instance creator it is given.
#pragma once
#include <unknwn.h>

namespace trevik {

// `instanceCreator` is the entry's CreatorFunction. On success *out holds the
// only reference and no module lock is taken.
//   E_POINTER      `out` is null
//   E_OUTOFMEMORY  no memory for the object or its critical section
//   E_NOINTERFACE  the factory does not answer `iid`; nothing is left behind
HRESULT CreateClassFactory(void* instanceCreator, REFIID iid, void** out) noexcept;

}  // namespace trevik
