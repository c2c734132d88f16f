#include "module/ObjectMap.h"

#include "automation/CZuTrevikHelper.h"
#include "module/CreateClassFactory.h"
#include "module/CreateInstanceNoAggregation.h"
#include "registration/ApplyRegistryScript.h"
#include "resources/ResourceIds.h"

namespace trevik {
namespace {

// The class script of CZuTrevikHelper, run from the library's resources.
HRESULT UpdateHelperRegistry(BOOL registering, const RegistrationRun& run)
{
    return ApplyRegistryScript(TREVIK_CLASS_SCRIPT_RESOURCE, registering != FALSE, nullptr, run);
}

}  // namespace

// Constant-initialised, so it is complete before the first record is built.
ObjectMapEntry zuTrevikHelperEntry = {
    CZuTrevikHelper::classId,
    &UpdateHelperRegistry,
    &CreateClassFactory,
    &CreateInstanceNoAggregation,
    nullptr,
    &CZuTrevikHelper::GetCategoryMap,
    &CZuTrevikHelper::ObjectMain,
};

}  // namespace trevik
