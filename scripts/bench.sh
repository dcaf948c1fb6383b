#!/usr/bin/env bash
# Makes the program's speed and size visible as figures (nothing here passes or fails a target):
#   - start-up in round trips to the system: the wineserver requests that the program's main
#     thread makes until it first waits for a message (its dialog is up), counted from one run of
#     each with WINEDEBUG=+server and the server started afresh (scripts/server-requests.py), for
#     the shipped i686 program and the floor built for i686 (bench/FloorDialog.c, a bare C program
#     showing the same Korean dialog and banner);
#   - start-up in time: the two started alternately under a warm wineserver, ROUNDS runs each,
#     timed by bench/StartupLauncher.c from process creation until the dialog is painted;
#   - size: the i686 executables' total, resource section and code (total minus resources);
#   - the peak working set of each, as the launcher reads it;
#   - one hover tick of the link label (bench/HoverTick.cpp);
#   - the password codec's throughput on the host (bench/CodecThroughput.cpp, g++ -O2).
# Everything is measured on the i686 build, the one players get, under 32-bit Wine. Where the
# machine's kernel runs no 32-bit x86 code, 32-bit Wine runs under qemu's emulation (see
# scripts/setup.sh) and the times are the emulator's: compare the ratio, not the milliseconds.
#
# Usage: scripts/bench.sh [WIN32_TREE]   (default build/win32)
# Environment: BENCH_ROUNDS (40), BENCH_REQUEST_KINDS (1: also list, kind by kind, the requests
# that the program makes more or fewer than the floor), BENCH_HOST_DIR (build/bench-host), BENCH_PREFIX (a private
# prefix inside WIN32_TREE), BENCH_LOCALE (ko_KR.UTF-8: the Korean set, as the floor shows).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

abs() { case $1 in /*) echo "$1" ;; *) echo "$root/$1" ;; esac; }
tree32=$(abs "${1:-build/win32}")
host_dir=$(abs "${BENCH_HOST_DIR:-build/bench-host}")
prefix=$(abs "${BENCH_PREFIX:-$tree32/bench-prefix}")
rounds=${BENCH_ROUNDS:-40}
locale=${BENCH_LOCALE:-ko_KR.UTF-8}
loader=/usr/lib/wine/wine

# Configures a tree from its preset the first time, then builds only what the bench needs.
build_tree() { # preset tree targets...
  local preset=$1 tree=$2
  shift 2
  [ -f "$tree/CMakeCache.txt" ] || cmake --preset "$preset" -B "$tree" >/dev/null
  cmake --build "$tree" -j2 --target "$@" >/dev/null
}
echo "bench: building" >&2
scripts/setup.sh >/dev/null
build_tree win32 "$tree32" StartupSettings bench_floor bench_launcher bench_hover_tick
mkdir -p "$host_dir"
g++ -O2 -std=c++20 -I"$root" -o "$host_dir/CodecThroughput" bench/CodecThroughput.cpp \
  settings/Text6.cpp settings/PasswordCodec.cpp settings/LaggedXorRandom.cpp

scripts/make-wine-prefix.sh "$prefix" null
export WINEPREFIX=$prefix WINEDEBUG=-all
out=$(mktemp -d)
# Wine's processes must not inherit a pipe of ours: every run writes to files.
wineserver -k >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$out"' EXIT

winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# One run of a program with the server's trace on, the server started afresh so that every run
# finds the same state; the launcher closes the dialog once it is painted.
count_requests() { # exe name
  wineserver -k >/dev/null 2>&1 || true
  WINEDEBUG=+server LC_ALL=$locale "$loader" "$tree32/bench/StartupLauncher.exe" -n 1 -w 0 \
    "$(winpath "$1")" </dev/null >"$out/trace-$2.run" 2>"$out/trace-$2.txt" || {
    echo "bench: the traced run of $2 failed:" >&2
    cat "$out/trace-$2.run" >&2
    exit 1
  }
  wineserver -k >/dev/null 2>&1 || true
  python3 scripts/server-requests.py "$out/trace-$2.txt" "$1" >"$out/requests-$2.txt"
  rm -f "$out/trace-$2.txt"
}
echo "bench: wineserver requests" >&2
count_requests "$tree32/StartupSettings.exe" program
count_requests "$tree32/bench/FloorDialog.exe" floor
wineserver -p </dev/null >/dev/null 2>&1

echo "bench: start-up, $rounds rounds" >&2
LC_ALL=$locale "$loader" "$tree32/bench/StartupLauncher.exe" -n "$rounds" -w 1 \
  "$(winpath "$tree32/StartupSettings.exe")" "$(winpath "$tree32/bench/FloorDialog.exe")" \
  </dev/null >"$out/startup.txt" 2>"$out/startup.err" || {
  echo "bench: the launcher failed:" >&2
  cat "$out/startup.err" "$out/startup.txt" >&2
  exit 1
}

echo "bench: hover tick" >&2
LC_ALL=$locale "$loader" "$tree32/bench/HoverTick.exe" </dev/null >"$out/tick.txt" 2>&1 || true

echo "bench: codec on the host" >&2
"$host_dir/CodecThroughput" >"$out/codec.txt" 2>/dev/null

# Sizes in bytes: total, and the .rsrc section's size as objdump -h reports it.
sizes() { # exe
  local total rsrc
  total=$(stat -c %s "$1")
  rsrc=$(i686-w64-mingw32-objdump -h "$1" | awk '$2 == ".rsrc" { print $3 }')
  echo "$total $((16#${rsrc:-0}))"
}
sizes "$tree32/StartupSettings.exe" >"$out/size-program.txt"
sizes "$tree32/bench/FloorDialog.exe" >"$out/size-floor.txt"

emulated=""
[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && emulated=", 32-bit code under $(qemu-i386 --version | head -n 1)"
echo "measured: $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)\
$([ -z "$(git status --porcelain --untracked-files=no)" ] || echo ' with uncommitted changes')"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'),\
 $("$loader" --version)$emulated"
kinds=()
[ "${BENCH_REQUEST_KINDS:-0}" = 1 ] && kinds=(--kinds)
python3 scripts/bench-table.py "$out" "${kinds[@]}"
