#include "LibraryRegistration.h"

#include <cstring>

#include "ErrorText.h"

namespace regcapture {
namespace {

using RegisterServer = HRESULT(__stdcall*)();
using Install = HRESULT(__stdcall*)(BOOL, LPCWSTR);

const wchar_t kUserCommandLine[] = L"user";

}  // namespace

bool LibraryRegistration::Load(const std::wstring& path, bool perUser, std::wstring& problem)
{
    module_.Reset(LoadLibraryW(path.c_str()));
    if (!module_) {
        DWORD code = GetLastError();
        problem = L"cannot load " + path + L": " + ErrorText(code);
        return false;
    }
    const char* name = perUser ? "DllInstall" : "DllRegisterServer";
    entry_ = GetProcAddress(module_.Get(), name);
    if (!entry_) {
        problem = path + L" has no entry point " + std::wstring(name, name + std::strlen(name));
        return false;
    }
    perUser_ = perUser;
    return true;
}

HRESULT LibraryRegistration::Register() const
{
    if (perUser_)
        return reinterpret_cast<Install>(reinterpret_cast<void*>(entry_))(TRUE, kUserCommandLine);
    return reinterpret_cast<RegisterServer>(reinterpret_cast<void*>(entry_))();
}

std::wstring LibraryRegistration::Path() const
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD units = GetModuleFileNameW(module_.Get(), &path[0], static_cast<DWORD>(path.size()));
        if (units < path.size()) {
            path.resize(units);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace regcapture
