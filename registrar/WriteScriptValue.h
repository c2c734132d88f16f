// Writing one value that a script assigns.
#pragma once
#include <windows.h>
#include <wtypes.h>

#include "registrar/RegScriptParser.h"
#include "registrar/UndoJournal.h"

namespace trevik {

// The kind of value that a type letter names ("S", "M", "D", "B", in any
// case) as an Automation type code; VT_EMPTY for any other token.
VARTYPE ValueTypeFromLetter(LPCWSTR letter);

// 0 to 15 for a hexadecimal digit in either case, 0 for any other unit.
BYTE HexDigitValue(wchar_t unit);

// Where a value write is recorded: the journal (null: the write is not
// recorded, as for a key the run created) and the place of the key.
struct ValueRecorder {
    CUndoJournal* journal;
    const KeyPlace* place;
};

// Entered when the current token is the "=": reads the type letter and the
// value text, writes the value `valueName` (null: the default value) of
// `key` after `recorder` has recorded its old content, then reads the token
// after the value into `token`.
//
//   DISP_E_EXCEPTION   a lexer failure, a letter outside the table, or a "D"
//                      text that is no unsigned 32-bit number (nothing written)
//   E_FAIL             a binary text with an odd number of digits (nothing
//                      written), or its area not obtained
//   E_OUTOFMEMORY      a multi-string area not obtained
//   the registry's code as an HRESULT when the old value cannot be read or
//   the write fails
HRESULT WriteScriptValue(CRegScriptParser& parser, HKEY key, LPCWSTR valueName, Token& token,
                         ValueRecorder recorder = {nullptr, nullptr});

}  // namespace trevik
