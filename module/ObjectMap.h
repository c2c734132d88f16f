// The object map: the classes the library serves, the load-time record that
// carries them with their cached class objects, and the lookup that creates
// a class object on its first request.
#pragma once
#include <windows.h>

#include "com/ObjectMapEntry.h"
#include "platform/CriticalSection.h"

namespace trevik {

// The library's one class, CZuTrevikHelper.
extern ObjectMapEntry zuTrevikHelperEntry;

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
        WalkObjectMap(firstEntry, endEntry, [&visit](ObjectMapEntry& entry) {
            visit(entry);
            return true;
        });
    }

    // The module's start (true) and stop (false) notification to every entry.
    void NotifyEntries(bool starting);

    // Releases every cached class object and destroys the critical section;
    // does nothing for a record that is not set up.
    void Terminate() noexcept;

    UINT sizeMarker = 0;  // nonzero while set up
    // The library's own file, which carries its type library and its
    // registry scripts.
    HMODULE typeLibraryModule;
    ObjectMapEntry** firstEntry;
    ObjectMapEntry** endEntry;
    // Serialises creating class objects.
    CriticalSection objectMapSection;
};

// The class object of a class in the object map, created on the first
// request and cached in the class's entry.
//   E_POINTER                  `out` is null; nothing else happens
//   E_INVALIDARG               `record` is null
//   E_UNEXPECTED               the record is not set up, or already terminated
//   CLASS_E_CLASSNOTAVAILABLE  no entry with a class-object creator has `clsid`
//   the creator's failure      creating the class object failed; nothing cached
//   the class object's QueryInterface result otherwise
// *out is null whenever the result is not S_OK.
HRESULT GetClassObjectFromMap(ComModuleRecord* record, REFCLSID clsid, REFIID iid, void** out) noexcept;

// The instance creator of the map's one class. With no outer object:
// CreateHelperObject's result for (iid, out). With one: E_POINTER for a null
// `out`, else CLASS_E_NOAGGREGATION, *out null.
HRESULT CreateInstanceNoAggregation(void* outer, REFIID iid, void** out) noexcept;

}  // namespace trevik
