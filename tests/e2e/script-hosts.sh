#!/usr/bin/env bash
# JScript and VBScript, through cscript, create the helper by both ProgIDs
# after a per-user registration and call getFrames on sample pages.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin script-hosts
here=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$e2e_work/bin"
cp "$TREVIK_DLL" "$e2e_work/bin/trevik.dll"
cp "$TREVIK_PAGEHOST" "$e2e_work/bin/trevikpagehost.dll"
check "register trevik per user" wine regsvr32 /s "$(cpath "$e2e_work/bin/trevik.dll")"
check "register the sample page server" wine regsvr32 /s "$(cpath "$e2e_work/bin/trevikpagehost.dll")"
emulate_merged_classes_view "CLSID\\{$TREVIK_CLSID}" trevik.ZuTrevikHelper trevik.ZuTrevikHelper.1

output=$(for script in frames.js frames.vbs; do
  wine cscript //nologo "$(winpath "$here/scripts/$script")" 2>&1
done | tr -d '\r')
check_eq "scripts print the frame documents" "$(cat "$here/scripts/frames.expected")" "$output"

e2e_end
