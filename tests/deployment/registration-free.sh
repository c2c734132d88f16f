#!/usr/bin/env bash
# A client application beside trevik.dll and its assembly manifest, in a prefix
# where nothing of trevik is registered, activates the helper by CLSID and by
# both ProgIDs and calls getFrames late- and early-bound.
set -u
. "$(dirname "$0")/../e2e/lib.sh"
e2e_begin registration-free

app="$e2e_work/app"
mkdir -p "$app"
cp "$TREVIK_DLL" "$app/trevik.dll"
cp "$TREVIK_ASSEMBLY_MANIFEST" "$app/"
cp "$TREVIK_REGFREE_CLIENT" "$app/regfree-client.exe"
cp "$TREVIK_REGFREE_CLIENT_MANIFEST" "$app/regfree-client.exe.manifest"

for key in "$CLASS_KEY" "HKCR\\CLSID\\$CLSID" "HKCR\\trevik.ZuTrevikHelper" "HKCR\\trevik.ZuTrevikHelper.1" \
  "HKCR\\TypeLib\\$LIBID" "HKCR\\Interface\\$IID"; do
  check "nothing registered: $key" key_absent "$key"
done

wine "$(cpath "$app/regfree-client.exe")" >"$e2e_work/client.out" 2>&1
status=$?
check_eq "the client's tests pass" 0 "$status"
[ "$status" -eq 0 ] || tr -d '\r' <"$e2e_work/client.out"

e2e_end
