// Deleting one registry key that has no subkeys left.
#pragma once
#include <windows.h>

#include "platform/KeyHandle.h"

namespace trevik {

// RegDeleteKeyExW(parent, name, parent's view bits, 0) where Advapi32.dll
// exports it, else RegDeleteKeyW(parent, name); the Win32 code. The entry
// point is looked up once per process, without ever loading the module.
LONG RemoveSubkey(BorrowedKey parent, LPCWSTR name);

}  // namespace trevik
