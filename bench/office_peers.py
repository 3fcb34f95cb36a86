#!/usr/bin/python3
"""The peers of office_bench: 100 000 rows of 10 columns through openpyxl and Python's sqlite3.

Usage: office_peers.py openpyxl-write FILE | openpyxl-read FILE | sqlite-read FILE

Each mode builds what it needs first, times only the work itself, and prints the seconds it took. The rows
are those of office_bench: texts, integers, reals and texts that look like numbers.
"""
import sqlite3
import sys
import time

import openpyxl

ROWS, COLUMNS = 100000, 10


def row(r):
    return ["host%06d.example.net" % r, r, r * 0.25, "%03d" % (r % 1000), "up" if r % 3 else "down",
            r % 97, "line %d" % r, -r, "x" * (r % 7), r / 8]


def openpyxl_write(path):
    rows = [row(r) for r in range(ROWS)]
    start = time.perf_counter()
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("Hosts")
    for values in rows:
        sheet.append(values)
    book.save(path)
    return time.perf_counter() - start


def openpyxl_read(path):
    start = time.perf_counter()
    book = openpyxl.load_workbook(path, read_only=True)
    texts = [["" if v is None else str(v) for v in values] for values in book.active.iter_rows(values_only=True)]
    assert len(texts) == ROWS, len(texts)
    return time.perf_counter() - start


def sqlite_read(path):
    start = time.perf_counter()
    connection = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    texts = [["" if v is None else str(v) for v in values] for values in connection.execute("SELECT * FROM Hosts")]
    assert len(texts) == ROWS, len(texts)
    connection.close()
    return time.perf_counter() - start


if __name__ == "__main__":
    mode, path = sys.argv[1], sys.argv[2]
    seconds = {"openpyxl-write": openpyxl_write, "openpyxl-read": openpyxl_read, "sqlite-read": sqlite_read}[mode](path)
    print("%.6f" % seconds)
