#!/usr/bin/env bash
# Registers and unregisters the built DLL with regsvr32 in a fresh prefix and
# checks every registry entry it writes and removes, per user.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin registration

CLASSES='HKCU\Software\Classes'
CLSID="{$TREVIK_CLSID}" LIBID="{$TREVIK_LIBID}" APPID="{$TREVIK_APPID}" IID="{$TREVIK_IID}"
CLASS_KEY="$CLASSES\\CLSID\\$CLSID"

mkdir -p "$e2e_work/bin"
cp "$TREVIK_DLL" "$e2e_work/bin/trevik.dll"
dll=$(cpath "$e2e_work/bin/trevik.dll")

check_registered_entries() { # the DLL path the class must name
  check_eq "AppID key holds no values" "" "$(value_names "$CLASSES\\AppID")"
  check_eq "AppID entry" "trevik" "$(reg_value "$CLASSES\\AppID\\$APPID" '')"
  check_eq "AppID of the module name" "$APPID" "$(reg_value "$CLASSES\\AppID\\trevik.DLL" AppID)"
  check_eq "versioned ProgID" "ZuTrevikHelper Class" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper.1" '')"
  check_eq "versioned ProgID's class" "$CLSID" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper.1\\CLSID" '')"
  check_eq "ProgID" "ZuTrevikHelper Class" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper" '')"
  check_eq "ProgID's class" "$CLSID" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper\\CLSID" '')"
  check_eq "ProgID's current version" "trevik.ZuTrevikHelper.1" "$(reg_value "$CLASSES\\trevik.ZuTrevikHelper\\CurVer" '')"
  check_eq "class name" "ZuTrevikHelper Class" "$(reg_value "$CLASS_KEY" '')"
  check_eq "class key holds only its name" "(Default) " "$(value_names "$CLASS_KEY")"
  check_eq "class key has exactly its five subkeys" \
    "InprocServer32 ProgID Programmable TypeLib VersionIndependentProgID " "$(subkeys "$CLASS_KEY")"
  check_eq "class ProgID" "trevik.ZuTrevikHelper.1" "$(reg_value "$CLASS_KEY\\ProgID" '')"
  check_eq "class version-independent ProgID" "trevik.ZuTrevikHelper" \
    "$(reg_value "$CLASS_KEY\\VersionIndependentProgID" '')"
  check_eq "Programmable holds nothing" "" "$(value_names "$CLASS_KEY\\Programmable")$(subkeys "$CLASS_KEY\\Programmable")"
  check_eq "server path" "$1" "$(reg_value "$CLASS_KEY\\InprocServer32" '')"
  check_eq "threading model" "Apartment" "$(reg_value "$CLASS_KEY\\InprocServer32" ThreadingModel)"
  check_eq "class type library" "$LIBID" "$(reg_value "$CLASS_KEY\\TypeLib" '')"
  check_eq "server path is a string" "REG_SZ" "$(reg_type "$CLASS_KEY\\InprocServer32" '')"
  check_eq "type library registered at the DLL's own path" "$1" \
    "$(reg_value "HKCR\\TypeLib\\$LIBID\\1.0\\0\\win64" '')"
}

check_unregistered_entries() {
  local key
  for key in "trevik.ZuTrevikHelper.1" "trevik.ZuTrevikHelper" "CLSID\\$CLSID" "AppID\\$APPID" "AppID\\trevik.DLL"; do
    check "$key removed" key_absent "$CLASSES\\$key"
  done
  check "CLSID kept" key_exists "$CLASSES\\CLSID"
  check "AppID kept" key_exists "$CLASSES\\AppID"
  check "type library registration removed" key_absent "HKCR\\TypeLib\\$LIBID"
}

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

# A second unregistration finds the type library gone: its step reports that
# (0x80070057 from the platform), and the registry stays as it was.
flat_export "$CLASSES" "$e2e_work/user-before"
check_eq "second unregistration reports the missing type library" "0x80070057" \
  "$(call_export "$dll" DllUnregisterServer)"
flat_export "$CLASSES" "$e2e_work/user-after"
check "second unregistration changes nothing" cmp -s "$e2e_work/user-before" "$e2e_work/user-after"

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

e2e_end
