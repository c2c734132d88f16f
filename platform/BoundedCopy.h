// Copies into a destination of known size; never writes past it.
#pragma once
#include <windows.h>

#include <cstddef>

namespace trevik {

// Copies at most `count` units of `source` into `destination`, which holds
// `capacity` units, and terminates it with NUL. What does not fit is cut.
// Returns false when the copy was cut (or `capacity` is 0: nothing written).
inline bool BoundedCopy(wchar_t* destination, size_t capacity, const wchar_t* source, size_t count)
{
    if (capacity == 0)
        return false;
    size_t copied = count < capacity ? count : capacity - 1;
    for (size_t i = 0; i < copied; ++i)
        destination[i] = source[i];
    destination[copied] = L'\0';
    return copied == count;
}

}  // namespace trevik
