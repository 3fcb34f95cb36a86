#!/usr/bin/python3
"""Times Python's csv module on the grid's CSV file.

Usage: csv_peer.py write|read FILE MIN_SECONDS

"read" parses FILE (delimiter ";", UTF-8) into a list of rows; "write" first reads it, then writes those
rows to FILE.py.csv with csv.writer (the same dialect, lines ended by CR LF). Repeats for at least
MIN_SECONDS and prints the mean seconds per pass, a tab, and the number of rows.
"""
import csv
import sys
import time


def read(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f, delimiter=";"))


def write(path, rows):
    with open(path, "w", newline="", encoding="utf-8") as f:
        csv.writer(f, delimiter=";", lineterminator="\r\n").writerows(rows)


def main():
    mode, path, min_seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    rows = read(path)
    passes, start = 0, time.perf_counter()
    while True:
        if mode == "read":
            rows = read(path)
        else:
            write(path + ".py.csv", rows)
        passes += 1
        elapsed = time.perf_counter() - start
        if elapsed >= min_seconds:
            break
    print(f"{elapsed / passes}\t{len(rows)}")


main()
