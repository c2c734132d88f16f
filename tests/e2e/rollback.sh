#!/usr/bin/env bash
# A registration that fails part-way leaves the registry exactly as it found
# it: the good registration before it, and foreign values in keys it touched.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin rollback

dll=$(install_dll bin)
PROGID_PATH='Software\Classes\trevik.ZuTrevikHelper' # below HKEY_CURRENT_USER

# A good registration, then the ProgID key made volatile: no lasting subkey
# can be made under a volatile key, so registering its CLSID subkey fails.
# The failing run would overwrite the foreign values first.
prepare() { # snapshot name
  wine reg delete "HKCU\\$PROGID_PATH" /f >/dev/null 2>&1
  check "register" wine regsvr32 /s "$dll"
  check "ProgID key made volatile" registry_fixture volatile "$PROGID_PATH"
  wine reg add "HKCU\\$PROGID_PATH" /ve /d "foreign" /f >/dev/null
  wine reg add "HKCU\\$PROGID_PATH" /v Note /d "keep me" /f >/dev/null
  wine reg add "$CLASSES\\trevik.ZuTrevikHelper.1" /ve /d "foreign too" /f >/dev/null
  snapshot "$1"
}

prepare register-before
check "regsvr32 reports the failure" fails wine regsvr32 /s "$dll"
snapshot register-after
check_same_snapshot "the failed registration changed nothing" register-before register-after

prepare install-before
check "regsvr32 /n /i:user reports the failure" fails wine regsvr32 /s /n /i:user "$dll"
snapshot install-after
check_same_snapshot "the failed DllInstall changed nothing" install-before install-after

e2e_end
