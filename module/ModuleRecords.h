// The three process-wide records of the library, built in this order before
// the loader's first DllMain call and terminated in the reverse order after
// its last: the base record, the record with the object map, the module.
#pragma once
#include "module/BaseModuleRecord.h"
#include "module/ComModuleRecord.h"
#include "module/CtrevikModule.h"

namespace trevik {

extern BaseModuleRecord baseModule;
extern ComModuleRecord comModule;
extern CtrevikModule trevikModule;

}  // namespace trevik
