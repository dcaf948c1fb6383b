#!/usr/bin/env bash
# Runs an i686 test program, but only where 32-bit Wine is proven to run a program: under wine64
# alone an i686 program exits 0 having run nothing, which would look like a pass. Otherwise the
# test is reported as skipped (exit 77) with the reason.
set -u
prefix=${1:?prefix}; probe=${2:?probe exe}; shift 2
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ "$(wine "$probe" </dev/null 2>/dev/null | tr -d '\r')" = "wine32 probe: running" ]; then
  exec wine "$@"
fi
echo "SKIPPED: 32-bit Wine does not run i686 programs on this machine (the probe printed nothing);"
echo "         the i686 build is compiled and linked, its tests run only on the win64 preset here."
exit 77
