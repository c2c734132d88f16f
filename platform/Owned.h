// One owner for every kind of handle: a handle and the function that
// releases it, given by a traits class, so that "released on every path" is
// a property of the type.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

namespace trevik {

// Traits: `Handle`, the empty value `kEmpty` and `Release(Handle)`. Traits
// whose release needs the handle's owner (the object that handed it out)
// carry that owner and are given to the constructor.
template <class Traits>
class Owned : private Traits {
public:
    using Handle = typename Traits::Handle;

    Owned() noexcept = default;
    explicit Owned(Handle handle) noexcept : handle_(handle) {}
    explicit Owned(const Traits& traits) noexcept : Traits(traits) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : Traits(other), handle_(other.ReleaseOwnership()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this == &other)
            return *this;
        Reset();
        static_cast<Traits&>(*this) = other;
        handle_ = other.ReleaseOwnership();
        return *this;
    }
    ~Owned() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    Handle operator->() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::kEmpty; }

    // Releases what is held and holds `handle` instead.
    void Reset(Handle handle = Traits::kEmpty) noexcept
    {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::kEmpty)
            this->Release(old);
    }
    // Hands the handle to the caller, who releases it.
    Handle ReleaseOwnership() noexcept { return std::exchange(handle_, Traits::kEmpty); }
    // Releases what is held and returns the slot for an out parameter.
    Handle* Receive() noexcept
    {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::kEmpty;
};

// The traits of a handle that one platform function releases.
template <class HandleType, auto ReleaseFunction>
struct ReleasedBy {
    using Handle = HandleType;
    static constexpr HandleType kEmpty = nullptr;
    static void Release(HandleType handle) noexcept { ReleaseFunction(handle); }
};

using KernelHandle = Owned<ReleasedBy<HANDLE, &CloseHandle>>;
using ModuleHandle = Owned<ReleasedBy<HMODULE, &FreeLibrary>>;
// Text from the COM task allocator.
using TaskMemText = Owned<ReleasedBy<LPWSTR, &CoTaskMemFree>>;
using SafeArrayHandle = Owned<ReleasedBy<SAFEARRAY*, &SafeArrayDestroy>>;
// A mutex this thread holds: released, not closed.
using HeldMutex = Owned<ReleasedBy<HANDLE, &ReleaseMutex>>;
using BStringTraits = ReleasedBy<BSTR, &SysFreeString>;

}  // namespace trevik
