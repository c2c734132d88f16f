#!/usr/bin/env bash
# Builds trevik.dll and shows what it offers: its exports and its type library.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/scripts/build.sh"
echo
echo "== $build/trevik.dll exports"
x86_64-w64-mingw32-objdump -p "$build/trevik.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p'
echo "== imported DLLs"
x86_64-w64-mingw32-objdump -p "$build/trevik.dll" | grep 'DLL Name'
echo "== resources"
wrestool -l "$build/trevik.dll"
