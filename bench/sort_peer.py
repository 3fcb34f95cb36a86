#!/usr/bin/python3
"""Times Python's sorted on the keys of a file, one key a line.

Usage: sort_peer.py text|number FILE MIN_SECONDS

"text" sorts the lines as strings, "number" as floats. Repeats for at least MIN_SECONDS and prints the
mean seconds per sort, a tab, and the number of keys.
"""
import sys
import time


def main():
    mode, path, min_seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    with open(path, encoding="utf-8") as f:
        keys = f.read().splitlines()
    if mode == "number":
        keys = [float(k) for k in keys]
    passes, start = 0, time.perf_counter()
    while True:
        sorted(keys)
        passes += 1
        elapsed = time.perf_counter() - start
        if elapsed >= min_seconds:
            break
    print(f"{elapsed / passes}\t{len(keys)}")


main()
