// The entry points of trevik.DLL.
#include <windows.h>

#include "module/ModuleRecords.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    return trevik::trevikModule.DllMain(reason);
}

extern "C" HRESULT __stdcall DllCanUnloadNow()
{
    return trevik::trevikModule.DllCanUnloadNow();
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return trevik::trevikModule.DllGetClassObject(clsid, iid, out);
}

extern "C" HRESULT __stdcall DllRegisterServer()
{
    return trevik::trevikModule.DllRegisterServer();
}

extern "C" HRESULT __stdcall DllUnregisterServer()
{
    return trevik::trevikModule.DllUnregisterServer();
}

extern "C" HRESULT __stdcall DllInstall(BOOL install, LPCWSTR commandLine)
{
    return trevik::trevikModule.DllInstall(install, commandLine);
}
