// The command line of the capture tool:
//   trevik-regcapture [--user] [--wix] [--install-dir FOLDER] LIBRARY OUTPUT
#pragma once
#include <string>

namespace regcapture {

struct Options {
    std::wstring library;
    std::wstring output;
    std::wstring installFolder;  // empty: paths stay as captured
    bool perUser = false;        // DllInstall(TRUE, L"user") instead of DllRegisterServer
    bool wix = false;            // an installer fragment instead of a .reg file
};

constexpr wchar_t kUsage[] =
    L"usage: trevik-regcapture [--user] [--wix] [--install-dir FOLDER] LIBRARY OUTPUT\n"
    L"  Loads LIBRARY, runs its registration against a scratch copy of the registry\n"
    L"  and writes what it wrote to OUTPUT: a registry editor file (.reg), or with\n"
    L"  --wix an installer fragment of registry elements.\n"
    L"  --user         register through DllInstall(TRUE, \"user\")\n"
    L"  --install-dir  write paths into the library's folder as paths into FOLDER\n"
    L"                 (with --wix it may be a folder reference: [INSTALLFOLDER])\n";

// False when the command line is not a valid one.
bool ParseOptions(int argc, wchar_t** argv, Options& options);

}  // namespace regcapture
