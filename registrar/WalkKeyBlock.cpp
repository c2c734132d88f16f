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
