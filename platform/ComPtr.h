// Owns one reference to a COM interface and releases it on every path.
#pragma once
#include <unknwn.h>

#include <utility>

namespace trevik {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* pointer) noexcept
    {
        ComPtr owner;
        owner.pointer_ = pointer;
        return owner;
    }
    // Adds a reference of its own to a borrowed pointer.
    static ComPtr Share(T* pointer) noexcept
    {
        if (pointer)
            pointer->AddRef();
        return Attach(pointer);
    }

    ComPtr(const ComPtr& other) noexcept : pointer_(other.pointer_)
    {
        if (pointer_)
            pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset() noexcept
    {
        if (T* old = std::exchange(pointer_, nullptr))
            old->Release();
    }
    // Hands the reference to the caller.
    T* Detach() noexcept { return std::exchange(pointer_, nullptr); }

    // Releases what is held and returns the slot for an out parameter.
    T** Receive() noexcept
    {
        Reset();
        return &pointer_;
    }
    void** ReceiveVoid() noexcept { return reinterpret_cast<void**>(Receive()); }

    // Queries `source` for this pointer's interface; S_OK or the query's code.
    template <class Source>
    HRESULT QueryFrom(Source* source, REFIID iid = __uuidof(T)) noexcept
    {
        return source->QueryInterface(iid, ReceiveVoid());
    }

    T* Get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

private:
    T* pointer_ = nullptr;
};

}  // namespace trevik
