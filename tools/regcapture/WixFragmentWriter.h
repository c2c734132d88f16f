// An installer fragment of registry elements: one component group whose
// components, one per root key, write the captured keys and values. The
// fragment uses the version 4 schema of the installer toolset.
#pragma once
#include <string>

#include "CapturedRegistry.h"
#include "InstallFolder.h"

namespace regcapture {

// The component group the fragment defines, for the deployer's reference.
constexpr wchar_t kComponentGroupId[] = L"TrevikRegistration";

// Fills `text`, or names in `problem` a value the fragment cannot carry and
// returns false. The install folder is written as given, so it may be a
// folder reference such as "[INSTALLFOLDER]"; everything else is escaped.
bool WixFragmentText(const CapturedRegistry& captured, const InstallFolder& installFolder, std::wstring& text,
                     std::wstring& problem);

}  // namespace regcapture
