#!/usr/bin/env bash
# run-gtest.sh [EMULATOR...] PROGRAM [ARGS...]: runs one GoogleTest program as a ctest test and
# passes its exit status on, but fails a run that ended without GoogleTest's closing summary.
# Under Wine a program whose wineserver goes away (another run killing the prefix's server, say)
# exits 0 wherever it was, and would otherwise pass having run half its cases.
set -uo pipefail
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
if [ "$status" -eq 0 ] && ! grep -qE '^\[  PASSED  \] [0-9]+ tests?\.' "$output"; then
  echo "run-gtest: the program exited 0 without GoogleTest's summary: it did not run to its end"
  exit 1
fi
exit "$status"
