// The exports of trevik.DLL.
#include <windows.h>

extern "C" HRESULT __stdcall DllCanUnloadNow()
{
    return E_NOTIMPL;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID, REFIID, void** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

extern "C" HRESULT __stdcall DllRegisterServer()
{
    return E_NOTIMPL;
}

extern "C" HRESULT __stdcall DllUnregisterServer()
{
    return E_NOTIMPL;
}

extern "C" HRESULT __stdcall DllInstall(BOOL, LPCWSTR)
{
    return E_NOTIMPL;
}
