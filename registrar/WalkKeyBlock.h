// The recursive walk over one block of a registry script, in register or in
// unregister mode.
#pragma once
#include <windows.h>

#include "registrar/RegScriptParser.h"
#include "registrar/RunScript.h"
#include "registrar/UndoJournal.h"

namespace trevik {

// The block walks are entered with the position just after a block's "{"
// and return with `token` holding the block's "}". `depth` counts the blocks
// open around this one, the root block being 1; a block deeper than
// kMaxBlockDepth is DISP_E_EXCEPTION.

// The key a register-mode block belongs to, with its place in the registry
// and the journal that records what the walk changes. A block that follows a
// value entry where the level opened no key belongs to no key.
struct RegisterParent {
    HKEY key;
    const KeyPlace& place;
    bool createdByRun;
    CUndoJournal& journal;
};

// Opens or creates every key the block names and writes every value,
// recording each change in the parent's journal.
HRESULT RegisterKeyBlock(CRegScriptParser& parser, Token& token, const RegisterParent& parent, int depth);

// Removes what the block names. `recovery`: the block of a key that could
// not be opened, and a block that follows a value entry, are read without
// registry calls.
HRESULT UnregisterKeyBlock(CRegScriptParser& parser, Token& token, HKEY parent, bool recovery, int depth);

// The keywords of an entry, compared ignoring case.
constexpr wchar_t kDeleteKeyword[] = L"Delete";
constexpr wchar_t kForceRemoveKeyword[] = L"ForceRemove";
constexpr wchar_t kNoRemoveKeyword[] = L"NoRemove";
constexpr wchar_t kValueKeyword[] = L"Val";

bool IsBlockOpening(LPCWSTR token);

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

// When `token` is the single unit "{", walks the block that it opens, one
// level deeper than `depth`, with `walk`(depth of the nested block), and reads
// the token after the block's "}"; otherwise does nothing.
template <class Walk>
HRESULT WalkNestedBlock(CRegScriptParser& parser, Token& token, int depth, Walk walk)
{
    if (!IsBlockOpening(token))
        return S_OK;
    // Each level keeps a key and a name on the stack; the limit keeps a
    // script from exhausting the host's stack.
    if (depth >= kMaxBlockDepth)
        return DISP_E_EXCEPTION;
    HRESULT hr = walk(depth + 1);
    if (FAILED(hr))
        return hr;
    return parser.ReadToken(token);
}

// After "Val": reads the value name into `valueName`, then into `token` the
// "=" that must follow it (DISP_E_EXCEPTION when it does not).
HRESULT ReadValueEntryName(CRegScriptParser& parser, Token& valueName, Token& token);

// Token tests shared by both branches.
bool IsKeyword(LPCWSTR token, LPCWSTR keyword);
// A key name names exactly one level: no backslash, and not empty (an empty
// name would open, and so delete, the parent key itself).
bool IsOneKeyLevel(LPCWSTR token);

}  // namespace trevik
