// call-export DLL EXPORT [install user|null]
// Loads DLL, calls one of its registration exports on this thread and prints
// the HRESULT as 0xXXXXXXXX. With "install" it calls DllInstall(TRUE or FALSE
// per the next argument "1"/"0", command line per the last argument, "-" for
// none). Exits 0 when the call was made, 2 when it could not be.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

using PlainExport = HRESULT(__stdcall*)();
using InstallExport = HRESULT(__stdcall*)(BOOL, LPCWSTR);

int Usage()
{
    std::fwprintf(stderr, L"usage: call-export DLL DllRegisterServer|DllUnregisterServer|DllCanUnloadNow\n"
                          L"       call-export DLL DllInstall 1|0 COMMANDLINE|-\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return Usage();
    HMODULE module = LoadLibraryW(argv[1]);
    if (!module) {
        std::fwprintf(stderr, L"cannot load %ls: error %lu\n", argv[1], GetLastError());
        return 2;
    }
    char name[64];
    std::snprintf(name, sizeof(name), "%ls", argv[2]);
    FARPROC entry = GetProcAddress(module, name);
    if (!entry) {
        std::fwprintf(stderr, L"%ls has no export %ls\n", argv[1], argv[2]);
        return 2;
    }
    HRESULT hr;
    if (std::wcscmp(argv[2], L"DllInstall") == 0) {
        if (argc != 5)
            return Usage();
        LPCWSTR commandLine = std::wcscmp(argv[4], L"-") == 0 ? nullptr : argv[4];
        hr = reinterpret_cast<InstallExport>(reinterpret_cast<void*>(entry))(std::wcscmp(argv[3], L"1") == 0,
                                                                            commandLine);
    } else {
        hr = reinterpret_cast<PlainExport>(reinterpret_cast<void*>(entry))();
    }
    std::wprintf(L"0x%08lX\n", static_cast<unsigned long>(hr));
    return 0;
}
