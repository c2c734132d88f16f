#!/usr/bin/env bash
# The release as a user takes it away: installs the build into a folder and
# checks what is there. The library is stripped, keeps its exports and
# imports, stays small and links to its debug information; the type library
# file is the one the library carries; the header serves a C++ client that,
# with the installed library registered, calls getFrames early-bound.
set -u
. "$TREVIK_E2E_LIB"
e2e_begin release
here=$(cd "$(dirname "$0")" && pwd)
release="$e2e_work/trevik"
max_bytes=$((150 * 1024))

check "cmake --install lays the release out" cmake --install "$TREVIK_BUILD_DIR" --prefix "$release"
for file in trevik.dll trevik.dll.debug trevik.tlb trevik.sxs.manifest trevik-regcapture.exe \
            include/trevik.h INSTALL.txt samples/frames.js samples/frames.vbs samples/client.cpp; do
  check "release holds $file" test -s "$release/$file"
done

dll="$release/trevik.dll"
check "exports and imports of the released library" bash "$TREVIK_CHECK_TABLES" "$dll"
size=$(stat -c %s "$dll")
check "the released library is at most 150 KiB ($size bytes)" test "$size" -le "$max_bytes"
check_eq "the released library carries no debug sections" "" \
  "$(x86_64-w64-mingw32-objdump -h "$dll" | awk '$2 ~ /^\.debug/ { print $2 }')"
check "its debug link names trevik.dll.debug" \
  grep -q "trevik.dll.debug" <(x86_64-w64-mingw32-objdump -s -j .gnu_debuglink "$dll")
check "trevik.tlb is the type library the library carries" \
  cmp -s "$release/trevik.tlb" <(wrestool -x --raw --type=TYPELIB --name=1 "$dll")

compile() { # source, output
  x86_64-w64-mingw32-g++-posix -municode -static -I "$release/include" -I "$release/samples" "$1" -o "$2" \
    -lole32 -loleaut32 -luuid
}
check "the C++ sample compiles against the release header" compile "$release/samples/client.cpp" "$e2e_work/sample.exe"
check "a test client compiles against the release header" compile "$here/ReleaseClient.cpp" "$e2e_work/client.exe"

cp "$TREVIK_PAGEHOST" "$e2e_work/trevikpagehost.dll"
check "register the released library" wine regsvr32 /s "$(cpath "$dll")"
check "register the sample page server" wine regsvr32 /s "$(cpath "$e2e_work/trevikpagehost.dll")"
emulate_merged_classes_view "CLSID\\{$TREVIK_CLSID}" trevik.ZuTrevikHelper trevik.ZuTrevikHelper.1
check_eq "the sample's code calls getFrames early-bound" \
  "type library loads and describes IZuTrevikHelper
2 embedded objects:
  News
  Weather" \
  "$(wine "$(cpath "$e2e_work/client.exe")" "$(cpath "$release/trevik.tlb")" 2>&1 | tr -d '\r')"

e2e_end
