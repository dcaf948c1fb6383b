#!/usr/bin/env bash
# start PREFIX LOADER KEEPALIVE_EXE: a persistent wineserver and a keep-alive Windows process run
# by LOADER, all stdio detached so that no test waits on a pipe they inherited.
# stop PREFIX: end both, leaving nothing.
set -euo pipefail
cmd=${1:?start|stop}; prefix=${2:?prefix}
export WINEPREFIX=$prefix WINEDEBUG=-all
case $cmd in
  start)
    loader=${3:?loader}; keepalive=${4:?keep-alive program}
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1
    # Without 32-bit Wine the i686 keep-alive cannot run; the i686 tests then skip anyway.
    if [ -x "$loader" ]; then
      setsid "$loader" "$keepalive" </dev/null >/dev/null 2>&1 &
    fi
    # Wait until Wine's own background processes (services, explorer) are up, started from here
    # with no pipe of ctest's: started by the first test they would hold its output open.
    /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  stop)
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    ;;
  *)
    exit 2 ;;
esac
