#!/usr/bin/env python3
"""Prints the bench table from the raw outputs that scripts/bench.sh collected in one folder:
startup.txt (the launcher's run lines), requests-program.txt and requests-floor.txt (the wineserver
requests up to the first message, as scripts/server-requests.py counts them), tick.txt, codec.txt,
size-program.txt and size-floor.txt ("<total bytes> <.rsrc bytes>"). With --kinds it also lists
the request kinds whose counts differ between the program and the floor. The last line sums it up
as "request-ratio P startup-ratio R code-kb K tick-us T tick-ratio Q".

Usage: bench-table.py FOLDER [--kinds]"""
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
TARGET_WS_OVER_FLOOR_KB = 1024


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


def read_requests(path):
    """{kind: count} from server-requests.py's lines "<count> <kind>", with "total" among them."""
    counts = {}
    for line in path.read_text().splitlines():
        count, kind = line.split()
        counts[kind] = int(count)
    return counts


def print_request_kinds(program, floor):
    """The kinds of request the program makes more (or fewer) times than the floor."""
    kinds = [k for k in set(program) | set(floor) if k != "total"]
    rows = [(program.get(k, 0) - floor.get(k, 0), k) for k in kinds]
    rows = sorted((r for r in rows if r[0] != 0), key=lambda r: (-r[0], r[1]))
    print()
    print(f"{'wineserver request':<28}{'program':>9}{'floor':>9}{'difference':>12}")
    for difference, kind in rows:
        print(f"{kind:<28}{program.get(kind, 0):>9}{floor.get(kind, 0):>9}{difference:>+12}")
    print(f"{'all':<28}{program['total']:>9}{floor['total']:>9}"
          f"{program['total'] - floor['total']:>+12}")


def mark(value, target):
    return "meets" if value <= target else "misses"


def main(folder, show_kinds):
    folder = Path(folder)
    requests = read_requests(folder / "requests-program.txt")
    floor_requests = read_requests(folder / "requests-floor.txt")
    request_ratio = requests["total"] / floor_requests["total"]
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
        ("wineserver requests to the dialog", f"{requests['total']}", f"{floor_requests['total']}"),
        ("start-up median (ms)", f"{p_ms[0]:.1f}", f"{f_ms[0]:.1f}"),
        ("start-up min .. max (ms)", f"{p_ms[1]:.1f} .. {p_ms[2]:.1f}",
         f"{f_ms[1]:.1f} .. {f_ms[2]:.1f}"),
        ("i686 exe total (bytes)", f"{p_total}", f"{f_total}"),
        ("i686 resources .rsrc (bytes)", f"{p_rsrc}", f"{f_rsrc}"),
        ("i686 code = total - .rsrc (KB)", f"{p_code_kb:.1f}", f"{f_code_kb:.1f}"),
        ("peak working set, median (KB)", f"{peak_kb(program):.0f}", f"{peak_kb(floor):.0f}"),
    ]
    width = max(len(r[0]) for r in rows) + 2
    print("requests: the main thread's up to its first get_message, one run each, server afresh")
    print(f"start-up: {len(rounds)} runs each, alternating, warm wineserver"
          + (f" ({len(failed)} rounds without a painted dialog left out)" if failed else ""))
    for label, a, b in rows:
        print(f"{label:<{width}}{a:>16}{b:>16}")
    print()
    print(f"{'request ratio (program / floor)':<{width}}{request_ratio:>16.3f}"
          f"   (target <= {TARGET_RATIO}: {mark(request_ratio, TARGET_RATIO)})")
    print(f"{'start-up ratio, median of pairs':<{width}}{ratio:>16.3f}"
          f"   min {min(ratios):.3f}  max {max(ratios):.3f}"
          f"   (target <= {TARGET_RATIO}: {mark(ratio, TARGET_RATIO)})")
    print(f"{'i686 code (KB)':<{width}}{p_code_kb:>16.1f}"
          f"   (target <= {TARGET_CODE_KB}: {mark(p_code_kb, TARGET_CODE_KB)})")
    ws_over = peak_kb(program) - peak_kb(floor)
    print(f"{'peak working set over the floor (KB)':<{width}}{ws_over:>16.0f}"
          f"   (target <= {TARGET_WS_OVER_FLOOR_KB}: {mark(ws_over, TARGET_WS_OVER_FLOOR_KB)})")
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
    if show_kinds:
        print_request_kinds(requests, floor_requests)
    print(f"request-ratio {request_ratio:.3f} startup-ratio {ratio:.3f} code-kb {p_code_kb:.1f}"
          f" tick-us {tick_summary}")


if __name__ == "__main__":
    main(sys.argv[1], "--kinds" in sys.argv[2:])
