#!/usr/bin/env bash
# Screenshots of the real program under Wine and Xvfb, one set per language: the main dialog
# (docs/settings-<set>.png) and the version information dialog opened with the main dialog's
# system command, as the system menu's version item does (docs/version-<set>.png).
# Usage: scripts/screenshots.sh [BUILD_TREE]   (default build/win32, the shipped i686 program,
# configured already)
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(realpath "${1:-build/win32}")
cmake --build "$tree" --target StartupSettings shot_helper >/dev/null
helper=$tree/tests/support/shot_helper.exe

prefix=$PWD/build/shots-prefix
scripts/make-wine-prefix.sh "$prefix" x11
export WINEPREFIX=$prefix WINEDEBUG=-all
loader=/usr/lib/wine/wine # runs i686 and x86_64 programs alike

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>"$fifo.err" &
xvfb_pid=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb_pid 2>/dev/null || true; rm -f "$fifo" "$fifo.err"' EXIT
if ! read -r number <"$fifo"; then
  echo "screenshots: Xvfb did not start:" >&2
  cat "$fifo.err" >&2
  exit 1
fi
export DISPLAY=:$number

# The program's visible windows by X class (CJK titles do not match a name search).
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

# Without a window manager nothing activates a window: give it the X focus, which Wine turns into
# activation, paint the caption active (WM_NCACTIVATE) as well, and take the picture.
shoot_window() { # window locale file
  xdotool mousemove 1023 767 # away from the links, so that none shows the hover colour
  xdotool windowfocus "$1"
  sleep 1
  LC_ALL=$2 "$loader" "$helper" activate
  sleep 0.5
  import -window "$1" "$3"
  echo "$3"
}

shoot() { # locale set
  local locale=$1 set=$2 main version
  LC_ALL=$locale "$loader" "$tree/StartupSettings.exe" </dev/null >/dev/null 2>&1 &
  local pid=$!
  main=$(wait_for_new_window) || { echo "no main dialog for $set" >&2; return 1; }
  sleep 1
  shoot_window "$main" "$locale" "docs/settings-$set.png"
  LC_ALL=$locale "$loader" "$helper" version
  version=$(wait_for_new_window "$main") || { echo "no version dialog for $set" >&2; return 1; }
  shoot_window "$version" "$locale" "docs/version-$set.png"
  wineserver -k >/dev/null 2>&1 || true
  wait $pid 2>/dev/null || true
}

mkdir -p docs
shoot ko_KR.UTF-8 ko
shoot ja_JP.UTF-8 ja
shoot zh_TW.UTF-8 zh-TW
