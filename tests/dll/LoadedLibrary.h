// A library of the build loaded into the test process for the length of a
// test, with its COM entry points.
#pragma once
#include <windows.h>

#include <string>

namespace dlltest {

class LoadedLibrary {
public:
    explicit LoadedLibrary(const std::wstring& path);
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
    HRESULT CanUnloadNow() const;

private:
    using GetClassObjectFunction = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFunction = HRESULT(__stdcall*)();

    HMODULE module_;
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
};

}  // namespace dlltest
