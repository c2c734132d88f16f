// Owns an Automation string and frees it on every path.
#pragma once
#include <oleauto.h>

#include <utility>

namespace trevik {

class UniqueBstr {
public:
    UniqueBstr() noexcept = default;
    explicit UniqueBstr(BSTR text) noexcept : text_(text) {}
    UniqueBstr(UniqueBstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept
    {
        std::swap(text_, other.text_);
        return *this;
    }
    ~UniqueBstr() { SysFreeString(text_); }

    BSTR Get() const noexcept { return text_; }
    BSTR Release() noexcept { return std::exchange(text_, nullptr); }
    // Frees what is held and returns the slot for an out parameter.
    BSTR* Receive() noexcept
    {
        SysFreeString(std::exchange(text_, nullptr));
        return &text_;
    }

private:
    BSTR text_ = nullptr;
};

}  // namespace trevik
