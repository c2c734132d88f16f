#include "registrar/WalkKeyBlock.h"

namespace trevik {

HRESULT ReadValueEntryName(CRegScriptParser& parser, Token& valueName, Token& token)
{
    HRESULT hr = parser.ReadToken(valueName);
    if (SUCCEEDED(hr))
        hr = parser.ReadToken(token);
    if (FAILED(hr))
        return hr;
    return token[0] == L'=' ? S_OK : DISP_E_EXCEPTION;
}

bool IsKeyword(LPCWSTR token, LPCWSTR keyword)
{
    return lstrcmpiW(token, keyword) == 0;
}

bool IsBlockOpening(LPCWSTR token)
{
    return token[0] == L'{' && token[1] == L'\0';
}

bool IsOneKeyLevel(LPCWSTR token)
{
    return token[0] != L'\0' && CRegScriptParser::FindChar(token, L'\\') == nullptr;
}

}  // namespace trevik
