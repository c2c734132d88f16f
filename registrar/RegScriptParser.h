// The lexer of registry scripts: the parser state of one script run and the
// character-level operations that the expansion pass and the walks share.
#pragma once
#include <windows.h>


namespace trevik {

// Token arrays, in UTF-16 units: a token holds at most kTokenUnits - 2.
constexpr int kTokenUnits = 4096;

class CReplacementMap;

// Every token is read into an array of this many UTF-16 units.
using Token = wchar_t[kTokenUnits];

class CRegScriptParser {
public:
    // `replacements` is the map that the expansion pass reads; it must
    // outlive the parser. With `perUserClasses` the expansion pass moves
    // each top-level "HKCR" block under HKCU\Software\Classes.
    explicit CRegScriptParser(const CReplacementMap& replacements, bool perUserClasses = false)
        : replacements_(replacements), perUserClasses_(perUserClasses)
    {
    }
    CRegScriptParser(const CRegScriptParser&) = delete;
    CRegScriptParser& operator=(const CRegScriptParser&) = delete;

    // Skips blanks and reads the next token into `destination`: an unquoted
    // run of non-blanks, or the text between two quotes with each doubled
    // quote read as one. DISP_E_EXCEPTION at the end of the text, for a quote
    // that is never closed and for a token over kTokenUnits - 2 units.
    HRESULT ReadToken(Token& destination);

    // Moves past TAB, LF, CR and space.
    void SkipBlanks();

    // When `token` begins with "=", reads the type letter and the value
    // after it and then the token that follows into `token`; otherwise reads
    // nothing. S_OK or the first failure of ReadToken.
    HRESULT SkipAssignedValue(Token& token);

    // True when the unit at `position` is a quote and the next character is not.
    static bool IsClosingQuote(LPCWSTR position);

    // The first occurrence of `character` in `text`; null when there is none
    // or `text` is null.
    static LPCWSTR FindChar(LPCWSTR text, wchar_t character);

    LPCWSTR Position() const { return position_; }
    void SetPosition(LPCWSTR position) { position_ = position; }
    const CReplacementMap& Replacements() const { return replacements_; }
    bool PerUserClasses() const { return perUserClasses_; }

private:
    HRESULT ReadUnquoted(Token& destination);
    HRESULT ReadQuoted(Token& destination);

    LPCWSTR position_ = nullptr;
    const CReplacementMap& replacements_;
    const bool perUserClasses_;
};

}  // namespace trevik
