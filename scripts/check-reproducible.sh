#!/usr/bin/env bash
# Proves that the release is reproducible: clones the current commit twice into fresh folders of
# different path lengths, runs the release command in each, one after the other and under a
# different time zone, umask and locale, and compares the SHA-256 of the two programs and of the
# two packages. Exits non-zero unless both pairs are identical.
#
#   scripts/check-reproducible.sh [FOLDER]   FOLDER, if given, receives the first build's package
#
# Only committed work is checked: the clones hold HEAD, not the working tree's changes.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
keep=${1:-}
commit=$(git rev-parse HEAD)

first=$(mktemp -d /tmp/repro.XXXXXX)
second=$(mktemp -d /tmp/reproducible-release-second-build.XXXXXXXXXXXX)
trap 'rm -rf "$first" "$second"' EXIT

# build FOLDER ENV...: the release of $commit from a clean clone in FOLDER/src, timed.
build() {
  local dir=$1/src
  shift
  git clone --quiet --no-checkout "$top" "$dir"
  git -C "$dir" checkout --quiet --detach "$commit"
  local start=$SECONDS
  # Compiled from scratch each time: no compiler cache may hand one build the other's objects.
  if ! (cd "$dir" && env STARTUP_SKIP_SETUP=1 CCACHE_DISABLE=1 "$@" scripts/release.sh >"$dir.log" 2>&1); then
    cat "$dir.log"
    echo "reproducible: the release command failed in $dir"
    exit 1
  fi
  echo "built in $dir: $((SECONDS - start)) s"
}

echo "reproducible: commit $commit"
build "$first" TZ=UTC LC_ALL=C.UTF-8
(umask 077 && build "$second" TZ=Asia/Seoul LC_ALL=ko_KR.UTF-8)

a_exe=$first/src/build/release/StartupSettings.exe
b_exe=$second/src/build/release/StartupSettings.exe
a_zip=$(ls "$first"/src/dist/StartupSettings-*-win32.zip)
b_zip=$(ls "$second"/src/dist/StartupSettings-*-win32.zip)

status=0
compare() {
  local what=$1 a=$2 b=$3 sum_a sum_b
  sum_a=$(sha256sum "$a" | cut -d' ' -f1)
  sum_b=$(sha256sum "$b" | cut -d' ' -f1)
  printf '%-8s %8s bytes  first  %s\n' "$what" "$(stat -c %s "$a")" "$sum_a"
  printf '%-8s %8s bytes  second %s\n' "$what" "$(stat -c %s "$b")" "$sum_b"
  if [ "$sum_a" != "$sum_b" ] || [ "$(basename "$a")" != "$(basename "$b")" ]; then
    echo "reproducible: FAILED: the two ${what}s differ ($(cmp -l "$a" "$b" 2>/dev/null | wc -l) bytes)"
    cmp -l "$a" "$b" 2>/dev/null | head -n 10 || true
    status=1
  fi
}
compare program "$a_exe" "$b_exe"
compare package "$a_zip" "$b_zip"

[ $status -ne 0 ] ||
  echo "reproducible: both builds gave the same program and the same $(basename "$a_zip")"
if [ -n "$keep" ]; then
  mkdir -p "$keep"
  cp "$a_zip" "$keep/"
fi
exit $status
