#include "registrar/ExpandScript.h"

#include <cwchar>

#include "registrar/RegScriptParser.h"
#include "registrar/ReplacementMap.h"
#include "registrar/ScriptTextBuffer.h"

namespace trevik {
namespace {

constexpr wchar_t kClassesRoot[] = L"HKCR";
constexpr wchar_t kPerUserBlockOpening[] = L"HKCU\r\n{\tSoftware\r\n\t{\r\n\t\tClasses";
constexpr wchar_t kPerUserBlockClosing[] = L"\r\n\t}\r\n}\r\n";
constexpr int kClassesRootUnits = sizeof(kClassesRoot) / sizeof(kClassesRoot[0]) - 1;

template <size_t N>
bool AppendLiteral(CScriptTextBuffer& output, const wchar_t (&text)[N])
{
    return output.AppendText(text, N - 1);
}

size_t InitialCapacity(size_t textUnits)
{
    size_t doubled = textUnits * 2;
    return doubled < 100 ? kMinExpansionUnits : doubled;
}

// The expansion pass over one script: the parser's position walks the
// unexpanded text while the output grows.
class Expansion {
public:
    Expansion(CRegScriptParser& parser, CScriptTextBuffer& output)
        : parser_(parser), output_(output), perUser_(parser.PerUserClasses())
    {
    }

    HRESULT Run()
    {
        do {
            if (perUser_ && !TrackPerUserBlock())
                return E_OUTOFMEMORY;
            HRESULT hr = ExpandCharacter();
            if (FAILED(hr))
                return hr;
            Step();
        } while (*parser_.Position() != L'\0');
        return S_OK;
    }

private:
    LPCWSTR At() const { return parser_.Position(); }
    void Step() { parser_.SetPosition(CharNextW(At())); }

    // Rewrites a top-level "HKCR" and closes the rewritten block before its
    // own closing brace; braces between quotes do not count. False when the
    // output cannot grow.
    bool TrackPerUserBlock()
    {
        if (depth_ == 0 && std::wcsncmp(At(), kClassesRoot, kClassesRootUnits) == 0) {
            for (int i = 0; i < kClassesRootUnits; ++i)
                Step();
            if (!AppendLiteral(output_, kPerUserBlockOpening))
                return false;
            wrapped_ = true;
        }
        if (*At() == L'\'') {
            if (!inQuotes_) {
                inQuotes_ = true;
                return true;
            }
            if (!CRegScriptParser::IsClosingQuote(At())) {
                Step();
                return output_.AppendText(At(), 1);
            }
            inQuotes_ = false;
        }
        if (inQuotes_)
            return true;
        if (*At() == L'{') {
            ++depth_;
        } else if (*At() == L'}' && --depth_ == 0 && wrapped_) {
            wrapped_ = false;
            return AppendLiteral(output_, kPerUserBlockClosing);
        }
        return true;
    }

    // Copies the character at the position, or the replacement that begins there.
    HRESULT ExpandCharacter()
    {
        if (*At() != L'%')
            return Append(At(), CharNextW(At()));
        Step();
        if (*At() == L'%')
            return Append(At(), At() + 1);
        return ExpandReplacement();
    }

    HRESULT ExpandReplacement()
    {
        LPCWSTR closing = CRegScriptParser::FindChar(At(), L'%');
        if (!closing)
            return DISP_E_EXCEPTION;
        ptrdiff_t nameUnits = closing - At();
        if (nameUnits > kMaxReplacementNameUnits)
            return E_FAIL;
        wchar_t name[kMaxReplacementNameUnits + 1];
        std::wmemcpy(name, At(), nameUnits);
        name[nameUnits] = L'\0';
        LPCWSTR value = parser_.Replacements().Lookup(name);
        if (!value)
            return DISP_E_EXCEPTION;
        HRESULT hr = Append(value, value + std::wcslen(value));
        parser_.SetPosition(closing);
        return hr;
    }

    HRESULT Append(LPCWSTR from, LPCWSTR to)
    {
        return output_.AppendText(from, static_cast<int>(to - from)) ? S_OK : E_OUTOFMEMORY;
    }

    CRegScriptParser& parser_;
    CScriptTextBuffer& output_;
    const bool perUser_;
    int depth_ = 0;
    bool wrapped_ = false;
    bool inQuotes_ = false;
};

}  // namespace

HRESULT ExpandScript(CRegScriptParser& parser, LPCWSTR text, LPWSTR* expanded)
{
    if (!text || !expanded)
        return E_POINTER;
    *expanded = nullptr;

    CScriptTextBuffer output;
    if (!output.Allocate(InitialCapacity(std::wcslen(text))))
        return E_OUTOFMEMORY;
    parser.SetPosition(text);
    if (*text != L'\0') {
        HRESULT hr = Expansion(parser, output).Run();
        if (FAILED(hr))
            return hr;
    }
    *expanded = output.Detach();
    return S_OK;
}

}  // namespace trevik
