// The three process-wide records of the library, built in this order before
// the loader's first DllMain call and terminated in the reverse order after
// its last: the base record, the record with the object map, the module.
#pragma once
#include <windows.h>

#include "module/ModuleObject.h"
#include "module/ObjectMap.h"
#include "platform/CriticalSection.h"

namespace trevik {

// The first load-time record: the library's own module handle, from which
// the library's file path is taken, and the resource critical section.
class BaseModuleRecord {
public:
    // A resource critical section that cannot be set up sets the
    // load-failure flag; the record counts as built either way.
    BaseModuleRecord() noexcept;
    BaseModuleRecord(const BaseModuleRecord&) = delete;
    BaseModuleRecord& operator=(const BaseModuleRecord&) = delete;

    UINT sizeMarker = 0;
    HMODULE moduleHandle;
    // Set up at load and destroyed at unload; nothing enters it.
    CriticalSection resourceSection;
};

extern BaseModuleRecord baseModule;
extern ComModuleRecord comModule;
extern CtrevikModule trevikModule;

}  // namespace trevik
