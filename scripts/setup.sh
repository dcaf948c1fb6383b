#!/usr/bin/env bash
# Installs, with apt-get and only when missing, every Debian package the project needs to build,
# test, run and take screenshots. Safe to run again: it installs nothing that is already there.
set -euo pipefail

packages=(
  cmake make g++ python3                       # host build and the scripts
  g++-mingw-w64-x86-64 g++-mingw-w64-i686      # both Windows compilers (posix thread model inside)
  wine wine64                                  # running and testing the Windows build
  xvfb xauth xdotool imagemagick               # a display for the run command and screenshots
  googletest                                   # GoogleTest sources, built with each toolchain
  clang-14 libclang-rt-14-dev                  # libFuzzer targets on the host
  fonts-noto-cjk fonts-nanum fonts-wine        # CJK dialog fonts, and Wine's own (Marlett)
  icoutils                                     # regenerating the icon and cursor art
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
