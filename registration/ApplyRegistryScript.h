// Applying one of the library's registry scripts, for registering or
// unregistering, with the library's replacement values.
#pragma once
#include <objbase.h>

#include "registrar/IRegistrarBase.h"

namespace trevik {

class CUndoJournal;

// A replacement name and its value; a list ends with a pair whose name is null.
struct ReplacementPair {
    LPCOLESTR name;
    LPCOLESTR value;
};

// Puts the replacements that every script of a library receives.
using PutReplacementsFunction = HRESULT (*)(IRegistrarBase* registrar);

// How one step of a registration sequence runs: the library's file, whose
// "REGISTRY" resources hold the scripts, and what puts the replacements
// every script of it receives (null: none); for the current user (the scripts' classes under
// HKCU\Software\Classes, the type library for the user where the platform
// allows) or machine-wide; and, when registering, the journal that records
// its changes.
struct RegistrationRun {
    HMODULE module;
    PutReplacementsFunction putCommonReplacements;
    bool perUser;
    CUndoJournal* journal;
};

// Runs the "REGISTRY" resource `resourceId` of the run's module file with the
// replacements `extraPairs` (when given), then the run's common ones, then
// "Module" and "Module_Raw": the file's path with every quote doubled. The
// common ones' failure is returned before the script runs.
HRESULT ApplyRegistryScript(UINT16 resourceId, bool registering, const ReplacementPair* extraPairs,
                            const RegistrationRun& run);

// An object-map entry's registry update that runs script `ResourceId`.
template <UINT16 ResourceId>
HRESULT UpdateRegistryFromResource(BOOL registering, const RegistrationRun& run)
{
    return ApplyRegistryScript(ResourceId, registering != FALSE, nullptr, run);
}

}  // namespace trevik
