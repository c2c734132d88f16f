#!/usr/bin/env bash
# Builds everything and runs every test under Wine; exits non-zero on any failure.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/scripts/build.sh"
cd "$build"
ctest --output-on-failure --timeout 900
