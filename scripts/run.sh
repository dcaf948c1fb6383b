#!/usr/bin/env bash
# Sets up, builds, and opens the program under Wine in a language set: ko (default), ja or zh-TW.
# The program runs in its own private prefix (build/run-prefix), never in ~/.wine. Without a
# display an Xvfb server is started for it. The script returns when the dialog is closed.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-ko}" in
  ko) locale=ko_KR.UTF-8 ;;
  ja) locale=ja_JP.UTF-8 ;;
  zh-TW|zh_TW|tw) locale=zh_TW.UTF-8 ;;
  *) echo "usage: scripts/run.sh [ko|ja|zh-TW]" >&2; exit 2 ;;
esac

scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target StartupSettings
# The shipped program is the i686 build; it is built too, but 32-bit Wine cannot run it here, so
# the x86_64 build of the same sources is the one that opens.
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target StartupSettings

prefix=$PWD/build/run-prefix
scripts/make-wine-prefix.sh "$prefix" x11

if [ -z "${DISPLAY:-}" ]; then
  display=:${STARTUP_XVFB_DISPLAY:-77}
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null' EXIT
  export DISPLAY=$display
  sleep 1
  echo "run: no display, so the dialog opens on the virtual display $DISPLAY"
fi

echo "run: StartupSettings.exe with LC_ALL=$locale"
status=0
LC_ALL=$locale WINEPREFIX=$prefix WINEDEBUG=-all /usr/lib/wine/wine64 build/win64/StartupSettings.exe || status=$?
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
exit $status
