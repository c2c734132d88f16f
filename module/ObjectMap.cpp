#include "module/ObjectMap.h"

#include "automation/CZuTrevikHelper.h"
#include "module/CreateClassFactory.h"
#include "module/CreateInstanceNoAggregation.h"

namespace trevik {

// Constant-initialised, so it is complete before the first record is built.
ObjectMapEntry zuTrevikHelperEntry = {
    CZuTrevikHelper::classId,
    &CZuTrevikHelper::UpdateRegistry,
    &CreateClassFactory,
    &CreateInstanceNoAggregation,
    nullptr,
    &CZuTrevikHelper::GetCategoryMap,
    &CZuTrevikHelper::ObjectMain,
};

}  // namespace trevik
