// The path of a module's file, read the one way the library reads it.
#pragma once
#include <windows.h>

namespace trevik {

// The platform's classic path limit, in UTF-16 units with the NUL.
constexpr DWORD kMaxPathUnits = MAX_PATH;

// Writes the path of `module`'s file into `path`, which holds at least
// kMaxPathUnits units. S_OK; the platform's last error as an HRESULT when the
// path cannot be read; 0x8007007A (ERROR_INSUFFICIENT_BUFFER) when the path
// has kMaxPathUnits characters or more, which it never cuts.
HRESULT ReadModuleFileName(HMODULE module, wchar_t* path);

}  // namespace trevik
