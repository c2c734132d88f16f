#include "registrar/RegScriptParser.h"

namespace trevik {
namespace {

constexpr wchar_t kQuote = L'\'';

bool IsBlank(wchar_t unit)
{
    return unit == L'\t' || unit == L'\n' || unit == L'\r' || unit == L' ';
}

// Copies the units of one character step into a token, keeping room for the
// terminating NUL.
class TokenWriter {
public:
    explicit TokenWriter(Token& destination) : destination_(destination) {}

    bool Append(LPCWSTR from, LPCWSTR to)
    {
        ptrdiff_t units = to - from;
        if (length_ + units + 1 >= kTokenUnits)
            return false;
        for (ptrdiff_t i = 0; i < units; ++i)
            destination_[length_++] = from[i];
        return true;
    }

    void Terminate() { destination_[length_] = L'\0'; }

private:
    Token& destination_;
    ptrdiff_t length_ = 0;
};

}  // namespace

HRESULT CRegScriptParser::ReadToken(Token& destination)
{
    SkipBlanks();
    if (*position_ == L'\0')
        return DISP_E_EXCEPTION;
    return *position_ == kQuote ? ReadQuoted(destination) : ReadUnquoted(destination);
}

HRESULT CRegScriptParser::ReadUnquoted(Token& destination)
{
    TokenWriter writer(destination);
    while (!IsBlank(*position_)) {
        LPCWSTR next = CharNextW(position_);
        if (!writer.Append(position_, next))
            return DISP_E_EXCEPTION;
        position_ = next;
        if (*position_ == L'\0')
            break;
    }
    writer.Terminate();
    return S_OK;
}

HRESULT CRegScriptParser::ReadQuoted(Token& destination)
{
    TokenWriter writer(destination);
    position_ = CharNextW(position_);
    while (*position_ != L'\0') {
        if (IsClosingQuote(position_))
            break;
        if (*position_ == kQuote)
            position_ = CharNextW(position_);
        LPCWSTR next = CharNextW(position_);
        if (!writer.Append(position_, next))
            return DISP_E_EXCEPTION;
        position_ = next;
    }
    if (*position_ == L'\0')
        return DISP_E_EXCEPTION;
    writer.Terminate();
    position_ = CharNextW(position_);
    return S_OK;
}

void CRegScriptParser::SkipBlanks()
{
    while (IsBlank(*position_))
        position_ = CharNextW(position_);
}

HRESULT CRegScriptParser::SkipAssignedValue(Token& token)
{
    if (token[0] != L'=')
        return S_OK;
    Token value;
    HRESULT hr = ReadToken(token);
    if (SUCCEEDED(hr))
        hr = ReadToken(value);
    if (SUCCEEDED(hr))
        hr = ReadToken(token);
    return hr;
}

bool CRegScriptParser::IsClosingQuote(LPCWSTR position)
{
    return *position == kQuote && *CharNextW(position) != kQuote;
}

LPCWSTR CRegScriptParser::FindChar(LPCWSTR text, wchar_t character)
{
    if (!text)
        return nullptr;
    for (; *text != L'\0'; text = CharNextW(text))
        if (*text == character)
            return text;
    return nullptr;
}

}  // namespace trevik
