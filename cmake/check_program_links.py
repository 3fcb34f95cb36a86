#!/usr/bin/env python3
"""Checks that a program links no control code: neither the libraries of the graphics layer and the X11
backend (FreeType, fontconfig, the image codecs, Xlib) nor a symbol of the control framework (TControl,
TWinControl, TCustomForm, TMenuItem, THintWindow) or of FreeType (FT_*) and fontconfig (Fc*).

The service (velmora) stands on platform/app, which holds the message loop without the controls; this
keeps it so. Usage: check_program_links.py PROGRAM. Prints one line per library and one with the count
and the first of the symbols found, and exits 1 when there is any.
"""
import re
import shutil
import subprocess
import sys

FORBIDDEN_LIBRARIES = re.compile(r"^lib(freetype|fontconfig|png\d*|jpeg|gif|X11|Xext)\.so")
FORBIDDEN_SYMBOLS = re.compile(r"\b(TControl|TWinControl|TCustomForm|TMenuItem|THintWindow)|\bFT_\w|\bFc[A-Z]")
SHOWN_SYMBOLS = 10


def needed_libraries(program):
    output = subprocess.run(["readelf", "-d", program], capture_output=True, text=True, check=True).stdout
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", output)


def symbols(program):
    output = subprocess.run(["nm", "-C", program], capture_output=True, text=True, check=True).stdout
    for line in output.splitlines():
        fields = line.split(None, 2)
        if len(fields) >= 2:
            yield fields[-1]


def check(program):
    problems = [f"{program}: links {library}" for library in needed_libraries(program)
                if FORBIDDEN_LIBRARIES.match(library)]
    found = sorted({name for name in symbols(program) if FORBIDDEN_SYMBOLS.search(name)})
    if found:
        shown = "; ".join(found[:SHOWN_SYMBOLS]) + ("; ..." if len(found) > SHOWN_SYMBOLS else "")
        problems.append(f"{program}: {len(found)} symbols of the control framework or the font libraries: {shown}")
    return problems


def main(arguments):
    if len(arguments) != 2:
        print("usage: check_program_links.py PROGRAM", file=sys.stderr)
        return 2
    for tool in ("readelf", "nm"):
        if not shutil.which(tool):
            print(f"check_program_links.py: {tool} is missing (binutils)", file=sys.stderr)
            return 2
    problems = check(arguments[1])
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
