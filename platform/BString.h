// Owns an Automation string (BSTR) and frees it on every path.
#pragma once
#include <oleauto.h>

#include <utility>

namespace trevik {

class BString {
public:
    BString() noexcept = default;
    explicit BString(BSTR text) noexcept : text_(text) {}
    BString(const BString&) = delete;
    BString& operator=(const BString&) = delete;
    BString(BString&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    BString& operator=(BString&& other) noexcept
    {
        std::swap(text_, other.text_);
        return *this;
    }
    ~BString() { SysFreeString(text_); }

    // Frees what is held and returns the slot for an out parameter.
    BSTR* Receive() noexcept
    {
        SysFreeString(std::exchange(text_, nullptr));
        return &text_;
    }

    BSTR Get() const noexcept { return text_; }
    UINT Length() const noexcept { return SysStringLen(text_); }

private:
    BSTR text_ = nullptr;
};

}  // namespace trevik
