// Writes a whole output file or none of it.
#pragma once
#include <windows.h>

#include <string>

namespace regcapture {

enum class Encoding { Utf16WithBom, Utf8 };

// Writes `text` to `path` in `encoding`, replacing an earlier file; a failed
// write removes what it began. Returns a system error code.
DWORD WriteOutputFile(const std::wstring& path, const std::wstring& text, Encoding encoding);

}  // namespace regcapture
