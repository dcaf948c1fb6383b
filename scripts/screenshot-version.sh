#!/usr/bin/env bash
# Screenshots of the version information dialog of the real program under Wine and Xvfb, one per
# language set: docs/version-ko.png, docs/version-ja.png, docs/version-zh-TW.png. The program
# starts in its own prefix; the dialog is opened with the main dialog's system command (as the
# system menu's version item does) and its caption painted active.
# Usage: scripts/screenshot-version.sh [BUILD_TREE]   (default build/win64, configured already)
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(realpath "${1:-build/win64}")
cmake --build "$tree" --target StartupSettings shot_helper >/dev/null
helper=$tree/tests/support/shot_helper.exe

prefix=$PWD/build/version-shots-prefix
scripts/make-wine-prefix.sh "$prefix" x11
export WINEPREFIX=$prefix WINEDEBUG=-all
loader=/usr/lib/wine/wine64

display=:${STARTUP_VERSION_SHOTS_DISPLAY:-79}
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1

# The program's visible windows by X class (CJK titles do not match a name search), oldest first.
program_windows() {
  xdotool search --onlyvisible --class startupsettings.exe 2>/dev/null || true
}

# Waits until a visible window of the program other than those given exists; prints it.
wait_for_new_window() {
  local w
  for _ in $(seq 1 50); do
    for w in $(program_windows); do
      case " $* " in *" $w "*) ;; *) echo "$w"; return 0 ;; esac
    done
    sleep 0.2
  done
  return 1
}

shoot() { # locale set
  local locale=$1 set=$2 main version
  LC_ALL=$locale "$loader" "$tree/StartupSettings.exe" </dev/null >/dev/null 2>&1 &
  local pid=$!
  main=$(wait_for_new_window) || { echo "no main dialog for $set" >&2; return 1; }
  sleep 1
  LC_ALL=$locale "$loader" "$helper" version
  version=$(wait_for_new_window "$main") || { echo "no version dialog for $set" >&2; return 1; }
  # The pointer away from the links, so that none shows the hover colour.
  xdotool mousemove 799 599
  # Without a window manager nothing activates the new dialog: give it the X focus, which Wine
  # turns into activation, and paint the caption active (WM_NCACTIVATE) as well.
  xdotool windowfocus "$version"
  sleep 1
  LC_ALL=$locale "$loader" "$helper" activate
  sleep 0.5
  import -window "$version" "docs/version-$set.png"
  echo "docs/version-$set.png"
  wineserver -k >/dev/null 2>&1 || true
  wait $pid 2>/dev/null || true
}

mkdir -p docs
shoot ko_KR.UTF-8 ko
shoot ja_JP.UTF-8 ja
shoot zh_TW.UTF-8 zh-TW
