#!/usr/bin/env bash
# start PREFIX LOADER KEEPALIVE_EXE: a persistent wineserver and a keep-alive Windows process run
# by LOADER, all stdio detached so that no test waits on a pipe they inherited.
# stop PREFIX: end both, leaving nothing, once no other run still uses the prefix.
#
# Several runs may share a prefix at once (the win32 and win64 suites of one checkout, or a suite
# and the harness check): each run is one holder, named by the process that runs this script
# (ctest, or the script that drives Wine itself). start joins a server that is already up instead
# of killing it, and stop ends the server only when the last live holder leaves. A run that died
# without stopping leaves a holder whose process is gone: it is dropped at the next start or stop.
set -euo pipefail
cmd=${1:?start|stop}; prefix=${2:?prefix}
holder=${WINE_SERVER_HOLDER:-$PPID}
export WINEPREFIX=$prefix WINEDEBUG=-all
holders=$prefix/.test-runs
mkdir -p "$holders"
# Start and stop of several runs take turns. The lock's descriptor is closed for every Wine
# process started here (9>&-): the server and the keep-alive outlive this script and would hold it.
exec 9>"$holders/.lock"
flock 9

# Drops the holders whose process has ended; succeeds when none is left.
prune_holders() {
  local left=0 entry
  for entry in "$holders"/*; do
    [ -e "$entry" ] || continue
    if kill -0 "$(basename "$entry")" 2>/dev/null; then
      left=$((left + 1))
    else
      rm -f "$entry"
    fi
  done
  [ "$left" -eq 0 ]
}

case $cmd in
  start)
    loader=${3:?loader}; keepalive=${4:?keep-alive program}
    if prune_holders; then
      # No live run uses the prefix: whatever server is left over is a dead run's.
      wineserver -k >/dev/null 2>&1 9>&- || true
      wineserver -w >/dev/null 2>&1 9>&- || true
    fi
    touch "$holders/$holder"
    # Starts a server, or returns at once when one is already up for this prefix.
    wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
    # Without 32-bit Wine the i686 keep-alive cannot run; the i686 tests then skip anyway.
    if [ -x "$loader" ]; then
      setsid "$loader" "$keepalive" </dev/null >/dev/null 2>&1 9>&- &
    fi
    # Wait until Wine's own background processes (services, explorer) are up, started from here
    # with no pipe of ctest's: started by the first test they would hold its output open.
    /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 9>&-
    ;;
  stop)
    rm -f "$holders/$holder"
    if prune_holders; then
      wineserver -k >/dev/null 2>&1 9>&- || true
      wineserver -w >/dev/null 2>&1 9>&- || true
    fi
    ;;
  *)
    exit 2 ;;
esac
