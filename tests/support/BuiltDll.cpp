#include "support/BuiltDll.h"

#include <cstdlib>
#include <stdexcept>

namespace testsupport {

std::wstring BuiltDllPath()
{
    const char* unixPath = std::getenv("TREVIK_DLL");
    if (!unixPath || unixPath[0] != '/')
        throw std::runtime_error("TREVIK_DLL must hold the absolute path of the built trevik.dll");
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += (*c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return path;
}

}  // namespace testsupport
