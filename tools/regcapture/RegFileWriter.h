// The registry editor's import format: "Windows Registry Editor Version 5.00",
// a block per key, CRLF line ends; the file is stored as UTF-16.
#pragma once
#include <string>

#include "CapturedRegistry.h"
#include "InstallFolder.h"

namespace regcapture {

std::wstring RegFileText(const CapturedRegistry& captured, const InstallFolder& installFolder);

}  // namespace regcapture
