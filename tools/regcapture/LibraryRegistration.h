// The library to capture, loaded into this process, and its own registration
// entry point.
#pragma once
#include <windows.h>

#include <string>

#include "platform/Owned.h"

namespace regcapture {

class LibraryRegistration {
public:
    LibraryRegistration() = default;
    LibraryRegistration(const LibraryRegistration&) = delete;
    LibraryRegistration& operator=(const LibraryRegistration&) = delete;

    // Loads the library and finds DllRegisterServer, or with `perUser`
    // DllInstall; on failure `problem` says what went wrong.
    bool Load(const std::wstring& path, bool perUser, std::wstring& problem);
    // Runs the registration: DllRegisterServer(), or DllInstall(TRUE, L"user").
    HRESULT Register() const;
    // The full path the library was loaded from.
    std::wstring Path() const;

private:
    trevik::ModuleHandle module_;
    FARPROC entry_ = nullptr;
    bool perUser_ = false;
};

}  // namespace regcapture
