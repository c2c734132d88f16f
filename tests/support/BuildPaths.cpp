#include "support/BuildPaths.h"

#include <cstdlib>
#include <stdexcept>

namespace testsupport {

std::wstring WindowsPath(const char* unixPath)
{
    if (!unixPath || unixPath[0] != '/')
        throw std::runtime_error("expected an absolute Unix path of the build tree");
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += (*c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return path;
}

std::wstring BuiltDllPath()
{
    return WindowsPath(std::getenv("TREVIK_DLL"));
}

}  // namespace testsupport
