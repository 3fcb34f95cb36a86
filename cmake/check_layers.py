#!/usr/bin/env python3
"""Checks that the layers keep their one-way dependencies.

The system's folders (service, mailer, controls, grid, configurator) include only the C++ standard
library and project headers outside their tests: no C, POSIX, socket, X11, FreeType or other library
header, by name or through a macro. The platform layer includes nothing of the system's folders, and
each of its libraries (platform/<layer>) includes only its own headers and those of the layers it stands
on (PLATFORM_LAYERS); its tests folder may include what its library links. The service (service/ with
service/icmp/) includes only the platform's core, net, app, shell and service headers and its own.

Usage: check_layers.py SOURCE_ROOT. Prints one line per violation and exits 1 when there is one.
"""
import pathlib
import re
import sys

SYSTEM_FOLDERS = ("service", "mailer", "controls", "grid", "configurator")
PROJECT_FOLDERS = ("platform",) + SYSTEM_FOLDERS
# The layer each platform library stands directly on; it may include their headers and those of the
# layers below them.
PLATFORM_LAYERS = {
    "core": (),
    "net": ("core",),
    "gfx": ("core",),
    "shell": ("core",),
    "app": ("core", "shell"),
    "ui": ("app", "gfx", "shell", "core"),
    "edits": ("ui",),
    "dialogs": ("edits",),
    "grids": ("edits",),
    "printing": ("ui",),
    "backends": ("ui",),
    "service": ("app",),
    "office": ("core",),
}
# What a platform library's tests link beyond the library itself (platform_backends_tests: platform_edits and
# platform_dialogs; platform_printing_tests: the scripted dialogs).
PLATFORM_TEST_LINKS = {"backends": ("edits", "dialogs"), "printing": ("dialogs",)}
# The only platform layers that the service's folders (service/, service/icmp/) may include.
SERVICE_PLATFORM_LAYERS = ("core", "net", "app", "shell", "service")
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


def below(layer):
    """The layers that `layer` stands on, directly or through others."""
    found = set()
    for lower in PLATFORM_LAYERS[layer]:
        found |= {lower} | below(lower)
    return found


def platform_layer_of(target):
    """The platform layer of a project header ("platform/ui/Forms.h": "ui"), or None."""
    parts = target.strip('"<>').split("/")
    return parts[1] if len(parts) > 2 and parts[0] == "platform" else None


def platform_violation(layer, in_tests, target):
    """Why the code of platform library `layer` (or its tests) may not include `target`, or None."""
    name = target.strip('"<>')
    if name.split("/", 1)[0] in SYSTEM_FOLDERS:
        return "includes the system's header " + target + " (the platform never depends on the system)"
    included = platform_layer_of(target) if target.startswith('"') else None
    if included is None or layer not in PLATFORM_LAYERS:
        return None
    if included not in PLATFORM_LAYERS:
        return "includes " + target + ", which is in no platform layer"
    allowed = {layer} | below(layer)
    if in_tests:
        for linked in PLATFORM_TEST_LINKS.get(layer, ()):
            allowed |= {linked} | below(linked)
    if included in allowed:
        return None
    where = "the tests of platform/" + layer if in_tests else "platform/" + layer
    return "includes " + target + ": " + where + " stands on " + (", ".join(sorted(allowed - {layer})) or "nothing")


def service_violation(target):
    """Why the service's folders may not include `target`, or None."""
    if not target.startswith('"'):
        return None
    name = target[1:-1]
    folder = name.split("/", 1)[0]
    if folder == "service":
        return None
    if folder in SYSTEM_FOLDERS:
        return "includes " + target + ", a header of another part of the system"
    included = platform_layer_of(target)
    if folder == "platform" and included not in SERVICE_PLATFORM_LAYERS:
        return "includes " + target + ": the service stands only on platform " + ", ".join(SERVICE_PLATFORM_LAYERS)
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
    for path in sources(root, "service"):
        relative = path.relative_to(root)
        for number, target in includes(path):
            why = service_violation(target)
            if why:
                problems.append(f"{relative}:{number}: {why}")
    for path in sources(root, "platform"):
        relative = path.relative_to(root)
        layer = relative.parts[1] if len(relative.parts) > 2 else None
        if layer is not None and layer not in PLATFORM_LAYERS:
            problems.append(f"{relative}: platform/{layer} is in no layer of PLATFORM_LAYERS")
        for number, target in includes(path):
            why = platform_violation(layer, "tests" in relative.parts, target)
            if why:
                problems.append(f"{relative}:{number}: {why}")
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
