#!/usr/bin/python3
"""Times Python's sorted on the keys of a file, one key a line.

Usage: sort_peer.py text|number|number-rows FILE MIN_SECONDS

"text" sorts the lines as strings, "number" as floats, "number-rows" as rows of the grid's benchmark:
the float, then its five empty tie columns that the grid compares when floats are equal. Repeats for at least MIN_SECONDS and prints the
mean seconds per sort, a tab, and the number of keys.
"""
import sys
import timeit


def main():
    mode, path, min_seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    with open(path, encoding="utf-8") as f:
        keys = f.read().splitlines()
    if mode == "number":
        keys = [float(k) for k in keys]
    elif mode == "number-rows":
        keys = [(float(k), "", "", "", "", "") for k in keys]
    timer, passes, elapsed = timeit.Timer(lambda: sorted(keys)), 0, 0.0
    while elapsed < min_seconds:
        more, extra = timer.autorange()
        passes, elapsed = passes + more, elapsed + extra
    print(f"{elapsed / passes}\t{len(keys)}")


main()
