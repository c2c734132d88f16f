#!/usr/bin/env bash
# A registry link under the class key: re-registration makes the class key
# afresh, removing the link itself and never what it points at; unregistration
# leaves the link's target alone too.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin links

dll=$(install_dll bin)
PRECIOUS='HKCU\Software\Precious'

make_precious() {
  wine reg add "$PRECIOUS" /v keep /d "me" /f >/dev/null
  wine reg add "$PRECIOUS\\Deeper" /v also /t REG_DWORD /d 7 /f >/dev/null
  wine reg add "$PRECIOUS\\Deeper\\Deepest" /ve /d "leaf" /f >/dev/null
  flat_export "$PRECIOUS" "$e2e_work/precious-before"
}

check_precious_kept() {
  flat_export "$PRECIOUS" "$e2e_work/precious-after"
  check "$1 leaves the link's target as it was" cmp -s "$e2e_work/precious-before" "$e2e_work/precious-after"
}

check "register" wine regsvr32 /s "$dll"
make_precious
check "link placed under the class key" \
  registry_fixture link "Software\\Classes\\CLSID\\$CLSID\\Shortcut" 'Software\Precious'
check "register again" wine regsvr32 /s "$dll"
check_precious_kept "re-registration"
check_registered_entries "$dll"

make_precious
check "another link placed under the class key" \
  registry_fixture link "Software\\Classes\\CLSID\\$CLSID\\Elsewhere" 'Software\Precious'
check "unregister" wine regsvr32 /u /s "$dll"
check_precious_kept "unregistration"
for key in trevik.ZuTrevikHelper.1 trevik.ZuTrevikHelper "AppID\\$APPID" AppID\\trevik.DLL; do
  check "$key removed" key_absent "$CLASSES\\$key"
done
# The link is no entry of ours; whether it keeps the class key is not at stake.
check_eq "the class's own subkeys removed" "" "$(subkeys "$CLASS_KEY" | sed 's/Elsewhere //')"

e2e_end
