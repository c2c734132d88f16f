// The registry calls that the script engine makes for a script, written out
// directly: the benchmarks' plain programs make them to measure the engine's
// own overhead against.
#pragma once
#include <windows.h>

#include <string>

#include "platform/RegistryKey.h"

namespace bench {

inline void SetString(HKEY key, const wchar_t* name, const std::wstring& text)
{
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A key entry when registering: open for reading and writing, else for
// reading, else create; then close the level's previous key.
inline HKEY OpenOrCreateLikeTheEngine(HKEY parent, const wchar_t* name, HKEY previous)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name, 0, trevik::kKeyReadWrite, &key) != ERROR_SUCCESS &&
        RegOpenKeyExW(parent, name, 0, trevik::kKeyRead, &key) != ERROR_SUCCESS)
        RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, trevik::kKeyReadWrite, nullptr, &key,
                        nullptr);
    if (previous)
        RegCloseKey(previous);
    return key;
}

// Deletes `parent`'s subkey `name` itself, never a link's target: opened as
// itself, deleted through that handle.
inline void DeleteKeyItselfLikeTheEngine(HKEY parent, const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name, REG_OPTION_OPEN_LINK, DELETE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteKeyExW(key, L"", 0, 0);
    RegCloseKey(key);
}

// A key entry when unregistering, around its block: open for reading; after
// the block, count subkeys, close, delete when it may go and has none. An
// absent key's block makes no registry calls.
template <class Block>
void RemoveLikeTheEngine(HKEY parent, const wchar_t* name, bool removable, Block block)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name, 0, trevik::kKeyRead, &key) != ERROR_SUCCESS)
        return;
    block(key);
    DWORD subkeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    if (removable && subkeys == 0)
        DeleteKeyItselfLikeTheEngine(parent, name);
}

// "val name = ..." when unregistering: the value goes through a writable
// handle of its key.
inline void DeleteValueLikeTheEngine(HKEY key, const wchar_t* name)
{
    HKEY writable = nullptr;
    if (RegOpenKeyExW(key, nullptr, 0, trevik::kKeyWrite, &writable) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(writable, name);
    RegCloseKey(writable);
}

}  // namespace bench
