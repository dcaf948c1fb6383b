#!/usr/bin/env bash
# Runs an i686 test program where 32-bit Wine was missing when the build was configured, but only
# if a probe now proves that 32-bit Wine runs a program: under wine64 alone an i686 program exits
# 0 having run nothing, which would look like a pass. Otherwise the test is reported as skipped
# (exit 77) with the reason.
set -euo pipefail
prefix=${1:?prefix}; probe=${2:?probe exe}; shift 2
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ "$(wine "$probe" </dev/null 2>/dev/null | tr -d '\r' || true)" = "wine32 probe: running" ]; then
  exec wine "$@"
fi
echo "SKIPPED: 32-bit Wine does not run i686 programs on this machine (wine32:i386 is missing;"
echo "         scripts/setup.sh says why). The i686 build is compiled and linked, not tested."
exit 77
