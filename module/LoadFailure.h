// The process-wide load-failure flag: set by any load-time record whose
// critical section cannot be set up, never cleared; DllMain refuses the load
// while it is set.
#pragma once

namespace trevik {

bool LoadFailed() noexcept;
void SetLoadFailed() noexcept;

}  // namespace trevik
