// Where the built trevik.dll is, as a Windows path. CTest passes its Unix
// path in TREVIK_DLL; Wine shows the Unix root as drive Z:.
#pragma once
#include <string>

namespace testsupport {

std::wstring BuiltDllPath();

}  // namespace testsupport
