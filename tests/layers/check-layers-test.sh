#!/usr/bin/env bash
# Runs cmake/CheckLayers.cmake on throwaway trees, one include at a time, and
# checks what it lets through and what it reports.
#   check-layers-test.sh <repository root>
set -eu
root=$1
cmake=${CMAKE:-cmake}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

mkdir "$tree/cmake"
cp "$root/cmake/Layers.cmake" "$root/cmake/CheckLayers.cmake" "$tree/cmake/"
for layer in platform typelib resources frames automation registrar registration module; do
  mkdir "$tree/$layer"
  printf '#include "%s/Own.h"\n' "$layer" >"$tree/$layer/Own.cpp"
done
mkdir "$tree/com"  # an empty layer folder is fine

check() {  # check pass|fail <what is expected in the output> <file> <file text>
  expect=$1 want=$2 file=$3
  printf '%b' "$4" >"$tree/$file"
  status=0
  out=$("$cmake" -DSOURCE_DIR="$tree" -P "$tree/cmake/CheckLayers.cmake" 2>&1) || status=$?
  rm -f "$tree/$file"
  if { [ "$expect" = pass ] && [ "$status" -ne 0 ]; } ||
     { [ "$expect" = fail ] && [ "$status" -eq 0 ]; } ||
     ! grep -qF -- "$want" <<<"$out"; then
    printf 'FAIL: %s expected to %s with "%s"; exit %s:\n%s\n' "$file" "$expect" "$want" "$status" "$out" >&2
    exit 1
  fi
}

# The include sits on line 3, after a blank line, so the reported number is checked too.
while IFS='|' read -r expect file include want; do
  check "$expect" "$want" "$file" "// a file\n\n$include\n"
done <<'TABLE'
pass|frames/Down.cpp|#include "platform/Y.h"|no include reaches up
fail|registrar/X.cpp|#include "module/Y.h"|registrar/X.cpp:3: registrar includes module/Y.h, from module, which registrar may not use
fail|frames/Side.cpp|#include "registrar/Z.h"|frames/Side.cpp:3: frames includes registrar/Z.h, from registrar
fail|registrar/Ids.cpp|#include "Identifiers.h"|registrar/Ids.cpp:3: registrar includes Identifiers.h, from typelib
pass|automation/Ids.h|#include "Identifiers.h"|no include reaches up
fail|registrar/Spaced.h|  #  include "module/Y.h"|registrar/Spaced.h:3:
pass|registrar/Beside.cpp|#include "Neighbour.h"|no include reaches up
pass|registrar/Angle.cpp|#include <module/Y.h>|no include reaches up
fail|module/Tool.rc|#include "tools/Y.h"|module/Tool.rc:3: module includes tools/Y.h, which is outside
TABLE

# A folder named in the layer list must exist.
rmdir "$tree/com"
check fail "com does not exist" platform/Any.h ''
echo "include layer checker: all cases behave"
