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

// Runs the "REGISTRY" resource `resourceId` of the library's own file;
// `extraPairs`, when given, adds its pairs to the replacements. A
// registration records its changes in `journal` when given.
HRESULT ApplyRegistryScript(UINT16 resourceId, bool registering, const ReplacementPair* extraPairs,
                            CUndoJournal* journal);

}  // namespace trevik
