#!/usr/bin/env bash
# The library's own path as the class registration records it: a path with a
# single quote, the longest path that fits (259 characters) and one too long.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin paths
CLASS_KEY="HKCU\\Software\\Classes\\CLSID\\{$TREVIK_CLSID}"

register_at() { # Unix path below drive C
  mkdir -p "$(dirname "$1")"
  cp "$TREVIK_DLL" "$1"
  call_export "$(cpath "$1")" DllRegisterServer
}

quoted="$e2e_work/it's/trevik.dll"
check_eq "register from a path with a quote" "0x00000000" "$(register_at "$quoted")"
check_eq "server path keeps its single quote" "$(cpath "$quoted")" "$(reg_value "$CLASS_KEY\\InprocServer32" '')"
check_eq "unregister" "0x00000000" "$(call_export "$(cpath "$quoted")" DllUnregisterServer)"

# C:\e2e\long\<name>\trevik.dll: 23 characters around the folder name.
longest="$e2e_work/long/$(printf 'a%.0s' $(seq 236))/trevik.dll"
check_eq "the longest path is 259 characters" 259 "$(cpath "$longest" | wc -c | tr -d ' ')"
check_eq "register from a 259-character path" "0x00000000" "$(register_at "$longest")"
check_eq "server path of 259 characters" "$(cpath "$longest")" "$(reg_value "$CLASS_KEY\\InprocServer32" '')"
check_eq "unregister" "0x00000000" "$(call_export "$(cpath "$longest")" DllUnregisterServer)"

flat_export 'HKCU\Software\Classes' "$e2e_work/before"
too_long="$e2e_work/long/$(printf 'b%.0s' $(seq 237))/trevik.dll"
check_eq "a 260-character path fails" "0x8007007A" "$(register_at "$too_long")"
flat_export 'HKCU\Software\Classes' "$e2e_work/after"
check "no key was touched" cmp -s "$e2e_work/before" "$e2e_work/after"

e2e_end
