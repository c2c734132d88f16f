// The register-mode branch of WalkKeyBlock: opens or creates every key the
// block names and writes every value.
#include "platform/Constants.h"
#include "platform/HResult.h"
#include "platform/KeyHandle.h"
#include "registrar/KeyDeletion.h"
#include "registrar/WalkKeyBlock.h"
#include "registrar/WriteScriptValue.h"

namespace trevik {
namespace {

// One level of the walk: the block's parent key and the key of the level's
// last key entry, which the level owns.
class RegisterLevel {
public:
    RegisterLevel(CRegScriptParser& parser, Token& token, HKEY parent, int depth)
        : parser_(parser), token_(token), parent_(parent), depth_(depth)
    {
    }

    HRESULT Walk()
    {
        return WalkEntries(parser_, token_, [this] { return Entry(); });
    }

private:
    HRESULT Entry()
    {
        bool deleting = IsKeyword(token_, kDeleteKeyword);
        if (deleting || IsKeyword(token_, kForceRemoveKeyword)) {
            HRESULT hr = RemoveNamedKey();
            if (FAILED(hr))
                return hr;
            if (deleting)
                return SkipDeletedKeyAssignment();
        }
        // "NoRemove" matters only when unregistering.
        if (IsKeyword(token_, kNoRemoveKeyword)) {
            HRESULT hr = parser_.ReadToken(token_);
            if (FAILED(hr))
                return hr;
        }
        HRESULT hr = IsKeyword(token_, kValueKeyword) ? ValueEntry() : KeyEntry();
        if (FAILED(hr))
            return hr;
        return NestedBlock();
    }

    // Reads the name after "Delete" or "ForceRemove" and deletes that
    // subkey's tree unless the name is protected; an absent key is no error.
    HRESULT RemoveNamedKey()
    {
        HRESULT hr = parser_.ReadToken(token_);
        if (FAILED(hr))
            return hr;
        if (!IsOneKeyLevel(token_))
            return DISP_E_EXCEPTION;
        if (!IsProtectedKeyName(token_))
            DeleteKeyTree(BorrowedKey(parent_), token_);
        return S_OK;
    }

    // "Delete" creates nothing: an assignment after the name is read past.
    HRESULT SkipDeletedKeyAssignment()
    {
        HRESULT hr = parser_.ReadToken(token_);
        if (SUCCEEDED(hr))
            hr = parser_.SkipAssignedValue(token_);
        if (SUCCEEDED(hr))
            hr = NestedBlock();
        return hr;
    }

    // "Val" name "=" type value: a value of the parent key. Kept out of the
    // recursive frames with its name array.
    [[gnu::noinline]] HRESULT ValueEntry()
    {
        Token valueName;
        HRESULT hr = ReadValueEntryName(parser_, valueName, token_);
        if (FAILED(hr))
            return hr;
        return WriteScriptValue(parser_, parent_, valueName, token_);
    }

    // A key name, optionally followed by "=" and the key's default value.
    HRESULT KeyEntry()
    {
        if (!IsOneKeyLevel(token_))
            return DISP_E_EXCEPTION;
        LONG code = OpenOrCreateKey();
        if (code != ERROR_SUCCESS)
            return HResultFromWin32(code);
        HRESULT hr = parser_.ReadToken(token_);
        if (FAILED(hr))
            return hr;
        if (token_[0] == L'=')
            return WriteScriptValue(parser_, current_.Get(), nullptr, token_);
        return S_OK;
    }

    // For reading and writing where allowed, for reading only where not,
    // created when absent.
    LONG OpenOrCreateKey()
    {
        if (current_.Open(parent_, token_, kKeyReadWrite) == ERROR_SUCCESS)
            return ERROR_SUCCESS;
        if (current_.Open(parent_, token_, kKeyRead) == ERROR_SUCCESS)
            return ERROR_SUCCESS;
        return current_.Create(parent_, token_);
    }

    // A "{" after an entry opens the block of the level's current key.
    HRESULT NestedBlock()
    {
        return WalkNestedBlock(parser_, token_, current_.Get(), true, false, depth_);
    }

    CRegScriptParser& parser_;
    Token& token_;
    const HKEY parent_;
    const int depth_;
    CKeyHandle current_;
};

}  // namespace

HRESULT RegisterKeyBlock(CRegScriptParser& parser, Token& token, HKEY parent, int depth)
{
    return RegisterLevel(parser, token, parent, depth).Walk();
}

}  // namespace trevik
