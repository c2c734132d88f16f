// The first load-time record: the library's own module handle, from which
// the library's file path is taken, and the resource critical section.
#pragma once
#include <windows.h>

#include "platform/CriticalSection.h"

namespace trevik {

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

}  // namespace trevik
