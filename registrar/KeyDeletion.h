// Deleting registry keys for the script walks, without ever reaching
// through a registry link.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/KeyHandle.h"

namespace trevik {

// A value as it was read: its name ("" for the default value), type and bytes.
struct SavedValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// A key of a deleted tree, with its path below the tree's top ("" for the
// top itself). A link keeps its target in its one value.
struct SavedKey {
    std::wstring path;
    bool isLink = false;
    std::vector<SavedValue> values;
};

// A deleted tree, parents before their subkeys.
using SavedTree = std::vector<SavedKey>;

// Deletes `parent`'s subkey `name` with everything under it, deepest keys
// first, keeping the open levels on the heap, so any depth ends in a code.
// A link met on the way, `name` itself included, is deleted as a link: its
// target and what lies below the target stay untouched. When `saved` is
// given, every key and link is read into it before it is deleted.
// 0 when the tree is gone; ERROR_FILE_NOT_FOUND when `name` is absent;
// otherwise the first failing code, with the key that failed and the keys
// above it left in place.
LONG DeleteKeyTree(HKEY parent, LPCWSTR name, SavedTree* saved = nullptr);

// Reads every value of `key` into `values`; the Win32 code.
LONG ReadValues(HKEY key, std::vector<SavedValue>& values);

// True when the key's subkey count can be read and is above 0.
bool KeyHasSubkeys(HKEY key);

// Names that "ForceRemove" and "Delete" never delete, compared ignoring case.
bool IsProtectedKeyName(LPCWSTR name);

}  // namespace trevik
