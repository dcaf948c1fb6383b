#!/usr/bin/env bash
# Sets up, builds the host, win64 and win32 presets, and runs every test: the host's platform-free
# code under the sanitizers, the shipped i686 program and its tests under 32-bit Wine, the x86_64
# build of the same sources under wine64, the harness checks, the fuzz smoke run and the release
# checks. Every step runs whatever failed before it, and the closing line counts every failure:
#   tests: N passed, N failed, N skipped
# Each ctest test is one entry there; so is each other step (set-up, a build, a harness check,
# the fuzz smoke run, each release check). The command exits 0 exactly when N failed is 0.
#
# STARTUP_FUZZ_SMOKE_SECONDS=0 leaves the fuzz smoke run out (counted as skipped).
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

passed=0 failed=0 skipped=0
failures=()

count_pass() { passed=$((passed + 1)); }
count_skip() {
  skipped=$((skipped + 1))
  echo "== skipped: $1"
}
count_fail() {
  failed=$((failed + 1))
  failures+=("$1")
  echo "== FAILED: $1"
}

# step NAME COMMAND...: runs one step that is not a ctest run, counted as one entry.
step() {
  local name=$1
  shift
  if "$@"; then count_pass; else count_fail "$name"; fi
}

# ctest_run PRESET: the preset's tests, each counted as an entry of its own. A failing test's
# output is printed as it fails and stays in the preset's LastTest.log, whose path is named.
ctest_run() {
  local preset=$1 log summary total fails skips
  log=build/$preset/Testing/test-command.log
  mkdir -p "build/$preset/Testing"
  echo "== $preset: test"
  ctest --preset "$preset" --output-on-failure 2>&1 | tee "$log"
  summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    count_fail "$preset: ctest gave no summary (see $log)"
    return
  fi
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  fails=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
  # ctest counts a skipped test among the passed.
  skips=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)' "$log")
  if [ "$skips" -gt 0 ]; then
    # ctest keeps a skipped test's words to itself: show why each was skipped.
    echo "== $preset: $skips skipped, because:"
    { grep -h '^SKIPPED:' -A1 "build/$preset/Testing/Temporary/LastTest.log" || true; } |
      grep -v '^--$' | sort -u | sed 's/^/   /'
  fi
  passed=$((passed + total - fails - skips))
  skipped=$((skipped + skips))
  if [ "$fails" -gt 0 ]; then
    failed=$((failed + fails))
    failures+=("$preset: $fails test(s), output in build/$preset/Testing/Temporary/LastTest.log")
    echo "== $preset: $fails failed; every test's output: build/$preset/Testing/Temporary/LastTest.log"
  fi
  echo "== $preset: tested, $((SECONDS - started)) s since the start"
}

step "set-up" scripts/setup.sh

built=()
for preset in host win64 win32; do
  echo "== $preset: configure and build"
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; then
    count_pass
    built+=("$preset")
  else
    count_fail "$preset: configure and build (its tests are not run)"
  fi
done
echo "== built in $((SECONDS - started)) s"

for preset in host win32 win64; do
  if [[ " ${built[*]} " == *" $preset "* ]]; then
    ctest_run "$preset"
  fi
done

echo "== harness: a crashing Windows test program must fail its test"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  step "harness: a crashing i686 test fails" scripts/prove-crash-fails.sh build/win32 \
    /usr/lib/wine/wine
else
  count_skip "harness: a crashing i686 test fails (32-bit Wine does not run here)"
fi
step "harness: a crashing x86_64 test fails" scripts/prove-crash-fails.sh build/win64 \
  /usr/lib/wine/wine64

fuzz_seconds=${STARTUP_FUZZ_SMOKE_SECONDS:-10}
if [ "$fuzz_seconds" = 0 ]; then
  count_skip "fuzz smoke (STARTUP_FUZZ_SMOKE_SECONDS=0)"
else
  echo "== fuzz smoke"
  step "fuzz smoke" scripts/fuzz.sh "$fuzz_seconds"
fi

# The release: the same commit built twice from clean clones must give the same program and
# package, and the package must work where a player unpacks it.
echo "== release: reproducible build and the package as a player unpacks it"
rm -rf build/release-check
step "release: reproducible build" scripts/check-reproducible.sh build/release-check
package_status=0
scripts/test-package.sh build/release-check/StartupSettings-*-win32.zip || package_status=$?
case $package_status in
  0) count_pass ;;
  77) count_skip "release: the package as a player unpacks it (32-bit Wine does not run here)" ;;
  *) count_fail "release: the package as a player unpacks it" ;;
esac

echo "== whole run: $((SECONDS - started)) s; build/ holds $(du -sh build 2>/dev/null | cut -f1)"
for failure in "${failures[@]}"; do
  echo "failed: $failure"
done
echo "tests: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
