#!/usr/bin/env bash
# Builds everything and packs the release: build/trevik-<version>-win64.zip.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/scripts/build.sh"
cd "$build"
cpack --config CPackConfig.cmake
