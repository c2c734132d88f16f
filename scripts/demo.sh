#!/usr/bin/env bash
# Builds trevik.dll, registers it per user in the project's own Wine prefix
# (build/wine/demo) with regsvr32, and runs a script that calls getFrames on
# a sample page of frames through cscript.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/scripts/build.sh"

# TREVIK_DEMO_PREFIX puts the demo's prefix elsewhere (the tests use it).
export WINEPREFIX=${TREVIK_DEMO_PREFIX:-$build/wine/demo} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
dll=$(winpath "$build/trevik.dll")
pagehost=$(winpath "$build/tools/pagehost/trevikpagehost.dll")
clsid=$(sed -n 's/^set(TREVIK_CLSID_ZuTrevikHelper *\([0-9A-F-]*\))$/\1/p' "$root/cmake/Identifiers.cmake")

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Making the Wine prefix $WINEPREFIX"
  # Wine cannot make a prefix whose parent folder does not exist yet.
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1
  # wineboot returns while the prefix's first start still runs; what follows
  # must not race it.
  wineserver -w
fi
trap 'wineserver -k' EXIT

echo "== Registering trevik.dll for the current user"
wine regsvr32 /s "$dll"
wine reg query 'HKCU\Software\Classes\trevik.ZuTrevikHelper' /s | tr -d '\r' | sed '/^$/d'

# Windows merges HKCU\Software\Classes into HKEY_CLASSES_ROOT; Wine 8 does
# not, so the per-user class entries are copied there for activation.
echo "== Emulating Windows' merged classes view (Wine 8 does not merge HKCU\\Software\\Classes)"
for key in "CLSID\\{$clsid}" trevik.ZuTrevikHelper trevik.ZuTrevikHelper.1; do
  if ! copied=$(wine reg copy "HKCU\\Software\\Classes\\$key" "HKCR\\$key" /s /f 2>&1); then
    echo "Copying HKCU\\Software\\Classes\\$key to HKCR failed: $copied" >&2
    exit 1
  fi
done

echo "== Registering the sample page server"
wine regsvr32 /s "$pagehost"

echo "== cscript tools/demo/frames-demo.js"
wine cscript //nologo "$(winpath "$root/tools/demo/frames-demo.js")" | tr -d '\r'

echo
echo "To unregister, and to drop the copies made for the merged view:"
echo "  export WINEPREFIX=$WINEPREFIX"
echo "  wine regsvr32 /u '$dll'"
echo "  wine regsvr32 /u '$pagehost'"
for key in "CLSID\\{$clsid}" trevik.ZuTrevikHelper trevik.ZuTrevikHelper.1; do
  echo "  wine reg delete 'HKCR\\$key' /f"
done
