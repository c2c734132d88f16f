// What keeps the sample page server loaded: one lock for every live object of
// the server and one for every LockServer(TRUE) not yet given back.
#pragma once

namespace pagehost {

void LockModule();
void UnlockModule();
// True while any lock is held; DllCanUnloadNow answers from it.
bool ModuleIsLocked();

// Holds one lock for as long as it lives.
class ModuleLock {
public:
    ModuleLock() { LockModule(); }
    ~ModuleLock() { UnlockModule(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

}  // namespace pagehost
