// Applying one of the library's registry scripts, for registering or
// unregistering, with the module's replacement values.
#pragma once
#include <objbase.h>

namespace trevik {

class CUndoJournal;

// A replacement name and its value; a list ends with a pair whose name is null.
struct ReplacementPair {
    LPCOLESTR name;
    LPCOLESTR value;
};

// How one step of a registration sequence runs: for the current user (the
// scripts' classes under HKCU\Software\Classes, the type library for the
// user where the platform allows) or machine-wide, and, when registering,
// the journal that records its changes.
struct RegistrationRun {
    bool perUser;
    CUndoJournal* journal;
};

// Runs the "REGISTRY" resource `resourceId` of the library's own file;
// `extraPairs`, when given, adds its pairs to the replacements.
HRESULT ApplyRegistryScript(UINT16 resourceId, bool registering, const ReplacementPair* extraPairs,
                            const RegistrationRun& run);

}  // namespace trevik
