// The module object: the module lock count, the termination callbacks, the
// static-data critical section and the cached global interface table, and
// what the library's entry points do with them; with the process-wide flags
// its entry points read: the load-failure flag and the per-user switch.
#pragma once
#include <objidl.h>

#include "Identifiers.h"
#include "com/ServingModule.h"
#include "module/ObjectMap.h"
#include "platform/CriticalSection.h"
#include "registrar/IRegistrarBase.h"
#include "registration/RegistrationSequences.h"

namespace trevik {

// Set by any load-time record whose critical section cannot be set up, never
// cleared; DllMain refuses the load while it is set.
bool LoadFailed() noexcept;
void SetLoadFailed() noexcept;

// Off when the library is mapped; switched on by DllMain at every call and
// by DllInstall("user"); never switched back. The registration exports hand
// it to the registration sequences: when on, registry scripts move their
// top-level HKCR blocks under HKEY_CURRENT_USER\Software\Classes and the
// type library is registered for the current user.
bool PerUserRegistration();
void EnablePerUserRegistration();

// One termination callback; the list is newest first.
struct TerminationNode {
    TerminationCallback callback;
    void* argument;
    TerminationNode* next;
};

// The module's plain record.
struct _ATL_MODULE70 {
    UINT sizeMarker = 0;  // nonzero while the static-data critical section is set up
    LONG lockCount = 0;   // changed only atomically
    TerminationNode* terminationList = nullptr;
    // Re-entrant: serialises one-time set-up of shared static data and every
    // addition to the termination list.
    CriticalSection staticDataSection;
};

class CAtlModule : public _ATL_MODULE70 {
public:
    // Becomes the global module; a static-data critical section that cannot be
    // set up sets the load-failure flag and leaves the record not set up.
    explicit CAtlModule(ComModuleRecord* objectMap) noexcept;
    // Runs termination.
    virtual ~CAtlModule();
    CAtlModule(const CAtlModule&) = delete;
    CAtlModule& operator=(const CAtlModule&) = delete;

    // Each returns the count after its change; no bound is enforced.
    virtual LONG LockModule() noexcept;
    virtual LONG UnlockModule() noexcept;
    virtual LONG QueryLockCount() noexcept;
    // Creates the table on first use and hands out a new reference.
    virtual HRESULT GetGlobalInterfaceTable(IGlobalInterfaceTable** out) noexcept;
    // Puts the replacements that every registry script receives.
    virtual HRESULT AddCommonReplacements(IRegistrarBase* registrar) = 0;

    // Stop notification to every object-map entry; then, once and only while
    // set up: the termination callbacks newest first, the release of the
    // global interface table and the static-data critical section.
    void Terminate() noexcept;

    // The identifier of the type library that the library carries.
    static GUID typeLibraryId;

protected:
    ComModuleRecord* objectMap;
    IGlobalInterfaceTable* globalInterfaceTable = nullptr;

private:
    void RunTerminationCallbacks() noexcept;
};

// The one module object; set by its construction, never cleared.
extern CAtlModule* globalModule;

// Adds a callback that the module's termination runs with `argument`.
//   E_INVALIDARG   `record` is null
//   E_UNEXPECTED   the record is not set up (its critical section cannot be entered)
//   E_OUTOFMEMORY  no memory for the list node
// Nothing is added on failure.
HRESULT AddTerminationCallback(_ATL_MODULE70* record, TerminationCallback callback, void* argument) noexcept;

// The module object of a particular library: names its type library
// (`T::libraryId`) and sends the start notification once it is set up.
template <class T>
class CAtlModuleT : public CAtlModule {
public:
    explicit CAtlModuleT(ComModuleRecord* objectMap) noexcept : CAtlModule(objectMap)
    {
        typeLibraryId = *T::libraryId;
        objectMap->NotifyEntries(true);
    }
};

// The replacements the module object gives every registry script;
// E_UNEXPECTED before there is one.
HRESULT PutModuleReplacements(IRegistrarBase* registrar);

// The module object of an in-process server library: what its entry points
// DllMain, DllCanUnloadNow, DllGetClassObject and the registration exports
// do.
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

    HRESULT DllRegisterServer() { return RunRegistration(Library(), PerUserRegistration()); }
    HRESULT DllUnregisterServer() { return RunUnregistration(Library(), PerUserRegistration()); }
    // The command line "user" switches per-user registration on for good.
    HRESULT DllInstall(BOOL install, LPCWSTR commandLine)
    {
        if (commandLine && IsUserCommandLine(commandLine))
            EnablePerUserRegistration();
        return InstallServer(Library(), install, PerUserRegistration());
    }

private:
    // What the registration sequences register: the object map's classes
    // from the file that carries the type library.
    RegisteredLibrary Library() const noexcept
    {
        return {this->objectMap->typeLibraryModule, this->objectMap->firstEntry, this->objectMap->endEntry,
                &PutModuleReplacements};
    }
};

// The module object of trevik.
class CtrevikModule : public CAtlDllModuleT<CtrevikModule> {
public:
    static constexpr const GUID* libraryId = &LIBID_trevikLib;

    using CAtlDllModuleT::CAtlDllModuleT;

    // "APPID": the module's application identifier in braces.
    HRESULT AddCommonReplacements(IRegistrarBase* registrar) override;
};

}  // namespace trevik
