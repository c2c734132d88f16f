// The module object of an in-process server library: what its entry points
// DllMain, DllCanUnloadNow, DllGetClassObject and the registration exports do.
#pragma once
#include "module/CAtlModuleT.h"
#include "module/GetClassObjectFromMap.h"
#include "module/LoadFailure.h"
#include "module/PerUserRegistration.h"
#include "registration/RegistrationSequences.h"

namespace trevik {

template <class T>
class CAtlDllModuleT : public CAtlModuleT<T> {
public:
    using CAtlModuleT<T>::CAtlModuleT;

    // Every call switches per-user registration on; only a process attach
    // after a record failed to set up is refused.
    BOOL DllMain(DWORD reason) noexcept
    {
        EnablePerUserRegistration();
        return reason == DLL_PROCESS_ATTACH && LoadFailed() ? FALSE : TRUE;
    }

    HRESULT DllCanUnloadNow() noexcept { return this->QueryLockCount() == 0 ? S_OK : S_FALSE; }

    HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept
    {
        return GetClassObjectFromMap(this->objectMap, clsid, iid, out);
    }

    HRESULT DllRegisterServer() { return RunRegistration(*this->objectMap, PerUserRegistration()); }
    HRESULT DllUnregisterServer() { return RunUnregistration(*this->objectMap, PerUserRegistration()); }
    // The command line "user" switches per-user registration on for good.
    HRESULT DllInstall(BOOL install, LPCWSTR commandLine)
    {
        if (commandLine && IsUserCommandLine(commandLine))
            EnablePerUserRegistration();
        return InstallServer(*this->objectMap, install, PerUserRegistration());
    }
};

}  // namespace trevik
