// The interface table of an object and the walk behind its QueryInterface.
#pragma once
#include <unknwn.h>

namespace trevik {

// One row of an interface table. A table ends with a row of kind kEndOfTable.
struct InterfaceEntry {
    const IID* iid;
    DWORD_PTR offset;  // from the start of the object to the interface pointer
    DWORD_PTR kind;
};

constexpr DWORD_PTR kEndOfTable = 0;
constexpr DWORD_PTR kInterfaceAtOffset = 1;

// Where `Interface` lies inside an `Object`, for the rows of its table.
template <class Interface, class Object>
DWORD_PTR InterfaceOffset() noexcept
{
    // Any suitably aligned nonzero address serves: nothing is read through it.
    constexpr DWORD_PTR kSomeObject = 0x1000;
    Object* object = reinterpret_cast<Object*>(kSomeObject);
    return reinterpret_cast<DWORD_PTR>(static_cast<Interface*>(object)) - kSomeObject;
}

// Answers `iid` from `table` for the object at `object`: IUnknown takes the
// first row without searching; otherwise the first row whose identifier
// equals `iid` in all 16 bytes. The pointer found gets one reference.
//   E_INVALIDARG   `object` or `table` is null
//   E_POINTER      `out` is null
//   E_NOINTERFACE  no row matches; *out is null
HRESULT FindInterface(void* object, const InterfaceEntry* table, REFIID iid, void** out);

}  // namespace trevik
