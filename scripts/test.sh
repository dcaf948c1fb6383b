#!/usr/bin/env bash
# Sets up, builds the host, win64 and win32 presets, and runs every test. Exits non-zero when
# anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

status=0
for preset in host win64 win32; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

for preset in host win64 win32; do
  echo "== $preset: test"
  ctest --preset "$preset" || status=1
done

echo "== harness: a crashing Windows test program must fail its test"
scripts/prove-crash-fails.sh build/win64 || status=1

if [ "${STARTUP_FUZZ_SMOKE_SECONDS:-10}" != 0 ] && [ -x scripts/fuzz.sh ]; then
  echo "== fuzz smoke"
  scripts/fuzz.sh "${STARTUP_FUZZ_SMOKE_SECONDS:-10}" || status=1
fi

exit $status
