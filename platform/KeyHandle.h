// Registry keys held by the engine: the owning holder and the borrowed view
// of a key owned elsewhere.
#pragma once
#include <windows.h>

namespace trevik {

// A key that belongs to someone else (a parent level, a predefined root),
// with the WOW64 view bits that subkeys opened through it receive.
struct BorrowedKey {
    BorrowedKey(HKEY key, REGSAM viewBits = 0) : key(key), viewBits(viewBits) {}
    HKEY key;
    REGSAM viewBits;
};

// Owns at most one open key and closes it on every path.
class CKeyHandle {
public:
    CKeyHandle() = default;
    CKeyHandle(const CKeyHandle&) = delete;
    CKeyHandle& operator=(const CKeyHandle&) = delete;
    CKeyHandle(CKeyHandle&& other) noexcept;
    CKeyHandle& operator=(CKeyHandle&& other) noexcept;
    ~CKeyHandle() { Close(); }

    // Opens `parent`'s subkey `name` (null: the parent itself) with `access`
    // plus the parent's view bits. On success the new key replaces the held
    // one, whose closing code is returned; on failure the held key stays.
    LONG Open(BorrowedKey parent, LPCWSTR name, REGSAM access);

    // As Open, but a link at the last level of `name` is opened as the link
    // itself, never as its target; the levels above it are followed.
    LONG OpenItself(BorrowedKey parent, LPCWSTR name, REGSAM access);

    // Opens or creates `parent`'s subkey `name` for reading and writing,
    // non-volatile, with default security; replaces the held key as Open
    // does. `created`, when given, tells whether the key is new.
    LONG Create(BorrowedKey parent, LPCWSTR name, bool* created = nullptr);

    // True when the held key, opened as itself with query access, is a
    // registry link.
    bool IsLink() const;

    // Closes the held key, if any; RegCloseKey's code.
    LONG Close();

    HKEY Get() const { return key_; }
    BorrowedKey Borrow() const { return BorrowedKey(key_, viewBits_); }

private:
    LONG Replace(HKEY key, REGSAM viewBits);

    HKEY key_ = nullptr;
    REGSAM viewBits_ = 0;
};

}  // namespace trevik
