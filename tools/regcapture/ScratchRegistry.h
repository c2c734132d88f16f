// A scratch key under the user's live registry that stands in for
// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process
// while a registration runs. The redirection ends and the scratch key is
// deleted when the owner goes, on every path.
#pragma once
#include <windows.h>

#include <string>

#include "CapturedRegistry.h"

namespace regcapture {

class ScratchRegistry {
public:
    ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;
    ~ScratchRegistry();

    // Creates the scratch key and redirects the three root keys into it.
    LONG Redirect();
    // Gives the root keys back to the live registry.
    void EndRedirection();
    // What was written below the three root keys while they were redirected.
    LONG Read(CapturedRegistry& captured) const;

private:
    std::wstring path_;
    bool created_ = false;
    bool redirected_ = false;
};

}  // namespace regcapture
