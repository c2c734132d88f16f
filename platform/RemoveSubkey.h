// Deleting one registry key that has no subkeys left.
#pragma once
#include <windows.h>

#include "platform/KeyHandle.h"

namespace trevik {

// Deletes `parent`'s subkey `name` itself: the levels above the last are
// followed as usual, but a link at the last level goes as a link and its
// target stays. The Win32 code; the key's absence is ERROR_FILE_NOT_FOUND.
LONG RemoveSubkey(HKEY parent, LPCWSTR name);

// Deletes the key `key`, opened as itself with DELETE access:
// RegDeleteKeyExW(key, "", 0, 0) where Advapi32.dll exports it, else
// RegDeleteKeyW(key, ""). The entry point is looked up once per process,
// without ever loading the module.
LONG RemoveOpenedKey(HKEY key);

}  // namespace trevik
