#!/usr/bin/env python3
"""Counts the wineserver requests that a program's main thread makes until it first waits for a
message, from a wineserver trace (WINEDEBUG=+server). Prints one line per kind of request,
"<count> <kind>", most frequent first, and then "<total> total".

Usage: server-requests.py TRACE PROGRAM.exe

The trace holds every process of the run. The program's main thread is the one whose
init_process_done() reply names the entry point of PROGRAM.exe (image base plus entry address,
read from its PE header); when another process of the run has the same entry point, the thread
whose start-up information names the program's file is taken. Its requests are the lines
"TID: name( ...": a reply reads "TID: name() = ...". Counting stops at its first
"get_message( ": the dialog is up and its modal loop waits for input."""
import collections
import re
import struct
import sys
from pathlib import Path

REQUEST = re.compile(r"^([0-9a-f]{4}): ([a-z_0-9]+)\( ")
ENTRY = re.compile(r"^([0-9a-f]{4}): init_process_done\(\) = 0 \{ entry=([0-9a-f]+)")
IMAGE = re.compile(r'^([0-9a-f]{4}): get_startup_info\(\) = .*imagepath=L"([^"]*)"')


def entry_point(exe):
    """ImageBase + AddressOfEntryPoint of a PE file."""
    data = Path(exe).read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    entry = struct.unpack_from("<I", data, optional + 16)[0]
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic == 0x20B:  # PE32+
        base = struct.unpack_from("<Q", data, optional + 24)[0]
    else:
        base = struct.unpack_from("<I", data, optional + 28)[0]
    return base + entry


def main_thread(lines, exe):
    entry = entry_point(exe)
    name = Path(exe).name.lower()
    started = [m.group(1) for m in map(ENTRY.match, lines) if m and int(m.group(2), 16) == entry]
    if len(started) > 1:
        images = {m.group(1): m.group(2) for m in map(IMAGE.match, lines) if m}
        started = [t for t in started if images.get(t, "").lower().endswith("\\\\" + name)]
    if len(started) != 1:
        sys.exit(f"server-requests: {len(started)} threads start {name} at {entry:x}")
    return started[0]


def count(lines, thread):
    kinds = collections.Counter()
    for line in lines:
        m = REQUEST.match(line)
        if m is None or m.group(1) != thread:
            continue
        if m.group(2) == "get_message":
            return kinds
        kinds[m.group(2)] += 1
    sys.exit("server-requests: the main thread never waited for a message")


def main(trace, exe):
    lines = Path(trace).read_text(errors="replace").splitlines()
    kinds = count(lines, main_thread(lines, exe))
    for kind, n in sorted(kinds.items(), key=lambda item: (-item[1], item[0])):
        print(f"{n} {kind}")
    print(f"{sum(kinds.values())} total")


if __name__ == "__main__":
    main(*sys.argv[1:3])
