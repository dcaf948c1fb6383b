#!/usr/bin/env bash
# Sets up, builds the host, win64 and win32 presets, and runs every test: the host's platform-free
# code under the sanitizers, the shipped i686 program and its tests under 32-bit Wine, and the
# x86_64 build of the same sources under wine64. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

scripts/setup.sh

for preset in host win64 win32; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "== built in $((SECONDS - started)) s"

# Counts over every preset, for the closing line: ctest counts a skipped test among the passed.
status=0 passed=0 failed=0 skipped=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for preset in host win32 win64; do
  echo "== $preset: test"
  ctest --preset "$preset" 2>&1 | tee "$log" || true
  summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -z "$summary" ]; then
    echo "no ctest summary for $preset"
    status=1
    continue
  fi
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  fails=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
  skips=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)' "$log" || true)
  if [ "$skips" -gt 0 ]; then
    # ctest keeps a skipped test's words to itself: show why each was skipped.
    echo "== $preset: $skips skipped, because:"
    grep -h '^SKIPPED:' -A1 "build/$preset/Testing/Temporary/LastTest.log" | grep -v '^--$' |
      sort -u | sed 's/^/   /'
  fi
  passed=$((passed + total - fails - skips))
  failed=$((failed + fails))
  skipped=$((skipped + skips))
  [ "$fails" -eq 0 ] || status=1
  echo "== $preset: tested, $((SECONDS - started)) s since the start"
done

echo "== harness: a crashing Windows test program must fail its test"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  scripts/prove-crash-fails.sh build/win32 /usr/lib/wine/wine || status=1
fi
scripts/prove-crash-fails.sh build/win64 /usr/lib/wine/wine64 || status=1

if [ "${STARTUP_FUZZ_SMOKE_SECONDS:-10}" != 0 ] && [ -x scripts/fuzz.sh ]; then
  echo "== fuzz smoke"
  scripts/fuzz.sh "${STARTUP_FUZZ_SMOKE_SECONDS:-10}" || status=1
fi

# == release: the same commit built twice from clean clones must give the same program and
# package, and the package must work where a player unpacks it. One entry each in the line below.
echo "== release: reproducible build and the package as a player unpacks it"
rm -rf build/release-check
if scripts/check-reproducible.sh build/release-check; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)) status=1
fi
package_status=0
scripts/test-package.sh build/release-check/StartupSettings-*-win32.zip || package_status=$?
case $package_status in
  0) passed=$((passed + 1)) ;;
  77) skipped=$((skipped + 1)) ;;
  *) failed=$((failed + 1)) status=1 ;;
esac

echo "== whole run: $((SECONDS - started)) s; build/ holds $(du -sh build | cut -f1)"
echo "tests: $passed passed, $failed failed, $skipped skipped"
exit $status
