#!/usr/bin/env python3
"""Prints the bench table from the raw outputs that scripts/bench.sh collected in one folder:
startup.txt (the launcher's run lines), tick.txt, codec.txt, size-program.txt and size-floor.txt
("<total bytes> <.rsrc bytes>"). The last line sums it up as
"startup-ratio R code-kb K tick-us T tick-ratio Q"."""
import statistics
import sys
from pathlib import Path

PROGRAM = "StartupSettings.exe"
FLOOR = "FloorDialog.exe"
# The targets in force, which the figures are compared with; shown, never enforced. The hover
# tick has no target of its own in microseconds: under Wine GetCursorPos alone is a wineserver
# round trip, so the tick is judged against that call, which every tick must make.
TARGET_RATIO = 1.05
TARGET_CODE_KB = 80
TARGET_TICK_RATIO = 1.3


def key_values(line):
    """'a 1 b 2' -> {'a': '1', 'b': '2'}"""
    words = line.split()
    return dict(zip(words[0::2], words[1::2]))


def read_runs(path):
    """{program: {round: (ms, peak kb, exit code)}} from the measured (not warm-up) runs."""
    runs = {}
    for line in path.read_text().replace("\r", "").splitlines():
        words = line.split()
        if len(words) < 3 or words[0] != "run":
            continue
        values = key_values(" ".join(words[3:]))
        runs.setdefault(words[2], {})[int(words[1])] = (
            float(values["startup-ms"]),
            int(values["peak-ws-kb"]),
            int(values["exit"]),
        )
    return runs


def mark(value, target):
    return "meets" if value <= target else "misses"


def main(folder):
    folder = Path(folder)
    runs = read_runs(folder / "startup.txt")
    program, floor = runs[PROGRAM], runs[FLOOR]
    rounds = sorted(set(program) & set(floor))
    failed = [r for r in rounds if program[r][0] < 0 or floor[r][0] < 0]
    rounds = [r for r in rounds if r not in failed]
    ratios = [program[r][0] / floor[r][0] for r in rounds]
    ratio = statistics.median(ratios)

    def startup(runs_of):
        times = [runs_of[r][0] for r in rounds]
        return statistics.median(times), min(times), max(times)

    def peak_kb(runs_of):
        return statistics.median(runs_of[r][1] for r in rounds)

    p_ms, f_ms = startup(program), startup(floor)
    p_total, p_rsrc = map(int, (folder / "size-program.txt").read_text().split())
    f_total, f_rsrc = map(int, (folder / "size-floor.txt").read_text().split())
    p_code_kb = (p_total - p_rsrc) / 1024
    f_code_kb = (f_total - f_rsrc) / 1024

    tick_text = (folder / "tick.txt").read_text().replace("\r", "").strip()
    tick = key_values(tick_text) if tick_text.startswith("tick-us-on") else {}
    codec = key_values((folder / "codec.txt").read_text())

    rows = [
        ("", "program", "floor"),
        ("start-up median (ms)", f"{p_ms[0]:.1f}", f"{f_ms[0]:.1f}"),
        ("start-up min .. max (ms)", f"{p_ms[1]:.1f} .. {p_ms[2]:.1f}",
         f"{f_ms[1]:.1f} .. {f_ms[2]:.1f}"),
        ("i686 exe total (bytes)", f"{p_total}", f"{f_total}"),
        ("i686 resources .rsrc (bytes)", f"{p_rsrc}", f"{f_rsrc}"),
        ("i686 code = total - .rsrc (KB)", f"{p_code_kb:.1f}", f"{f_code_kb:.1f}"),
        ("peak working set, median (KB)", f"{peak_kb(program):.0f}", f"{peak_kb(floor):.0f}"),
    ]
    width = max(len(r[0]) for r in rows) + 2
    print(f"start-up: {len(rounds)} runs each, alternating, warm wineserver"
          + (f" ({len(failed)} rounds without a painted dialog left out)" if failed else ""))
    for label, a, b in rows:
        print(f"{label:<{width}}{a:>16}{b:>16}")
    print()
    print(f"{'start-up ratio, median of pairs':<{width}}{ratio:>16.3f}"
          f"   min {min(ratios):.3f}  max {max(ratios):.3f}"
          f"   (target <= {TARGET_RATIO}: {mark(ratio, TARGET_RATIO)})")
    print(f"{'i686 code (KB)':<{width}}{p_code_kb:>16.1f}"
          f"   (target <= {TARGET_CODE_KB}: {mark(p_code_kb, TARGET_CODE_KB)})")
    if tick:
        tick_us = float(tick["tick-us-on"])
        print(f"{'hover tick, pointer on text (us)':<{width}}{tick_us:>16.2f}"
              f"   ({tick['calls']} calls, median of rounds)")
        print(f"{'hover tick, pointer off text (us)':<{width}}{float(tick['tick-us-off']):>16.2f}")
        print(f"{'  GetCursorPos alone (us)':<{width}}{float(tick['cursor-us']):>16.2f}"
              "   (one wineserver round trip, part of every tick)")
        tick_ratio = float(tick.get("tick-ratio-on", tick_us / float(tick["cursor-us"])))
        print(f"{'hover tick / GetCursorPos, on text':<{width}}{tick_ratio:>16.3f}"
              f"   (target <= {TARGET_TICK_RATIO}: {mark(tick_ratio, TARGET_TICK_RATIO)})")
        print(f"{'hover tick / GetCursorPos, off text':<{width}}"
              f"{float(tick['tick-us-off']) / float(tick['cursor-us']):>16.3f}")
        tick_summary = f"{tick_us:.2f} tick-ratio {tick_ratio:.3f}"
    else:
        print(f"{'hover tick (us)':<{width}}{'n/a':>16}   ({tick_text or 'no output'})")
        tick_summary = "n/a tick-ratio n/a"
    print(f"{'Text6 encode (MB/s, host)':<{width}}{float(codec['text6-encode-mbs']):>16.1f}")
    print(f"{'Text6 decode (MB/s, host)':<{width}}{float(codec['text6-decode-mbs']):>16.1f}")
    print(f"{'scramble (per s, host)':<{width}}{float(codec['scramble-per-s']):>16.0f}")
    print(f"{'unscramble (per s, host)':<{width}}{float(codec['unscramble-per-s']):>16.0f}")
    print(f"startup-ratio {ratio:.3f} code-kb {p_code_kb:.1f} tick-us {tick_summary}")


if __name__ == "__main__":
    main(sys.argv[1])
