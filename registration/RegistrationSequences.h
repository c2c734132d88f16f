// What the registration exports do: the fixed sequences over the AppID
// script, every class of the object map and the type library.
#pragma once
#include <windows.h>

#include "com/ObjectMapEntry.h"
#include "registration/ApplyRegistryScript.h"

namespace trevik {

// The library a sequence registers: its file, which carries the registry
// scripts and the type library; the classes of its object map, the entry
// pointers [firstEntry, endEntry) as they stand when the sequence starts;
// and what puts the replacements every script of it receives besides
// "Module" and "Module_Raw".
struct RegisteredLibrary {
    HMODULE module;
    ObjectMapEntry** firstEntry;
    ObjectMapEntry** endEntry;
    PutReplacementsFunction putCommonReplacements;
};

// Each sequence holds the session's registration lock of the class for its
// whole length, so that threads and processes take turns. With `perUser`
// the scripts' classes go under HKCU\Software\Classes and the type library
// is registered for the current user where the platform allows; otherwise
// both go machine-wide.

// AppID script, then each class's script and categories, then the type
// library. The first failure ends the sequence, takes back every registry
// change the sequence made, and is returned: a failed registration leaves
// the registry as it was.
HRESULT RunRegistration(const RegisteredLibrary& library, bool perUser);

// Each class's categories and script, then the type library (which may be
// unregistered already), then the AppID script. Every step runs; the first
// failure is returned.
HRESULT RunUnregistration(const RegisteredLibrary& library, bool perUser);

// DllInstall: a registration or an unregistration as above.
HRESULT InstallServer(const RegisteredLibrary& library, BOOL install, bool perUser);

// True for "user" in any letter case of A to Z, and nothing longer or
// shorter: DllInstall's command line that asks for per-user registration.
bool IsUserCommandLine(LPCWSTR commandLine);

}  // namespace trevik
