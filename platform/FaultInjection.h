// Seams where the failure tests make the platform fail on purpose. In the
// shipped build every seam is a constant false and compiles away; the
// fault-injection build of the core (TREVIK_FAULT_INJECTION) makes them armable.
#pragma once

namespace trevik {

enum class Fault {
    CriticalSectionSetup,  // InitializeCriticalSectionEx reports no memory
    ObjectAllocation,      // NewObject/NewArray: the allocation throws bad_alloc
    ArrayCreation,         // SafeArrayCreate returns no array
    ArrayStore,            // SafeArrayPutElement fails with E_OUTOFMEMORY
    RecordingMapEntry,     // not a failure: the object map gains an entry that
                           // records the module's notifications (armed at load)
    ReplacementStore,      // storing a replacement pair throws std::bad_alloc
    ScriptTextMemory,      // the expansion buffer's task memory is not obtained
    ValueArea,             // a binary or multi-string area is not obtained from the heap
    RegistryWrite,         // a registry write of the script engine (creating a key,
                           // setting or deleting a value, deleting a key) fails
                           // with kInjectedRegistryFailure
    Count
};

// The Win32 code of an injected registry write failure.
constexpr long kInjectedRegistryFailure = 29;  // ERROR_WRITE_FAULT

#ifdef TREVIK_FAULT_INJECTION

// True when the seam is armed for this call; consumes the shot.
bool ShouldInjectFault(Fault fault);

// Lets `skip` calls of the seam pass, then fails the next `count` of them.
void ArmFault(Fault fault, int skip = 0, int count = 1);
void DisarmAllFaults();

#else

constexpr bool ShouldInjectFault(Fault) { return false; }

#endif

}  // namespace trevik
