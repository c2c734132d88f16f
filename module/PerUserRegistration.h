// The process-wide per-user registration switch. Off when the library is
// mapped; switched on by DllMain at every call and by DllInstall("user");
// never switched back. The registration exports hand it to the registration
// sequences: when on, registry scripts move their top-level HKCR blocks
// under HKEY_CURRENT_USER\Software\Classes and the type library is
// registered for the current user.
#pragma once

namespace trevik {

bool PerUserRegistration();
void EnablePerUserRegistration();

}  // namespace trevik
