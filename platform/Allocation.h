// Heap allocation for the places where running out of memory is reported as
// E_OUTOFMEMORY: the allocator's out-of-memory exception is caught where it
// happens and becomes a null pointer, so it never leaves the call.
#pragma once
#include <cstddef>
#include <new>
#include <utility>

#include "platform/FaultInjection.h"

namespace trevik {

// A new T, or null when memory runs out.
template <class T, class... Args>
T* NewObject(Args&&... args) noexcept
{
    try {
        if (ShouldInjectFault(Fault::ObjectAllocation))
            throw std::bad_alloc();
        return new T(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// `count` value-initialised Ts (free with delete[]), or null when memory runs out.
template <class T>
T* NewArray(std::size_t count) noexcept
{
    try {
        if (ShouldInjectFault(Fault::ObjectAllocation))
            throw std::bad_alloc();
        return new T[count]();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace trevik
