#!/usr/bin/env bash
# Tests the release package the way a player uses it, in the tests' private Wine prefix
# (build/wine-prefix, null graphics driver): for a Japanese and then a Korean player,
#   - unpacks the zip into a folder whose name holds the language's characters and a blank
#     ("C:\ソフト 表示\": two of its characters end in a 0x5C byte in code page 932) and checks the
#     files against SHA256SUMS;
#   - under that locale starts the program from there by its full path, checks the caption of the
#     language's set, opens and closes the version dialog, sets switches and a proxy, confirms, and
#     reads HKEY_CURRENT_USER\Software\Orvane\Tessaly Kr back;
#   - unpacks it again into an ASCII folder, starts it from there and checks that it shows what the
#     first start saved.
# The driving is done by tests/support/PackageDriver.cpp (built in build/win32).
#
#   scripts/test-package.sh [ZIP]   default: the newest dist/StartupSettings-*-win32.zip
#
# Exits 0 when every check holds, 1 when one fails, 77 (skipped) when 32-bit Wine cannot run a
# program here.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

zip=${1:-$(ls -t dist/StartupSettings-*-win32.zip 2>/dev/null | head -n 1 || true)}
[ -n "$zip" ] && [ -f "$zip" ] || {
  echo "test-package: no package given or found in dist/: run scripts/release.sh first"
  exit 1
}
zip=$(realpath "$zip")

tree=build/win32
[ -f "$tree/CMakeCache.txt" ] || cmake --preset win32 >/dev/null
cmake --build "$tree" --target package_driver wine32_probe wine_keepalive >/dev/null
driver=$top/$tree/tests/support/package_driver.exe
probe=$top/$tree/tests/support/wine32_probe.exe
keepalive=$top/$tree/tests/support/wine_keepalive.exe

prefix=$(sed -n 's/^WINE_PREFIX:PATH=//p' "$tree/CMakeCache.txt")
scripts/make-wine-prefix.sh "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
trap 'scripts/wine-server.sh stop "$prefix"' EXIT

if [ "$(wine "$probe" </dev/null 2>/dev/null | tr -d '\r')" != "wine32 probe: running" ]; then
  echo "SKIPPED: 32-bit Wine does not run i686 programs on this machine: the package is untested"
  exit 77
fi

# The program's Windows path, percent-encoded: the driver's arguments must stay ASCII.
encoded() {
  python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], safe=""))' "$1"
}

# unpack FOLDER: the package's files in C:\FOLDER\, as a player's unzip tool leaves them.
unpack() {
  local dir=$prefix/drive_c/$1
  rm -rf "$dir"
  mkdir -p "$dir"
  python3 -m zipfile -e "$zip" "$dir"
  (cd "$dir" && sha256sum --check --quiet SHA256SUMS)
}

status=0
# player LOCALE LANG FOLDER
player() {
  local locale=$1 lang=$2 folder=$3 plain='Games\Corvath'
  echo "== package: a player under $locale unpacks into C:\\$folder\\ (at $SECONDS s)"
  export LC_ALL=$locale
  scripts/wine-server.sh start "$prefix" /usr/lib/wine/wine "$keepalive"
  unpack "$folder"
  wine "$driver" save "$lang" "$(encoded "C:\\$folder\\StartupSettings.exe")" </dev/null |
    tr -d '\r' || status=1
  echo "-- stored:"
  wine reg query 'HKCU\Software\Orvane\Tessaly Kr' /s </dev/null 2>/dev/null | tr -d '\r' |
    grep -E 'REG_' || true
  echo "== package: a second start from C:\\$plain\\ reads it (at $SECONDS s)"
  unpack "Games/Corvath"
  wine "$driver" read "$lang" "$(encoded "C:\\$plain\\StartupSettings.exe")" </dev/null |
    tr -d '\r' || status=1
  scripts/wine-server.sh stop "$prefix"
}

echo "test-package: $(basename "$zip")"
player ja_JP.UTF-8 ja "ソフト 表示"
player ko_KR.UTF-8 ko "게임 설정"

if [ $status -eq 0 ]; then
  echo "test-package: in $SECONDS s, the package unpacks, runs, saves and reads back from Japanese, Korean and ASCII folders"
else
  echo "test-package: FAILED"
fi
exit $status
