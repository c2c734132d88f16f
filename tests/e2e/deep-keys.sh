#!/usr/bin/env bash
# Re-registration removes the old class key with everything below it. Neither
# a 3,000-level chain of subkeys nor a link back to the class key itself may
# crash it part-way: either the registration is complete afterwards, or
# regsvr32 reports the failure and the registry is as it was.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin deep-keys

# The old registration names another copy, so a run that dies before it
# rewrites the class shows.
old=$(install_dll old)
dll=$(install_dll bin)
CLASS_PATH="Software\\Classes\\CLSID\\$CLSID" # below HKEY_CURRENT_USER

check "register the old copy" wine regsvr32 /s "$old"
check "3,000-level chain placed under the class key" registry_fixture chain "$CLASS_PATH" 3000
flat_export "$CLASSES" "$e2e_work/chain-before"
if wine regsvr32 /s "$dll"; then
  check_registered_entries "$dll"
else
  echo "note: regsvr32 reports it could not remove the chain"
  flat_export "$CLASSES" "$e2e_work/chain-after"
  check "the failed run left the registry as it was" cmp -s "$e2e_work/chain-before" "$e2e_work/chain-after"
  check_eq "the chain is whole" 3000 "$(registry_fixture depth "$CLASS_PATH")"
fi

check "register the old copy" wine regsvr32 /s "$old"
check "link from the class key to itself placed" registry_fixture link "$CLASS_PATH\\Loop" "$CLASS_PATH"
check "regsvr32 over the loop" wine regsvr32 /s "$dll"
check_registered_entries "$dll"

check "registration afterwards" wine regsvr32 /s "$old"
check_eq "server path afterwards" "$old" "$(reg_value "$CLASS_KEY\\InprocServer32" '')"

e2e_end
