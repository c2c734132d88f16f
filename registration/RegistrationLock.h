// One registration at a time, across the threads and processes of a session.
#pragma once
#include <windows.h>

#include "platform/Owned.h"

namespace trevik {

// Holds the session's registration mutex of the library's class from a
// successful Acquire until it goes.
class RegistrationLock {
public:
    RegistrationLock() = default;
    RegistrationLock(const RegistrationLock&) = delete;
    RegistrationLock& operator=(const RegistrationLock&) = delete;

    // Waits until no other registration, unregistration or install of the
    // class runs in this session. A mutex left by a holder that ended
    // without releasing it is taken over. The platform's error as an
    // HRESULT when the mutex cannot be made or waited for.
    HRESULT Acquire();

private:
    // Released before it is closed.
    KernelHandle mutex_;
    HeldMutex held_;
};

}  // namespace trevik
