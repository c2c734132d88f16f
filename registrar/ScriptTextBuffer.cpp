#include "registrar/ScriptTextBuffer.h"

#include <cwchar>

#include "platform/FaultInjection.h"

namespace trevik {

// The largest capacity in units that may still double, and the largest
// block in bytes asked of the task allocator.
constexpr int kMaxDoublableExpansionUnits = 0x3FFFFFFF;
constexpr size_t kMaxExpansionBlockBytes = 0xFFFFFFFF;

bool CScriptTextBuffer::Allocate(size_t capacity)
{
    if (capacity == 0 || capacity > kMaxExpansionBlockBytes / sizeof(wchar_t) ||
        ShouldInjectFault(Fault::ScriptTextMemory))
        return false;
    auto block = static_cast<LPWSTR>(CoTaskMemAlloc(capacity * sizeof(wchar_t)));
    if (!block)
        return false;
    data_.Reset(block);
    block[0] = L'\0';
    length_ = 0;
    capacity_ = static_cast<int>(capacity);
    return true;
}

bool CScriptTextBuffer::AppendText(LPCWSTR units, int count)
{
    int needed;
    if (__builtin_add_overflow(length_, count, &needed) || __builtin_add_overflow(needed, 1, &needed))
        return false;
    if (needed <= length_ || needed <= count)
        return false;
    if (needed >= capacity_ && !Grow(needed))
        return false;
    std::wmemcpy(data_.Get() + length_, units, count);
    length_ += count;
    data_.Get()[length_] = L'\0';
    return true;
}

bool CScriptTextBuffer::Grow(int needed)
{
    int capacity = capacity_;
    while (capacity <= needed) {
        if (capacity > kMaxDoublableExpansionUnits)
            return false;
        capacity *= 2;
    }
    if (ShouldInjectFault(Fault::ScriptTextMemory))
        return false;
    auto block = static_cast<LPWSTR>(CoTaskMemRealloc(data_.Get(), static_cast<size_t>(capacity) * sizeof(wchar_t)));
    if (!block)
        return false;
    // The old block is gone with the move.
    data_.ReleaseOwnership();
    data_.Reset(block);
    capacity_ = capacity;
    return true;
}

LPWSTR CScriptTextBuffer::Detach()
{
    length_ = 0;
    capacity_ = 0;
    return data_.ReleaseOwnership();
}

}  // namespace trevik
