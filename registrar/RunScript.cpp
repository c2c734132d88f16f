#include "registrar/RunScript.h"

#include <new>

#include "platform/Owned.h"
#include "registrar/ExpandScript.h"
#include "registrar/WalkKeyBlock.h"

namespace trevik {
namespace {

const struct {
    LPCWSTR name;
    HKEY key;
} kRootKeyTable[] = {
    {L"HKCR", HKEY_CLASSES_ROOT},
    {L"HKCU", HKEY_CURRENT_USER},
    {L"HKLM", HKEY_LOCAL_MACHINE},
    {L"HKU", HKEY_USERS},
    {L"HKPD", HKEY_PERFORMANCE_DATA},
    {L"HKDD", HKEY_DYN_DATA},
    {L"HKCC", HKEY_CURRENT_CONFIG},
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

constexpr int kRootDepth = 1;

// The root key name and the "{" after it.
HRESULT ReadRootKey(CRegScriptParser& parser, Token& token, HKEY* root)
{
    HRESULT hr = parser.ReadToken(token);
    if (FAILED(hr))
        return hr;
    *root = RootKeyFromName(token);
    if (!*root)
        return DISP_E_EXCEPTION;
    hr = parser.ReadToken(token);
    if (FAILED(hr))
        return hr;
    return token[0] == L'{' ? S_OK : DISP_E_EXCEPTION;
}

// A root block that fails to register is taken back to where it began;
// earlier root blocks stay registered.
HRESULT RegisterRootBlock(CRegScriptParser& parser, Token& token, HKEY root, CUndoJournal& journal)
{
    size_t blockStart = journal.Mark();
    HRESULT hr;
    try {
        const KeyPlace rootPlace{root, {}};
        hr = RegisterKeyBlock(parser, token, {root, rootPlace, false, journal}, kRootDepth);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr))
        journal.RollBackTo(blockStart);
    return hr;
}

HRESULT WalkRootBlocks(CRegScriptParser& parser, bool registering, CUndoJournal& journal)
{
    Token token;
    do {
        HKEY root = nullptr;
        HRESULT hr = ReadRootKey(parser, token, &root);
        if (FAILED(hr))
            return hr;
        hr = registering ? RegisterRootBlock(parser, token, root, journal)
                         : UnregisterKeyBlock(parser, token, root, false, kRootDepth);
        if (FAILED(hr))
            return hr;
        parser.SkipBlanks();
    } while (*parser.Position() != L'\0');
    return S_OK;
}

}  // namespace

HKEY RootKeyFromName(LPCWSTR name)
{
    for (const auto& entry : kRootKeyTable)
        if (lstrcmpiW(name, entry.name) == 0)
            return entry.key;
    return nullptr;
}

HRESULT RunScript(CRegScriptParser& parser, LPCWSTR script, bool registering, CUndoJournal* journal)
{
    LPWSTR expandedText = nullptr;
    HRESULT hr = ExpandScript(parser, script, &expandedText);
    if (FAILED(hr))
        return hr;
    TaskMemText expanded(expandedText);
    parser.SetPosition(expanded.Get());
    if (*expanded.Get() == L'\0')
        return S_OK;
    if (journal)
        return WalkRootBlocks(parser, registering, *journal);
    CUndoJournal ownJournal;
    return WalkRootBlocks(parser, registering, ownJournal);
}

}  // namespace trevik
