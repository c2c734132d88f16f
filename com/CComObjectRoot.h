// The reference count at the root of every object of trevik, counted plainly
// for objects called on one thread and atomically for shared ones.
#pragma once
#include <windows.h>

#include "platform/CriticalSection.h"

namespace trevik {

// Reference count written into an object as it is destroyed, so that a
// reference taken and dropped during teardown cannot reach zero again.
constexpr LONG kDestroyedObjectRefCount = -(0x7FFFFFFF / 2);

// Threading models: the single-threaded one changes counts with plain
// increments, the multi-threaded one with interlocked ones.
struct CComSingleThreadModel {};
struct CComMultiThreadModel {};

class CComObjectRootBase {
public:
    LONG refCount = 0;

protected:
    // First step of every destruction.
    void MarkDestroyed() noexcept { refCount = kDestroyedObjectRefCount; }
};

template <class ThreadModel>
class CComObjectRootEx;

template <>
class CComObjectRootEx<CComSingleThreadModel> : public CComObjectRootBase {
public:
    ULONG InternalAddRef() noexcept { return static_cast<ULONG>(++refCount); }
    ULONG InternalRelease() noexcept { return static_cast<ULONG>(--refCount); }
};

// Objects shared between threads also carry a critical section of their own,
// set up when the object is created.
template <>
class CComObjectRootEx<CComMultiThreadModel> : public CComObjectRootBase {
public:
    ULONG InternalAddRef() noexcept { return static_cast<ULONG>(InterlockedIncrement(&refCount)); }
    ULONG InternalRelease() noexcept { return static_cast<ULONG>(InterlockedDecrement(&refCount)); }

    CriticalSection objectSection;
};

}  // namespace trevik
