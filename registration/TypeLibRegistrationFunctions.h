// The platform functions that register and unregister a type library: the
// per-user ones when `perUser` is set and the platform exports them, the
// machine-wide ones otherwise. Looked up by name at each call.
#pragma once
#include <oaidl.h>

namespace trevik {

using RegisterTypeLibFunction = HRESULT(WINAPI*)(ITypeLib*, LPOLESTR, LPOLESTR);
using UnregisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

RegisterTypeLibFunction ChooseRegisterTypeLib(bool perUser);
UnregisterTypeLibFunction ChooseUnregisterTypeLib(bool perUser);

}  // namespace trevik
