// The module object of a particular library: names its type library and
// sends the start notification once the module is set up.
#pragma once
#include "module/CAtlModule.h"
#include "module/ComModuleRecord.h"

namespace trevik {

// `T` names its type library as `T::libraryId`.
template <class T>
class CAtlModuleT : public CAtlModule {
public:
    explicit CAtlModuleT(ComModuleRecord* objectMap) noexcept : CAtlModule(objectMap)
    {
        typeLibraryId = *T::libraryId;
        objectMap->NotifyEntries(true);
    }
};

}  // namespace trevik
