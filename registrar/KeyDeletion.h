// Deleting registry keys for the script walks.
#pragma once
#include <windows.h>

#include "platform/KeyHandle.h"

namespace trevik {

// Deletes `parent`'s subkey `name` with everything under it, deepest keys
// first. 0 when it is gone; otherwise the first failing code, with the key
// that failed and the keys above it left in place.
LONG DeleteKeyTree(BorrowedKey parent, LPCWSTR name);

// True when the key's subkey count can be read and is above 0.
bool KeyHasSubkeys(HKEY key);

// Names that "ForceRemove" and "Delete" never delete, compared ignoring case.
bool IsProtectedKeyName(LPCWSTR name);

}  // namespace trevik
