// Owns an Automation string (BSTR) and frees it on every path.
#pragma once
#include <oleauto.h>

#include "platform/Owned.h"

namespace trevik {

class BString : public Owned<BStringTraits> {
public:
    using Owned::Owned;

    UINT Length() const noexcept { return SysStringLen(Get()); }
};

}  // namespace trevik
