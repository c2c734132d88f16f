// Registry keys held by the engine.
#pragma once
#include <windows.h>

namespace trevik {

// Owns at most one open key and closes it on every path.
class CKeyHandle {
public:
    CKeyHandle() = default;
    CKeyHandle(const CKeyHandle&) = delete;
    CKeyHandle& operator=(const CKeyHandle&) = delete;
    CKeyHandle(CKeyHandle&& other) noexcept;
    CKeyHandle& operator=(CKeyHandle&& other) noexcept;
    ~CKeyHandle() { Close(); }

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

    // True when the held key, opened as itself with query access, is a
    // registry link.
    bool IsLink() const;

    // Closes the held key, if any; RegCloseKey's code.
    LONG Close();

    HKEY Get() const { return key_; }

private:
    LONG Replace(HKEY key);

    HKEY key_ = nullptr;
};

}  // namespace trevik
