// The handle of the module (library or program) that this code is linked into.
#pragma once
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace trevik {

// Valid from the first static constructor on, before the loader's first call.
inline HMODULE ThisModule() noexcept
{
    return reinterpret_cast<HMODULE>(&__ImageBase);
}

}  // namespace trevik
