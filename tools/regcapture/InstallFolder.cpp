#include "InstallFolder.h"

#include <cwchar>

namespace regcapture {
namespace {

bool SameIgnoringCase(const wchar_t* left, const wchar_t* right, size_t units)
{
    return CompareStringOrdinal(left, static_cast<int>(units), right, static_cast<int>(units), TRUE) == CSTR_EQUAL;
}

}  // namespace

InstallFolder::InstallFolder(const std::wstring& libraryPath, std::wstring folder)
    : libraryFolder_(libraryPath.substr(0, libraryPath.find_last_of(L'\\'))), folder_(std::move(folder))
{
}

std::optional<std::wstring> InstallFolder::PathAfterFolder(const std::wstring& text, const wchar_t* separatorEnds) const
{
    size_t length = libraryFolder_.size();
    if (folder_.empty() || text.size() < length || !SameIgnoringCase(text.c_str(), libraryFolder_.c_str(), length))
        return std::nullopt;
    std::wstring rest = text.substr(length);
    if (!rest.empty() && rest[0] != L'\\')
        return std::nullopt;
    if (!rest.empty() && std::wcschr(separatorEnds, folder_.back()))
        rest.erase(0, 1);
    return rest;
}

}  // namespace regcapture
