// The register-mode branch of the block walk: opens or creates every key the
// block names and writes every value, recording in the journal each key it
// creates, each value it overwrites and each tree it deletes.
#include "platform/HResult.h"
#include "platform/RegistryKey.h"
#include "registrar/WalkKeyBlock.h"
#include "registrar/WriteScriptValue.h"

namespace trevik {
namespace {

// Names that "ForceRemove" and "Delete" never delete.
const LPCWSTR kProtectedKeyNames[] = {
    L"AppID", L"CLSID", L"Component Categories", L"FileType", L"Interface", L"Hardware",
    L"Mime",  L"SAM",   L"SECURITY",             L"SYSTEM",   L"Software",  L"TypeLib",
};

// Compared ignoring case.
bool IsProtectedKeyName(LPCWSTR name)
{
    for (LPCWSTR protectedName : kProtectedKeyNames)
        if (lstrcmpiW(name, protectedName) == 0)
            return true;
    return false;
}

// One level of the walk: the block's parent key and the key of the level's
// last key entry, which the level owns.
class RegisterLevel {
public:
    RegisterLevel(CRegScriptParser& parser, Token& token, const RegisterParent& parent, int depth)
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
    // subkey's tree unless the name is protected; an absent key is no error,
    // any other failure is.
    HRESULT RemoveNamedKey()
    {
        HRESULT hr = parser_.ReadToken(token_);
        if (FAILED(hr))
            return hr;
        if (!IsOneKeyLevel(token_))
            return DISP_E_EXCEPTION;
        if (IsProtectedKeyName(token_))
            return S_OK;
        LONG code = parent_.journal.DeleteTree(parent_.key, token_, parent_.place.Child(token_));
        return code == ERROR_FILE_NOT_FOUND ? S_OK : HResultFromWin32(code);
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
        return WriteScriptValue(parser_, parent_.key, valueName, token_, Recorder(parent_.place, parent_.createdByRun));
    }

    // A key name, optionally followed by "=" and the key's default value.
    HRESULT KeyEntry()
    {
        if (!IsOneKeyLevel(token_))
            return DISP_E_EXCEPTION;
        currentPlace_ = parent_.place.Child(token_);
        LONG code = OpenOrCreateKey();
        if (code != ERROR_SUCCESS)
            return HResultFromWin32(code);
        HRESULT hr = parser_.ReadToken(token_);
        if (FAILED(hr))
            return hr;
        if (token_[0] == L'=')
            return WriteScriptValue(parser_, current_.Get(), nullptr, token_,
                                    Recorder(currentPlace_, currentCreatedByRun_));
        return S_OK;
    }

    // For reading and writing where allowed, for reading only where not,
    // created when absent.
    LONG OpenOrCreateKey()
    {
        currentCreatedByRun_ = false;
        if (current_.Open(parent_.key, token_, kKeyReadWrite) == ERROR_SUCCESS)
            return ERROR_SUCCESS;
        if (current_.Open(parent_.key, token_, kKeyRead) == ERROR_SUCCESS)
            return ERROR_SUCCESS;
        return parent_.journal.CreateKey(current_, parent_.key, token_, currentPlace_,
                                         &currentCreatedByRun_);
    }

    // The values of a key this run created go with the key; only the values
    // of keys that were there before are recorded.
    ValueRecorder Recorder(const KeyPlace& place, bool createdByRun) const
    {
        return {createdByRun ? nullptr : &parent_.journal, &place};
    }

    // A "{" after an entry opens the block of the level's current key.
    HRESULT NestedBlock()
    {
        return WalkNestedBlock(parser_, token_, depth_, [this](int depth) {
            RegisterParent block{current_.Get(), currentPlace_, currentCreatedByRun_, parent_.journal};
            return RegisterKeyBlock(parser_, token_, block, depth);
        });
    }

    CRegScriptParser& parser_;
    Token& token_;
    const RegisterParent& parent_;
    const int depth_;
    CKeyHandle current_;
    KeyPlace currentPlace_{nullptr, {}};
    bool currentCreatedByRun_ = false;
};

}  // namespace

HRESULT RegisterKeyBlock(CRegScriptParser& parser, Token& token, const RegisterParent& parent, int depth)
{
    return RegisterLevel(parser, token, parent, depth).Walk();
}

}  // namespace trevik
