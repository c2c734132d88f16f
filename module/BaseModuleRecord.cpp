#include "module/BaseModuleRecord.h"

#include "module/LoadFailure.h"
#include "platform/ThisModule.h"

namespace trevik {

BaseModuleRecord::BaseModuleRecord() noexcept : sizeMarker(sizeof(*this)), moduleHandle(ThisModule())
{
    if (FAILED(resourceSection.Setup()))
        SetLoadFailed();
}

}  // namespace trevik
