// The load-time record that carries the object map: the classes the library
// serves, and the critical section that serialises creating class objects.
#pragma once
#include <windows.h>

#include "module/ObjectMapEntry.h"
#include "platform/CriticalSection.h"

namespace trevik {

class ComModuleRecord {
public:
    // Spans the entry pointers [first, end). A critical section that cannot
    // be set up sets the load-failure flag and leaves the record not set up.
    ComModuleRecord(HMODULE typeLibraryModule, ObjectMapEntry** first, ObjectMapEntry** end) noexcept;
    ~ComModuleRecord();
    ComModuleRecord(const ComModuleRecord&) = delete;
    ComModuleRecord& operator=(const ComModuleRecord&) = delete;

    // Calls `visit` for every entry, skipping null slots; the end is read
    // again at every step.
    template <class Visit>
    void ForEachEntry(Visit visit)
    {
        for (ObjectMapEntry** slot = firstEntry; slot < endEntry; ++slot)
            if (*slot)
                visit(**slot);
    }

    // The module's start (true) and stop (false) notification to every entry.
    void NotifyEntries(bool starting);

    // Releases every cached class object and destroys the critical section;
    // does nothing for a record that is not set up.
    void Terminate() noexcept;

    UINT sizeMarker = 0;  // nonzero while set up
    HMODULE typeLibraryModule;
    ObjectMapEntry** firstEntry;
    ObjectMapEntry** endEntry;
    CriticalSection objectMapSection;
};

}  // namespace trevik
