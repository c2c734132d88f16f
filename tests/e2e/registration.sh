#!/usr/bin/env bash
# Registers and unregisters the built DLL with regsvr32 in a fresh prefix and
# checks every registry entry it writes and removes, per user.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin registration

dll=$(install_dll bin)

# Unregistering what was never registered is no failure and touches nothing.
snapshot never-before
check "regsvr32 /u of a DLL never registered" wine regsvr32 /u /s "$dll"
snapshot never-after
check_same_snapshot "unregistering what was never registered changes nothing" never-before never-after

# Registration writes per user; under the machine-wide classes only the type
# library registration of Wine (which registers machine-wide even for the
# current user) may appear.
flat_export 'HKLM\Software\Classes' "$e2e_work/machine-before"
check "regsvr32 registers" wine regsvr32 /s "$dll"
check_registered_entries "$dll"
flat_export 'HKLM\Software\Classes' "$e2e_work/machine-after"
unexpected=$(comm -13 "$e2e_work/machine-before" "$e2e_work/machine-after" |
  grep -v -i -F -e "\\TypeLib\\$LIBID" -e "\\Interface\\$IID")
check_eq "nothing else written under the machine-wide classes" "" "$unexpected"

check "regsvr32 /u unregisters" wine regsvr32 /u /s "$dll"
check_unregistered_entries

# Unregistration can be repeated: the second one finds nothing left to remove.
snapshot again-before
check_eq "second unregistration succeeds" "0x00000000" "$(call_export "$dll" DllUnregisterServer)"
snapshot again-after
check_same_snapshot "second unregistration changes nothing" again-before again-after

check "regsvr32 /n /i:user registers through DllInstall" wine regsvr32 /s /n /i:user "$dll"
check_registered_entries "$dll"
check_eq "DllInstall(FALSE, null) unregisters" "0x00000000" "$(call_export "$dll" DllInstall 0 -)"
check_unregistered_entries

# Re-registration over a stale registration: the class key is made afresh.
check "register" wine regsvr32 /s "$dll"
wine reg add "$CLASS_KEY\\Stale" /v old /d value /f >/dev/null
wine reg add "$CLASS_KEY" /v AppID /d "$APPID" /f >/dev/null
wine reg add "$CLASS_KEY\\InprocServer32" /v Extra /d x /f >/dev/null
check "register again" wine regsvr32 /s "$dll"
check_registered_entries "$dll"
check_eq "server key holds only its two values" "(Default) ThreadingModel " \
  "$(value_names "$CLASS_KEY\\InprocServer32")"
check "unregister" wine regsvr32 /u /s "$dll"
check_unregistered_entries

# Someone else removed the type library registration (in both registry
# views): unregistration still removes every other entry.
check "register" wine regsvr32 /s "$dll"
for view in '' 'Wow6432Node\'; do
  wine reg delete "HKLM\\Software\\Classes\\${view}TypeLib\\$LIBID" /f >/dev/null 2>&1
  wine reg delete "HKLM\\Software\\Classes\\${view}Interface\\$IID" /f >/dev/null 2>&1
done
check "type library registration gone" key_absent "HKCR\\TypeLib\\$LIBID"
check "regsvr32 /u without the type library" wine regsvr32 /u /s "$dll"
check_unregistered_entries

e2e_end
