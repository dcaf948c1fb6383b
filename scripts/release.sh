#!/usr/bin/env bash
# The release command: builds the shipped i686 program in a fresh build folder (build/release) and
# writes the players' package
#
#   dist/StartupSettings-<file version>-win32.zip
#     StartupSettings.exe      the program
#     README-en.txt, README-ja.txt, README-ko.txt, README-zh-TW.txt
#                              the read-me for players (docs/release/), UTF-8 with a byte-order
#                              mark and CRLF line ends so that every Notepad shows it right
#     SHA256SUMS               the SHA-256 of each of the files above
#
# The file version is read back from the built program's version resource (res/version.h).
# The package is reproducible: the same commit gives the same bytes wherever and whenever it is
# built. The program carries no time stamp and no build folder (CMakeLists.txt), and the zip holds
# its files in name order, each dated to the commit's time (or SOURCE_DATE_EPOCH), with fixed
# permissions and no extra fields.
#
# A release is built from a commit: uncommitted changes to tracked files stop it, unless
# STARTUP_RELEASE_DIRTY=1 (for trying the script out; such a package matches no commit).
set -euo pipefail
cd "$(dirname "$0")/.."

[ "${STARTUP_SKIP_SETUP:-0}" = 1 ] || scripts/setup.sh

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  if [ "${STARTUP_RELEASE_DIRTY:-0}" != 1 ]; then
    echo "release: the tree has uncommitted changes; a release is built from a commit" >&2
    echo "release: (STARTUP_RELEASE_DIRTY=1 builds it anyway, matching no commit)" >&2
    exit 1
  fi
  echo "release: WARNING: building with uncommitted changes; this package matches no commit"
fi
commit=$(git rev-parse HEAD)
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct HEAD)}

build=build/release
rm -rf "$build"
mkdir -p "$build"
echo "== release: build the i686 program in $build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target StartupSettings -j 2 2>&1 | tee "$build/build.log"
if grep -q "warning:" "$build/build.log"; then
  echo "release: the build printed warnings; a release is built warning-free" >&2
  exit 1
fi

program=$build/StartupSettings.exe
version=$(python3 scripts/file-version.py "$program")
name=StartupSettings-$version-win32

stage=$build/package
mkdir -p "$stage"
cp "$program" "$stage/StartupSettings.exe"
for readme in docs/release/README-*.txt; do
  python3 - "$readme" "$stage/$(basename "$readme")" "$version" <<'PY'
import sys
source, target, version = sys.argv[1:]
text = open(source, encoding="utf-8").read().replace("@VERSION@", version)
open(target, "wb").write(b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8"))
PY
done
files=$(cd "$stage" && LC_ALL=C ls)
(cd "$stage" && sha256sum $files >SHA256SUMS)

mkdir -p dist
zip=dist/$name.zip
rm -f "$zip"
python3 - "$zip" "$epoch" "$stage" <<'PY'
import os, sys, time, zipfile
target, epoch, stage = sys.argv[1], int(sys.argv[2]), sys.argv[3]
# Zip dates are local calendar times from 1980 on: the commit's time in UTC, fixed for everyone.
date_time = time.gmtime(max(epoch, 315532800))[:6]
with zipfile.ZipFile(target + ".part", "w") as archive:
    for name in sorted(os.listdir(stage), key=lambda n: n.encode()):
        entry = zipfile.ZipInfo(name, date_time)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 3                    # Unix, so that the permissions below count
        entry.external_attr = 0o100644 << 16       # a plain file, rw-r--r--
        with open(os.path.join(stage, name), "rb") as f:
            archive.writestr(entry, f.read(), compresslevel=9)
os.replace(target + ".part", target)
PY

echo "== release: $zip"
echo "commit            $commit"
echo "file version      $version"
echo "date in the zip   $(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S UTC')"
echo "program           $(stat -c %s "$program") bytes  sha256 $(sha256sum "$program" | cut -d' ' -f1)"
echo "package           $(stat -c %s "$zip") bytes  sha256 $(sha256sum "$zip" | cut -d' ' -f1)"
