#include "registrar/WalkKeyBlock.h"

#include "platform/Constants.h"

namespace trevik {

HRESULT WalkKeyBlock(CRegScriptParser& parser, Token& token, HKEY parent, bool registering, bool recovery, int depth)
{
    // Each level keeps a key and a name on the stack; the limit keeps a
    // script from exhausting the host's stack.
    if (depth > kMaxBlockDepth)
        return DISP_E_EXCEPTION;
    if (registering)
        return RegisterKeyBlock(parser, token, parent, depth);
    return UnregisterKeyBlock(parser, token, parent, recovery, depth);
}

HRESULT WalkNestedBlock(CRegScriptParser& parser, Token& token, HKEY key, bool registering, bool recovery, int depth)
{
    if (!IsBlockOpening(token))
        return S_OK;
    HRESULT hr = WalkKeyBlock(parser, token, key, registering, recovery, depth + 1);
    if (FAILED(hr))
        return hr;
    return parser.ReadToken(token);
}

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
