// The growing output of the expansion pass, in COM task memory.
#pragma once
#include <windows.h>
#include <objbase.h>

#include "platform/Owned.h"

namespace trevik {

// UTF-16 text that grows by doubling and stays NUL-terminated; the block is
// freed with the buffer unless it was handed over.
class CScriptTextBuffer {
public:
    CScriptTextBuffer() = default;
    CScriptTextBuffer(const CScriptTextBuffer&) = delete;
    CScriptTextBuffer& operator=(const CScriptTextBuffer&) = delete;

    // Obtains a block of `capacity` units (at least one) holding the empty text.
    bool Allocate(size_t capacity);

    // Appends `count` units; false on overflow or when memory runs out, the
    // text then stays as it was.
    bool AppendText(LPCWSTR units, int count);

    // Hands the block to the caller, who frees it with CoTaskMemFree.
    LPWSTR Detach();

private:
    bool Grow(int needed);

    int length_ = 0;
    int capacity_ = 0;
    TaskMemText data_;
};

}  // namespace trevik
