#!/usr/bin/env python3
"""Checks the recordings of one dvrtool connect session against what the simulated DVR sent.

  recorded_counters.py DVRTOOL SENT FILE...

SENT is the number of pictures the simulator sent (its frame counters ran 0 .. SENT-1). Prints
"recorded R first F gaps G repeats D complete C": R pictures read back from the files in order,
the counter of the first, counters skipped and repeated between consecutive pictures, and 1 when
the last recorded one is the last the session could complete (SENT-2: the last picture sent stays
unfinished while no next start code comes).
"""
import json
import subprocess
import sys

BLOCK, HEADER = 4096, 8


def stream_bytes(data, offset, n):
    """n stream bytes from offset, block headers left out."""
    out = bytearray()
    at = offset
    while len(out) < n and at < len(data):
        if at % BLOCK >= HEADER:
            out.append(data[at])
        at += 1
    return bytes(out)


def counters(tool, path):
    data = open(path, "rb").read()
    lines = subprocess.run([tool, "frames", path, "--json"], check=True, capture_output=True, text=True).stdout
    for line in lines.splitlines():
        frame = json.loads(line)
        if frame["type"] == "video":
            head = stream_bytes(data, frame["offset"], 7)
            yield head[5] << 8 | head[6]


def main():
    tool, sent, paths = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    seen = [c for path in sorted(paths) for c in counters(tool, path)]
    gaps = repeats = 0
    for a, b in zip(seen, seen[1:]):
        step = (b - a) % 65536
        if step == 0:
            repeats += 1
        elif step > 1:
            gaps += step - 1
    complete = 1 if seen and seen[-1] == (sent - 2) % 65536 else 0
    print(f"recorded {len(seen)} first {seen[0] if seen else -1} gaps {gaps} repeats {repeats} complete {complete}")


main()
