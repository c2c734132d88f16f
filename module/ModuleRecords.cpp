// The records live in this one file, so C++ builds them in the order they
// are defined here and destroys them in the reverse order. Static
// construction precedes the loader's first DllMain call; static destruction
// follows its last, also when DllMain refuses the load.
#include "module/ModuleRecords.h"

#include <iterator>

#include "module/ObjectMap.h"
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

}  // namespace

// Defined beside the records, so that whatever uses the module links them in.
CAtlModule* globalModule = nullptr;

BaseModuleRecord baseModule;
ComModuleRecord comModule(ThisModule(), std::begin(objectMap), std::end(objectMap));
CtrevikModule trevikModule(&comModule);

}  // namespace trevik
