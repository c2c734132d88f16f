#!/usr/bin/env bash
# The main job as the README gives it, scripts/demo.sh, with its Wine prefix
# in a folder whose parent does not exist yet, as on a fresh clone: it makes
# the prefix, registers the library and the sample page server, and prints
# the frame titles. A second run reuses the prefix.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
fresh="$TREVIK_E2E_ROOT/demo-fresh"
prefix="$fresh/wine/demo"
failures=0

run_demo() {
  TREVIK_DEMO_PREFIX="$prefix" BUILD_DIR="$TREVIK_BUILD_DIR" "$root/scripts/demo.sh" 2>&1 | tr -d '\r'
}

expect_titles() { # the run, its output
  local titles
  titles=$(printf '%s\n' "$2" | sed -n 's/^  \[[0-9]\] //p')
  if [ "$titles" = '"Front page"
"Weather"
"Sport"
(empty)
(empty)' ]; then echo "ok: $1 prints the frame titles"; else
    echo "FAIL: $1 prints the frame titles"; printf '%s\n' "$2" | sed 's/^/    /'; failures=$((failures + 1)); fi
}

if [ -d "$prefix" ]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
rm -rf "$fresh"
expect_titles "the first run" "$(run_demo)"
expect_titles "a second run" "$(run_demo)"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true

if [ "$failures" -eq 0 ]; then echo PASS; else echo "FAILED: $failures check(s)"; exit 1; fi
