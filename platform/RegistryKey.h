// Registry keys: the key holder, and deleting keys and trees without ever
// reaching through a registry link.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Owned.h"

namespace trevik {

// Registry access masks.
constexpr REGSAM kKeyRead = KEY_READ;
constexpr REGSAM kKeyWrite = KEY_WRITE;
constexpr REGSAM kKeyReadWrite = KEY_READ | KEY_WRITE;

// The value that holds a registry link's target.
constexpr wchar_t kLinkValueName[] = L"SymbolicLinkValue";

// Subkey names as RegEnumKeyExW returns them, in UTF-16 units with the NUL.
constexpr DWORD kKeyNameUnits = 256;

// Owns at most one open key and closes it on every path.
// Keys are opened, created and closed only through these operations, so
// that every replacement reports the closing code.
class CKeyHandle : private Owned<ReleasedBy<HKEY, &RegCloseKey>> {
public:
    CKeyHandle() = default;
    using Owned::Get;
    using Owned::operator bool;

    // Opens `parent`'s subkey `name` (null: the parent itself) with `access`. On success the new key replaces the held
    // one, whose closing code is returned; on failure the held key stays.
    LONG Open(HKEY parent, LPCWSTR name, REGSAM access);

    // As Open, but a link at the last level of `name` is opened as the link
    // itself, never as its target; the levels above it are followed.
    LONG OpenItself(HKEY parent, LPCWSTR name, REGSAM access);

    // Opens or creates `parent`'s subkey `name` for reading and writing,
    // non-volatile, with default security; replaces the held key as Open
    // does. `created`, when given, tells whether the key is new.
    LONG Create(HKEY parent, LPCWSTR name, bool* created = nullptr);

    // Creates `parent`'s subkey `name` as a registry link, with the access
    // that setting its target needs; replaces the held key as Open does.
    LONG CreateLink(HKEY parent, LPCWSTR name);

    // True when the held key, opened as itself with query access, is a
    // registry link.
    bool IsLink() const;

    // Closes the held key, if any; RegCloseKey's code.
    LONG Close();

private:
    LONG Replace(HKEY key);
};

// Deletes `parent`'s subkey `name` itself: the levels above the last are
// followed as usual, but a link at the last level goes as a link and its
// target stays. The Win32 code; the key's absence is ERROR_FILE_NOT_FOUND.
LONG RemoveSubkey(HKEY parent, LPCWSTR name);

// Deletes the key `key`, opened as itself with DELETE access:
// RegDeleteKeyExW(key, "", 0, 0) where Advapi32.dll exports it, else
// RegDeleteKeyW(key, ""). The entry point is looked up once per process,
// without ever loading the module.
LONG RemoveOpenedKey(HKEY key);

// `name` below the key path `path`; either may be empty.
std::wstring JoinKeyPath(const std::wstring& path, const std::wstring& name);

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

// True when `parent`'s subkey `name` exists and reports that it has no subkeys.
bool IsEmptyKey(HKEY parent, LPCWSTR name);

}  // namespace trevik
