#!/usr/bin/env bash
# Registrations in several processes at once take turns: three processes each
# register and unregister alternately, 50 calls each, and every call succeeds.
set -u
. "$(dirname "$0")/lib.sh"
e2e_begin concurrency

dll=$(install_dll bin)

worker() { # number
  local call
  for call in $(seq 50); do
    if [ $((call % 2)) -eq 1 ]; then call_export "$dll" DllRegisterServer; else call_export "$dll" DllUnregisterServer; fi
  done > "$e2e_work/worker-$1"
}

# Short-lived processes starting while the server of the prefix shuts down
# wait seconds each for a new one; a server that stays keeps them quick. The
# first process starts the prefix's services, which live as long as the server
# and keep its output open: start them here, away from the workers' pipes.
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null
worker 1 & worker 2 & worker 3 &
wait
results=$(cat "$e2e_work"/worker-*)
check_eq "150 calls returned" 150 "$(printf '%s\n' "$results" | grep -c '^0x')"
check_eq "no call failed" "" "$(printf '%s\n' "$results" | grep -v '^0x00000000$' | sort | uniq -c)"

check "register at the end" wine regsvr32 /s "$dll"
check_registered_entries "$dll"

wineserver -k
e2e_end
