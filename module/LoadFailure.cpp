#include "module/LoadFailure.h"

namespace trevik {
namespace {

// Constant-initialised, so it is false before the first record is built.
bool loadFailed = false;

}  // namespace

bool LoadFailed() noexcept
{
    return loadFailed;
}

void SetLoadFailed() noexcept
{
    loadFailed = true;
}

}  // namespace trevik
