// What the library's objects need of the module that serves them. The module
// sits above every object class, so the objects reach it only through this
// interface, and the module folder defines ServingModule() to hand out the
// one module of the library.
#pragma once
#include <windows.h>

#include "platform/CriticalSection.h"

namespace trevik {

using TerminationCallback = void (*)(void* argument);

class IServingModule {
public:
    // The module lock count that keeps the library loaded: every live
    // object, every class object a client holds and every server lock holds
    // one. Each returns the count after its change; callers ignore it.
    virtual LONG LockModule() noexcept = 0;
    virtual LONG UnlockModule() noexcept = 0;

    // Shared static data, built once and given back at unload: the module
    // whose file carries the library's type library, that library's
    // identifier, the re-entrant section that serialises every first build,
    // and the hook that runs `callback(argument)` once at unload
    // (E_UNEXPECTED when the module is not set up, E_OUTOFMEMORY).
    virtual HMODULE ModuleFile() noexcept = 0;
    virtual const GUID& TypeLibraryId() noexcept = 0;
    virtual CriticalSection& StaticDataSection() noexcept = 0;
    virtual HRESULT AtTermination(TerminationCallback callback, void* argument) noexcept = 0;

protected:
    ~IServingModule() = default;
};

// The module serving this library's objects; defined by the module folder.
IServingModule& ServingModule() noexcept;

}  // namespace trevik
