#!/usr/bin/env bash
# Runs a Windows test program under Wine in the build tree's test prefix.
# TREVIK_WINEPREFIX names the prefix; the CTest fixture creates it fresh and
# stops its server when the run ends.
set -u
prefix=${TREVIK_WINEPREFIX:?TREVIK_WINEPREFIX must name the test prefix}
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
