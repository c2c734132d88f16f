// Applying a whole registry script to the registry.
#pragma once
#include <windows.h>

#include "registrar/RegScriptParser.h"
#include "registrar/UndoJournal.h"

namespace trevik {

// The deepest block nesting a walk accepts.
constexpr int kMaxBlockDepth = 256;

// The predefined root key that a root key name stands for ("HKCR",
// "HKEY_CLASSES_ROOT", ... compared ignoring case), or null.
HKEY RootKeyFromName(LPCWSTR name);

// Expands `script` (ExpandScript) and walks each of its root blocks in
// register or unregister mode. When registering, every change is recorded
// in `journal` (or in a journal of the run's own when null); a root block
// that fails is taken back to the registry as it was before the block, and
// its failure is returned; earlier root blocks stay registered and stay in
// the journal, for a caller that takes back more. Every syntax
// error, unknown root key name, missing "{" after it, key name that is empty
// or holds a backslash, and block nested deeper than kMaxBlockDepth is
// DISP_E_EXCEPTION; registry failures are their Win32 codes as HRESULTs.
HRESULT RunScript(CRegScriptParser& parser, LPCWSTR script, bool registering, CUndoJournal* journal = nullptr);

}  // namespace trevik
