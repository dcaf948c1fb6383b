#!/usr/bin/env bash
# Builds the codec's libFuzzer targets into build/fuzz/ and runs each for a while.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 60)
# Prints the executions per target and their total; exits non-zero if any target found a fault.
# Inputs that reach a fault are saved in build/fuzz/artifacts/<target>/; the run's log is
# build/fuzz/<target>.log. New corpus entries go to build/fuzz/corpus/<target>/, the committed
# seeds in fuzz/corpus/<target>/ are only read.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/fuzz
cxx=${CXX_FUZZ:-clang++-14}
targets="Text6DecodeFuzz UnscramblePasswordFuzz ReadPortTextFuzz PasswordRoundTripFuzz"
codec="$root/settings/LaggedXorRandom.cpp $root/settings/Text6.cpp $root/settings/PasswordCodec.cpp $root/settings/PortText.cpp $root/framework/DecimalText.cpp"

mkdir -p "$out"
for target in $targets; do
    echo "building $target"
    # shellcheck disable=SC2086
    $cxx -std=c++20 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=undefined -I"$root" \
        "$root/fuzz/$target.cpp" $codec -o "$out/$target"
done

total=0
findings=0
for target in $targets; do
    mkdir -p "$out/corpus/$target" "$out/artifacts/$target"
    log=$out/$target.log
    status=0
    "$out/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$target/" \
        "$out/corpus/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    executions=${executions:-0}
    total=$((total + executions))
    if [ "$status" -eq 0 ]; then
        result="no findings"
    else
        findings=$((findings + 1))
        result="FINDING (exit $status), see $log and $out/artifacts/$target/"
    fi
    printf '%-24s %12s executions  %s\n' "$target" "$executions" "$result"
done
printf '%-24s %12s executions  %s finding(s), %s s per target\n' "total" "$total" "$findings" "$seconds"

[ "$findings" -eq 0 ]
