#!/usr/bin/env bash
# create DIR: makes a fresh Wine prefix in DIR for one test run.
# stop DIR:   stops that prefix's server (and only that one).
set -eu
action=$1 prefix=$2
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
case $action in
  create)
    if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    test -f "$prefix/system.reg"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 create|stop DIR" >&2
    exit 2
    ;;
esac
