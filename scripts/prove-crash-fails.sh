#!/usr/bin/env bash
# Proves that the test harness cannot pass a crashing test: a throwaway ctest project runs a
# program that dies of an access violation through the same emulator and wineserver set-up as the
# suite, and this script succeeds only when ctest reports that test as failed.
# Usage: prove-crash-fails.sh BUILD_TREE LOADER   (LOADER: /usr/lib/wine/wine for i686 programs,
# /usr/lib/wine/wine64 for x86_64 ones)
set -euo pipefail
tree=$(cd "${1:?usage: prove-crash-fails.sh BUILD_TREE LOADER}" && pwd)
loader=${2:?usage: prove-crash-fails.sh BUILD_TREE LOADER}
prefix=$(sed -n 's/^WINE_PREFIX:PATH=//p' "$tree/CMakeCache.txt")
here=$(cd "$(dirname "$0")" && pwd)

cmake --build "$tree" --target crash_probe wine_keepalive wine_prefix >/dev/null
probe=$tree/tests/support/crash_probe.exe
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cat >"$scratch/CTestTestfile.cmake" <<CT
add_test(wine_server_start "$here/wine-server.sh" start "$prefix" "$loader" "$tree/tests/support/wine_keepalive.exe")
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine_server)
add_test(crashing_test /usr/bin/env WINEPREFIX=$prefix WINEDEBUG=-all $loader "$probe")
set_tests_properties(crashing_test PROPERTIES FIXTURES_REQUIRED wine_server)
add_test(wine_server_stop "$here/wine-server.sh" stop "$prefix")
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_server)
CT
ctest_status=0
(cd "$scratch" && ctest --output-on-failure) >"$scratch/log" 2>&1 || ctest_status=$?
if [ $ctest_status -ne 0 ] && grep -q "crashing_test .*Failed" "$scratch/log" \
   && ! grep -q "still alive" "$scratch/log"; then
  echo "harness check: the crashing program failed its test (ctest exit $ctest_status), as it must"
  exit 0
fi
echo "harness check FAILED: a crashing program was not reported as a failure"
cat "$scratch/log"
exit 1
