// The module object's record and base class: the module lock count, the
// termination callbacks, the static-data critical section and the cached
// global interface table.
#pragma once
#include <objidl.h>

#include "platform/CriticalSection.h"
#include "registrar/IRegistrarBase.h"

namespace trevik {

class ComModuleRecord;

using TerminationCallback = void (*)(void* argument);

// One termination callback; the list is newest first.
struct TerminationNode {
    TerminationCallback callback;
    void* argument;
    TerminationNode* next;
};

// The module's plain record.
struct _ATL_MODULE70 {
    UINT sizeMarker = 0;  // nonzero while the static-data critical section is set up
    LONG lockCount = 0;   // changed only atomically
    TerminationNode* terminationList = nullptr;
    // Re-entrant: serialises one-time set-up of shared static data and every
    // addition to the termination list.
    CriticalSection staticDataSection;
};

class CAtlModule : public _ATL_MODULE70 {
public:
    // Becomes the global module; a static-data critical section that cannot be
    // set up sets the load-failure flag and leaves the record not set up.
    explicit CAtlModule(ComModuleRecord* objectMap) noexcept;
    // Runs termination.
    virtual ~CAtlModule();
    CAtlModule(const CAtlModule&) = delete;
    CAtlModule& operator=(const CAtlModule&) = delete;

    // Each returns the count after its change; no bound is enforced.
    virtual LONG LockModule() noexcept;
    virtual LONG UnlockModule() noexcept;
    virtual LONG QueryLockCount() noexcept;
    // Creates the table on first use and hands out a new reference.
    virtual HRESULT GetGlobalInterfaceTable(IGlobalInterfaceTable** out) noexcept;
    // Puts the replacements that every registry script receives.
    virtual HRESULT AddCommonReplacements(IRegistrarBase* registrar) = 0;

    // Stop notification to every object-map entry; then, once and only while
    // set up: the termination callbacks newest first, the release of the
    // global interface table and the static-data critical section.
    void Terminate() noexcept;

    // The identifier of the type library that the library carries.
    static GUID typeLibraryId;

protected:
    ComModuleRecord* objectMap;
    IGlobalInterfaceTable* globalInterfaceTable = nullptr;

private:
    void RunTerminationCallbacks() noexcept;
};

// The one module object; set by its construction, never cleared.
extern CAtlModule* globalModule;

// Adds a callback that the module's termination runs with `argument`.
//   E_INVALIDARG   `record` is null
//   E_UNEXPECTED   the record is not set up (its critical section cannot be entered)
//   E_OUTOFMEMORY  no memory for the list node
// Nothing is added on failure.
HRESULT AddTerminationCallback(_ATL_MODULE70* record, TerminationCallback callback, void* argument) noexcept;

}  // namespace trevik
