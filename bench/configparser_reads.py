#!/usr/bin/python3
"""Times the reads of one host's settings from HostList.ini with Python's configparser.

Usage: configparser_reads.py FILE HOST per-value|per-check MIN_SECONDS

A check reads [Options] Intervall and the host's key in five host sections. "per-value" parses the file
anew for every value (open, read, close each time, as the service does through its INI file class);
"per-check" parses it once for the six values. Runs checks for at least MIN_SECONDS and prints the mean
seconds per check, a tab, and the six values read, joined by "|".
"""
import configparser
import sys
import time

HOST_SECTIONS = ("WaitForStatusChange", "Show", "RunOnConnected", "RunOnDisconnected", "Enabled")


def parse(path):
    # Keys are case-insensitive by configparser's default; its section names are not, so the file's own
    # spelling is asked for.
    parser = configparser.ConfigParser(strict=False, interpolation=None)
    parser.read(path, encoding="utf-8")
    return parser


def check_per_value(path, host):
    values = [parse(path).get("Options", "Intervall", fallback="30")]
    return values + [parse(path).get(section, host, fallback="") for section in HOST_SECTIONS]


def check_per_check(path, host):
    parser = parse(path)
    values = [parser.get("Options", "Intervall", fallback="30")]
    return values + [parser.get(section, host, fallback="") for section in HOST_SECTIONS]


def main():
    path, host, mode, min_seconds = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])
    check = {"per-value": check_per_value, "per-check": check_per_check}[mode]
    checks = 0
    start = time.perf_counter()
    while True:
        values = check(path, host)
        checks += 1
        elapsed = time.perf_counter() - start
        if elapsed >= min_seconds and checks >= 3:
            break
    print(f"{elapsed / checks:.9f}\t{'|'.join(values)}")


if __name__ == "__main__":
    main()
