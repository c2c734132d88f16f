#include "ModuleLock.h"

#include <windows.h>

namespace pagehost {
namespace {

volatile LONG locks = 0;

}  // namespace

void LockModule()
{
    InterlockedIncrement(&locks);
}

void UnlockModule()
{
    InterlockedDecrement(&locks);
}

bool ModuleIsLocked()
{
    return InterlockedCompareExchange(&locks, 0, 0) != 0;
}

}  // namespace pagehost
