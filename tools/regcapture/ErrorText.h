// An error code as a message says it: "0x8007001D <the system's text>".
#pragma once
#include <windows.h>

#include <string>

namespace regcapture {

std::wstring ErrorText(DWORD code);

}  // namespace regcapture
