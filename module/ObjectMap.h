// The entries of the object map: the classes the library serves.
#pragma once
#include "module/ObjectMapEntry.h"

namespace trevik {

extern ObjectMapEntry zuTrevikHelperEntry;

}  // namespace trevik
