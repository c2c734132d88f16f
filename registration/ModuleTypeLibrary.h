// Finding, registering and unregistering the type library a module carries.
#pragma once
#include <oaidl.h>

#include <cstddef>

namespace trevik {

// Loads the type library of `module` (its own file, with `index` appended when
// given), falling back to the file of the same name with the extension ".tlb".
// On success `path` receives the path that loaded (the caller frees it) and
// `library` the library (the caller releases it).
HRESULT LoadModuleTypeLibrary(HMODULE module, LPCOLESTR index, BSTR* path, ITypeLib** library);

// Registers the module's type library: for the current user when `perUser`
// is set and the platform offers it, machine-wide otherwise.
HRESULT RegisterModuleTypeLibrary(HMODULE module, LPCOLESTR index, bool perUser);

// Removes the registration named by the module's type library's own
// identifier, version, locale and system kind; S_FALSE, touching nothing,
// when that library is not registered. `perUser` as for registering.
HRESULT UnregisterModuleTypeLibrary(HMODULE module, LPCOLESTR index, bool perUser);

// The platform functions that register and unregister a type library: the
// per-user ones when `perUser` is set and the platform exports them, the
// machine-wide ones otherwise. Looked up by name at each call.
using RegisterTypeLibFunction = HRESULT(WINAPI*)(ITypeLib*, LPOLESTR, LPOLESTR);
using UnregisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
RegisterTypeLibFunction ChooseRegisterTypeLib(bool perUser);
UnregisterTypeLibFunction ChooseUnregisterTypeLib(bool perUser);

// Position (in units) where a path's extension starts: the last "." after the
// last "\", or the end of the path when its name has no dot.
size_t ExtensionPosition(const wchar_t* path);

// The help directory of a help file: the text up to and including its last
// "\", "/" or ":" (empty when there is none), in a buffer of `capacity` units.
void HelpDirectoryOf(BSTR helpFile, wchar_t* buffer, size_t capacity);

}  // namespace trevik
