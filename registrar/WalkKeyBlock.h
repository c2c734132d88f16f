// The recursive walk over one block of a registry script, in register or in
// unregister mode.
#pragma once
#include <windows.h>

#include "registrar/RegScriptParser.h"

namespace trevik {

// Entered with the position just after a block's "{"; returns with `token`
// holding the block's "}". `parent` is the key the block belongs to (none
// for a block that follows a value entry where the level opened no key).
// `depth` counts the blocks open around this one, the root block being 1;
// a block deeper than kMaxBlockDepth is DISP_E_EXCEPTION. `recovery`
// applies to unregister mode only: the block of a key that could not be
// opened, and a block that follows a value entry, are read without registry
// calls.
HRESULT WalkKeyBlock(CRegScriptParser& parser, Token& token, HKEY parent, bool registering, bool recovery, int depth);

// The two branches of WalkKeyBlock.
HRESULT RegisterKeyBlock(CRegScriptParser& parser, Token& token, HKEY parent, int depth);
HRESULT UnregisterKeyBlock(CRegScriptParser& parser, Token& token, HKEY parent, bool recovery, int depth);

// The keywords of an entry, compared ignoring case.
constexpr wchar_t kDeleteKeyword[] = L"Delete";
constexpr wchar_t kForceRemoveKeyword[] = L"ForceRemove";
constexpr wchar_t kNoRemoveKeyword[] = L"NoRemove";
constexpr wchar_t kValueKeyword[] = L"Val";

// The body of a block: reads its first token into `token` and calls `entry`
// (which reads on past the entry) until the token begins with "}".
template <class Entry>
HRESULT WalkEntries(CRegScriptParser& parser, Token& token, Entry entry)
{
    HRESULT hr = parser.ReadToken(token);
    while (SUCCEEDED(hr) && token[0] != L'}')
        hr = entry();
    return hr;
}

// When `token` is the single unit "{", walks the block that it opens as a
// block of `key`, one level deeper than `depth`, and reads the token after
// the block's "}"; otherwise does nothing.
HRESULT WalkNestedBlock(CRegScriptParser& parser, Token& token, HKEY key, bool registering, bool recovery, int depth);

// After "Val": reads the value name into `valueName`, then into `token` the
// "=" that must follow it (DISP_E_EXCEPTION when it does not).
HRESULT ReadValueEntryName(CRegScriptParser& parser, Token& valueName, Token& token);

// Token tests shared by both branches.
bool IsKeyword(LPCWSTR token, LPCWSTR keyword);
bool IsBlockOpening(LPCWSTR token);
// A key name names exactly one level: no backslash, and not empty (an empty
// name would open, and so delete, the parent key itself).
bool IsOneKeyLevel(LPCWSTR token);

}  // namespace trevik
