#include "dll/LoadedLibrary.h"

namespace dlltest {

LoadedLibrary::LoadedLibrary(const std::wstring& path) : module_(LoadLibraryW(path.c_str()))
{
    if (!module_)
        return;
    getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    canUnloadNow_ = reinterpret_cast<CanUnloadNowFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
}

LoadedLibrary::~LoadedLibrary()
{
    if (module_)
        FreeLibrary(module_);
}

HRESULT LoadedLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const
{
    return getClassObject_(clsid, iid, out);
}

HRESULT LoadedLibrary::CanUnloadNow() const
{
    return canUnloadNow_();
}

}  // namespace dlltest
