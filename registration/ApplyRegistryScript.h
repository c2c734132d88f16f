// Applying one of the library's registry scripts, for registering or
// unregistering, with the module's replacement values.
#pragma once
#include <objbase.h>

namespace trevik {

// A replacement name and its value; a list ends with a pair whose name is null.
struct ReplacementPair {
    LPCOLESTR name;
    LPCOLESTR value;
};

// Runs the "REGISTRY" resource `resourceId` of the library's own file;
// `extraPairs`, when given, adds its pairs to the replacements.
HRESULT ApplyRegistryScript(UINT16 resourceId, bool registering, const ReplacementPair* extraPairs);

}  // namespace trevik
