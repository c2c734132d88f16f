#!/usr/bin/env bash
# A library whose registration fails, and an output that cannot be written:
# trevik-regcapture exits non-zero, says why, writes nothing, removes its
# scratch key and leaves the live registry as it was.
set -u
. "$(dirname "$0")/../e2e/lib.sh"
e2e_begin capture-failure

mkdir -p "$e2e_work/lib"
cp "$TREVIK_FAULTS_DLL" "$e2e_work/lib/trevik.dll"
cp "$TREVIK_DLL" "$e2e_work/lib/shipped.dll"

# capture_fails DESCRIPTION EXPECTED-MESSAGE OUTPUT ARGUMENTS...
capture_fails() {
  local what=$1 message=$2 output=$3 status; shift 3
  wine "$(winpath "$TREVIK_REGCAPTURE")" "$@" "$(cpath "$output")" >"$e2e_work/capture.out" 2>&1
  status=$?
  check_eq "$what: exit status" 1 "$status"
  check "$what: says why" grep -q "$message" "$e2e_work/capture.out"
  check "$what: nothing written" test ! -e "$output"
  check_eq "$what: no scratch key left" "" "$(subkeys 'HKCU\Software' | tr ' ' '\n' | grep -i regcapture)"
}

snapshot before
for fault in 0 9; do
  TREVIK_FAULTS="RegistryWrite:$fault:1" capture_fails "registry write $((fault + 1)) fails" \
    'registration of .* failed: 0x8007001D' "$e2e_work/trevik.reg" "$(cpath "$e2e_work/lib/trevik.dll")"
done
capture_fails "the output's folder is missing" 'cannot write' "$e2e_work/missing/trevik.reg" \
  "$(cpath "$e2e_work/lib/shipped.dll")"
snapshot after
check_same_snapshot "the live registry is as it was" before after

e2e_end
