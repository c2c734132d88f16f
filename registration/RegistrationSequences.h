// What the registration exports do: the fixed sequences over the AppID
// script, every class of the object map and the type library.
#pragma once
#include <windows.h>

namespace trevik {

class ComModuleRecord;

// AppID script, then each class's script and categories, then the type
// library; the first failure ends the sequence and is returned.
HRESULT RunRegistration(ComModuleRecord& objectMap);

// Each class's categories and script, then the type library, then the AppID
// script; the first failure ends the sequence and is returned.
HRESULT RunUnregistration(ComModuleRecord& objectMap);

// DllInstall: the command line "user" (any letter case) switches per-user
// registration on; installing that fails is undone by a whole unregistration.
HRESULT InstallServer(ComModuleRecord& objectMap, BOOL install, LPCWSTR commandLine);

// True for "user" in any letter case of A to Z, and nothing longer or shorter.
bool IsUserCommandLine(LPCWSTR commandLine);

}  // namespace trevik
