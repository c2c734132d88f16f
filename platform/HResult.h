// Converting the platform's Win32 error codes to HRESULTs.
#pragma once
#include <windows.h>

namespace trevik {

// A code above 0 becomes 0x8007xxxx with its low 16 bits; 0 and negative
// values pass unchanged.
HRESULT HResultFromWin32(LONG code);

// The calling thread's last-error value, converted as above.
HRESULT HResultFromLastError();

}  // namespace trevik
