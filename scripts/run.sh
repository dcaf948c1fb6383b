#!/usr/bin/env bash
# Sets up, builds, and opens the shipped i686 program under 32-bit Wine in a language set:
# ko (default), ja or zh-TW. The program runs in its own private prefix (build/run-prefix), never
# in ~/.wine, so what it saves lies in build/run-prefix/user.reg. Without a display a virtual one
# (Xvfb) is started for it and the script says how to look at it and how to close the program.
# The script returns when the dialog is closed.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-ko}" in
  ko) locale=ko_KR.UTF-8 ;;
  ja) locale=ja_JP.UTF-8 ;;
  zh-TW|zh_TW|tw) locale=zh_TW.UTF-8 ;;
  *) echo "usage: scripts/run.sh [ko|ja|zh-TW]" >&2; exit 2 ;;
esac

scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target StartupSettings

prefix=$PWD/build/run-prefix
export WINEPREFIX=$prefix WINEDEBUG=-all
scripts/make-wine-prefix.sh "$prefix" x11

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
  xvfb_pid=$!
  read -r number <"$fifo" || { echo "run: Xvfb did not start" >&2; rm -f "$fifo"; exit 1; }
  rm -f "$fifo"
  export DISPLAY=:$number
  cat <<MSG
run: there is no display, so the dialog opens on the virtual display $DISPLAY (Xvfb).
     Look at it:  DISPLAY=$DISPLAY import -window root shot.png   (ImageMagick; then open shot.png)
     Close it:    press Ctrl-C here, or  WINEPREFIX=$prefix wineserver -k
MSG
fi

cat <<MSG
run: StartupSettings.exe (i686) with LC_ALL=$locale
     What it saves: WINEPREFIX=$prefix wine reg query 'HKCU\\Software\\Orvane\\Tessaly Kr' /s
     (or read the [Software\\\\Orvane\\\\Tessaly Kr\\\\...] sections of $prefix/user.reg)
MSG
status=0
LC_ALL=$locale wine build/win32/StartupSettings.exe || status=$?
exit $status
