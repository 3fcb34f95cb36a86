#!/usr/bin/env python3
"""Checks that the layers keep their one-way dependencies.

The system's folders (service, mailer, controls, grid, configurator) include only the C++ standard
library and project headers outside their tests: no C, POSIX, socket, X11, FreeType or other library
header, by name or through a macro. The platform layer includes nothing of the system's folders.

Usage: check_layers.py SOURCE_ROOT. Prints one line per violation and exits 1 when there is one.
"""
import pathlib
import re
import sys

SYSTEM_FOLDERS = ("service", "mailer", "controls", "grid", "configurator")
PROJECT_FOLDERS = ("platform",) + SYSTEM_FOLDERS
SOURCE_SUFFIXES = {".cpp", ".cc", ".h", ".hpp", ".inc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*(.*?)\s*(//.*|/\*.*)?$')


def sources(root, folder):
    base = root / folder
    if not base.is_dir():
        return
    for path in sorted(base.rglob("*")):
        if path.is_file() and path.suffix in SOURCE_SUFFIXES:
            yield path


def includes(path):
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, match.group(1)


def system_code_violation(target):
    """Why a system folder may not include `target`, or None."""
    if target.startswith("<") and target.endswith(">"):
        name = target[1:-1]
        if "." in name or "/" in name:
            return "includes the system or library header " + target
        return None
    if target.startswith('"') and target.endswith('"'):
        name = target[1:-1]
        if name.split("/", 1)[0] not in PROJECT_FOLDERS:
            return "includes " + target + ", which is not a header of the project"
        return None
    return "includes through the macro " + target


def platform_violation(target):
    """Why the platform layer may not include `target`, or None."""
    name = target.strip('"<>')
    if name.split("/", 1)[0] in SYSTEM_FOLDERS:
        return "includes the system's header " + target + " (the platform never depends on the system)"
    return None


def check(root):
    root = pathlib.Path(root)
    problems = []
    for folder in SYSTEM_FOLDERS:
        for path in sources(root, folder):
            relative = path.relative_to(root)
            if "tests" in relative.parts:
                continue
            for number, target in includes(path):
                why = system_code_violation(target)
                if why:
                    problems.append(f"{relative}:{number}: {why}")
    for path in sources(root, "platform"):
        for number, target in includes(path):
            why = platform_violation(target)
            if why:
                problems.append(f"{path.relative_to(root)}:{number}: {why}")
    return problems


def main(arguments):
    if len(arguments) != 2:
        print("usage: check_layers.py SOURCE_ROOT", file=sys.stderr)
        return 2
    problems = check(arguments[1])
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
