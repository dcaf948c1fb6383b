#!/usr/bin/env bash
# start PREFIX KEEPALIVE_EXE: a persistent wineserver and a keep-alive Windows process, all stdio
# detached so that no test waits on a pipe they inherited. stop PREFIX: end both, leaving nothing.
set -u
cmd=${1:?start|stop}; prefix=${2:?prefix}
export WINEPREFIX=$prefix WINEDEBUG=-all
case $cmd in
  start)
    wineserver -k >/dev/null 2>&1
    wineserver -p </dev/null >/dev/null 2>&1
    if [ -n "${3:-}" ]; then
      setsid /usr/lib/wine/wine64 "$3" </dev/null >/dev/null 2>&1 &
    fi
    # Wait until Wine's own background processes (services, explorer) are up, started from here
    # with no pipe of ctest's: started by the first test they would hold its output open.
    /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
    exit 0 ;;
  stop)
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    exit 0 ;;
esac
exit 2
