// The expansion pass that runs before a registry script is parsed.
#pragma once
#include <windows.h>

namespace trevik {

// The longest replacement name, and the smallest output buffer of the
// expansion pass, in UTF-16 units.
constexpr int kMaxReplacementNameUnits = 31;
constexpr int kMinExpansionUnits = 1000;

class CRegScriptParser;

// Copies `text` into a new text from the COM task allocator, handed out
// through `expanded`: each "%name%" becomes the value that the parser's
// replacement map gives for the name, "%%" becomes "%", and when the parser
// runs per user each top-level "HKCR" block is moved under
// HKCU\Software\Classes.
//
//   E_POINTER          `text` or `expanded` is null
//   E_OUTOFMEMORY      the output cannot be obtained or grown
//   DISP_E_EXCEPTION   a "%" without a closing "%", or a name not in the map
//   E_FAIL             a name longer than kMaxReplacementNameUnits
// On failure `expanded` is null.
HRESULT ExpandScript(CRegScriptParser& parser, LPCWSTR text, LPWSTR* expanded);

}  // namespace trevik
