// The unregister-mode branch of the block walk: removes the values a block
// names and, deepest first, the keys it names that have no subkeys left,
// except keys marked "NoRemove". A named key is followed as usual on the way
// down, but deleting it deletes the key itself: where it is a link, the link
// goes and its target stays.
#include <cwchar>

#include "platform/FaultInjection.h"
#include "platform/HResult.h"
#include "platform/RegistryKey.h"
#include "registrar/WalkKeyBlock.h"

namespace trevik {
namespace {

// The longest key name a walk remembers, in UTF-16 units with the NUL.
constexpr size_t kRememberedNameUnits = MAX_PATH;

// A key entry's name, kept while the entry's block is walked. A name that
// does not fit is never shortened: the key it names is kept instead.
class RememberedKeyName {
public:
    explicit RememberedKeyName(LPCWSTR name) : fits_(std::wcslen(name) < kRememberedNameUnits)
    {
        if (fits_)
            std::wcscpy(name_, name);
    }
    bool Fits() const { return fits_; }
    LPCWSTR Get() const { return name_; }

private:
    wchar_t name_[kRememberedNameUnits] = {};
    bool fits_;
};

HRESULT DeleteNamedValue(HKEY parent, LPCWSTR name)
{
    CKeyHandle key;
    LONG code = key.Open(parent, nullptr, kKeyWrite);
    if (code != ERROR_SUCCESS)
        return HResultFromWin32(code);
    code = ShouldInjectFault(Fault::RegistryWrite) ? kInjectedRegistryFailure : RegDeleteValueW(key.Get(), name);
    if (code != ERROR_SUCCESS && code != ERROR_FILE_NOT_FOUND)
        return HResultFromWin32(code);
    return S_OK;
}

class UnregisterLevel {
public:
    UnregisterLevel(CRegScriptParser& parser, Token& token, HKEY parent, bool recovery, int depth)
        : parser_(parser), token_(token), parent_(parent), recovery_(recovery), depth_(depth)
    {
    }

    HRESULT Walk()
    {
        return WalkEntries(parser_, token_, [this] { return Entry(); });
    }

private:
    HRESULT Entry()
    {
        // "Delete" and "ForceRemove" act only when registering.
        if (IsKeyword(token_, kDeleteKeyword) || IsKeyword(token_, kForceRemoveKeyword)) {
            HRESULT hr = parser_.ReadToken(token_);
            if (FAILED(hr))
                return hr;
        }
        bool removable = true;
        if (IsKeyword(token_, kNoRemoveKeyword)) {
            removable = false;
            HRESULT hr = parser_.ReadToken(token_);
            if (FAILED(hr))
                return hr;
        }
        if (IsKeyword(token_, kValueKeyword))
            return ValueEntryAndBlock(removable && !recovery_);
        return KeyEntry(removable);
    }

    // Registering took a block after a value entry for the block of the
    // level's last key, which this walk no longer holds. It is read past
    // without touching the registry, so that the entries after it stay at
    // their level.
    HRESULT ValueEntryAndBlock(bool deleting)
    {
        HRESULT hr = ValueEntry(deleting);
        if (FAILED(hr))
            return hr;
        return NestedBlock(nullptr, true);
    }

    // "Val" name "=" type value: the parent's value is deleted; an absent
    // value is no error. Kept out of the recursive frames with its name array.
    [[gnu::noinline]] HRESULT ValueEntry(bool deleting)
    {
        Token valueName;
        HRESULT hr = ReadValueEntryName(parser_, valueName, token_);
        if (FAILED(hr))
            return hr;
        if (deleting) {
            hr = DeleteNamedValue(parent_, valueName);
            if (FAILED(hr))
                return hr;
        }
        return parser_.SkipAssignedValue(token_);
    }

    // A key's default value goes with the key; its block is walked first,
    // so that its emptied subkeys are gone before the key is looked at.
    HRESULT KeyEntry(bool removable)
    {
        if (!IsOneKeyLevel(token_))
            return DISP_E_EXCEPTION;
        CKeyHandle key;
        LONG opened = recovery_ ? ERROR_FILE_NOT_FOUND : key.Open(parent_, token_, kKeyRead);
        RememberedKeyName name(token_);

        HRESULT hr = parser_.ReadToken(token_);
        if (SUCCEEDED(hr))
            hr = parser_.SkipAssignedValue(token_);
        if (SUCCEEDED(hr))
            hr = NestedBlock(key.Get(), recovery_ || opened != ERROR_SUCCESS);
        if (FAILED(hr))
            return hr;

        if (opened == ERROR_FILE_NOT_FOUND)
            return S_OK;
        if (opened != ERROR_SUCCESS)
            return HResultFromWin32(opened);
        return RemoveIfEmpty(key, name, removable);
    }

    // A failure inside the block of an absent key stops the walk as well:
    // reading on from the middle of a broken block would apply its remaining
    // entries to the wrong level.
    HRESULT NestedBlock(HKEY key, bool recovery)
    {
        return WalkNestedBlock(parser_, token_, depth_, [this, key, recovery](int depth) {
            return UnregisterKeyBlock(parser_, token_, key, recovery, depth);
        });
    }

    HRESULT RemoveIfEmpty(CKeyHandle& key, const RememberedKeyName& name, bool removable)
    {
        bool hasSubkeys = KeyHasSubkeys(key.Get());
        LONG code = key.Close();
        if (code != ERROR_SUCCESS)
            return HResultFromWin32(code);
        if (!removable || hasSubkeys || !name.Fits())
            return S_OK;
        return HResultFromWin32(RemoveSubkey(parent_, name.Get()));
    }

    CRegScriptParser& parser_;
    Token& token_;
    const HKEY parent_;
    const bool recovery_;
    const int depth_;
};

}  // namespace

HRESULT UnregisterKeyBlock(CRegScriptParser& parser, Token& token, HKEY parent, bool recovery, int depth)
{
    return UnregisterLevel(parser, token, parent, recovery, depth).Walk();
}

}  // namespace trevik
