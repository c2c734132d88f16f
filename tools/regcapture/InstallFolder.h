// Where a deployer installs the library: paths into the folder the library
// was loaded from are written as paths into that folder instead.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace regcapture {

class InstallFolder {
public:
    // `libraryPath` is the loaded library's full path; an empty `folder`
    // keeps every path as it was captured.
    InstallFolder(const std::wstring& libraryPath, std::wstring folder);

    // For text that names the library's folder or a path inside it, the
    // part to write after Folder(): empty or a path starting with a
    // backslash. Nothing for any other text, or when no install folder was
    // named. When Folder() ends in one of `separatorEnds` (a backslash, or a
    // folder reference that expands with one) the part starts without one.
    std::optional<std::wstring> PathAfterFolder(const std::wstring& text, const wchar_t* separatorEnds) const;

    const std::wstring& Folder() const { return folder_; }

private:
    std::wstring libraryFolder_;
    std::wstring folder_;
};

}  // namespace regcapture
