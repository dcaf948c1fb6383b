#!/usr/bin/env bash
# Takes screenshots of the main dialog of the real program under Wine and Xvfb, one per language
# set: docs/settings-<set>.png. (scripts/screenshot-version.sh does the version dialog.)
# Usage: scripts/screenshots.sh   (after a win64 build)
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD/build/win64
cmake --build "$tree" --target StartupSettings shot_helper >/dev/null
prefix=$PWD/build/shots-prefix
scripts/make-wine-prefix.sh "$prefix" x11
export WINEPREFIX=$prefix WINEDEBUG=-all
loader=/usr/lib/wine/wine64

display=:${STARTUP_SHOTS_DISPLAY:-78}
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1

# The dialog window of the program, by X class (CJK titles do not match a name search).
wait_for_window() {
  local w=""
  for _ in $(seq 1 50); do
    w=$(xdotool search --onlyvisible --class "$1" 2>/dev/null | tail -n 1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}

shoot() { # locale set
  local locale=$1 set=$2
  LC_ALL=$locale "$loader" "$tree/StartupSettings.exe" </dev/null >/dev/null 2>&1 &
  local pid=$!
  local w
  w=$(wait_for_window startupsettings.exe) || { echo "no window for $set"; kill $pid; return 1; }
  # The pointer out of the way; without a window manager nothing activates the dialog: give it
  # the X focus, which Wine turns into activation, and paint its caption active as well.
  xdotool mousemove 1023 767
  xdotool windowfocus "$w"
  sleep 1
  LC_ALL=$locale "$loader" "$tree/tests/support/shot_helper.exe" activate
  sleep 0.5
  import -window "$w" "docs/settings-$set.png"
  echo "docs/settings-$set.png"
  wineserver -k >/dev/null 2>&1 || true
  wait $pid 2>/dev/null || true
}

mkdir -p docs
shoot ko_KR.UTF-8 ko
shoot ja_JP.UTF-8 ja
shoot zh_TW.UTF-8 zh-TW
