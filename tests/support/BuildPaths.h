// Files of the build tree as the Windows programs under test see them: Wine
// shows the Unix root as drive Z:.
#pragma once
#include <string>

namespace testsupport {

// Z: and the Unix path with backslashes.
std::wstring WindowsPath(const char* unixPath);

// The built trevik.dll; CTest passes its Unix path in TREVIK_DLL.
std::wstring BuiltDllPath();

}  // namespace testsupport
