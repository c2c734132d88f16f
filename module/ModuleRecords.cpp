// The records live in this one file, so C++ builds them in the order they
// are defined here and destroys them in the reverse order. Static
// construction precedes the loader's first DllMain call; static destruction
// follows its last, also when DllMain refuses the load.
#include "module/ModuleRecords.h"

#include <iterator>

#include "platform/ThisModule.h"

#ifdef TREVIK_FAULT_INJECTION
#include "module/RecordingMapEntry.h"
#endif

namespace trevik {
namespace {

ObjectMapEntry* objectMap[] = {
    &zuTrevikHelperEntry,
#ifdef TREVIK_FAULT_INJECTION
    // The test build has one more slot, empty unless a test arms it at load.
    RecordingMapEntryIfArmed(),
#endif
};

// What the library's objects get of the module: the module object's lock
// count, static-data section and termination list, the base record's module
// handle and the type library the module names.
class ModuleServices final : public IServingModule {
public:
    LONG LockModule() noexcept override { return globalModule->LockModule(); }
    LONG UnlockModule() noexcept override { return globalModule->UnlockModule(); }
    HMODULE ModuleFile() noexcept override { return baseModule.moduleHandle; }
    const GUID& TypeLibraryId() noexcept override { return CAtlModule::typeLibraryId; }
    CriticalSection& StaticDataSection() noexcept override { return globalModule->staticDataSection; }
    HRESULT AtTermination(TerminationCallback callback, void* argument) noexcept override
    {
        return AddTerminationCallback(globalModule, callback, argument);
    }
};

// Stateless, and constant-initialised.
ModuleServices moduleServices;

}  // namespace

// Defined beside the records, so that whatever uses the module links them in.
CAtlModule* globalModule = nullptr;

BaseModuleRecord::BaseModuleRecord() noexcept : sizeMarker(sizeof(*this)), moduleHandle(ThisModule())
{
    if (FAILED(resourceSection.Setup()))
        SetLoadFailed();
}

BaseModuleRecord baseModule;
ComModuleRecord comModule(ThisModule(), std::begin(objectMap), std::end(objectMap));
CtrevikModule trevikModule(&comModule);

IServingModule& ServingModule() noexcept
{
    return moduleServices;
}

}  // namespace trevik
