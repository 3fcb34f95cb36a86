#!/usr/bin/env python3
"""Checks the configurator's menu entry as a desktop takes it: the icons are those that
scripts/draw-icons.py draws, scripts/install-desktop.sh puts the entry and the icon in place, the
installed entry passes desktop-file-validate without a remark, and the icon theme's lookup finds its
icon by the entry's name in every size the theme lists for applications.

Usage: check_desktop_entry.py SOURCE_DIR
"""
import configparser
import filecmp
import struct
import subprocess
import sys
import tempfile
from pathlib import Path


def fail(message):
    print(f"check_desktop_entry: {message}")
    sys.exit(1)


def drawn_icons_are_the_projects(source, work):
    drawn = work / "drawn"
    subprocess.run([sys.executable, str(source / "scripts/draw-icons.py"), str(drawn)], check=True)
    for path in drawn.rglob("*"):
        if path.is_file() and not filecmp.cmp(path, source / path.relative_to(drawn), shallow=False):
            fail(f"{path.relative_to(drawn)} is not what scripts/draw-icons.py draws: run the script")


def theme_lookup(name, base_dirs):
    """The files of icon `name` in the hicolor theme by the theme's own folder list: the index.theme
    of the first base folder that has one, its folders searched in every base folder. Sizes to paths."""
    index = next((b / "icons/hicolor/index.theme" for b in base_dirs if (b / "icons/hicolor/index.theme").is_file()), None)
    if index is None:
        fail("no hicolor index.theme in " + ", ".join(map(str, base_dirs)))
    theme = configparser.ConfigParser(interpolation=None, strict=False)
    theme.read(index, encoding="utf-8")
    found = {}
    for folder in filter(None, theme["Icon Theme"]["Directories"].split(",")):
        if folder not in theme or theme[folder].get("Context") != "Applications":
            continue
        for base in base_dirs:
            icon = base / "icons/hicolor" / folder / f"{name}.png"
            if icon.is_file():
                found.setdefault(int(theme[folder]["Size"]), icon)
    return found


def main():
    source = Path(sys.argv[1])
    with tempfile.TemporaryDirectory() as temporary:
        work = Path(temporary)
        drawn_icons_are_the_projects(source, work)
        data = work / "share"
        subprocess.run([str(source / "scripts/install-desktop.sh"), str(data)], check=True, stdout=subprocess.DEVNULL)
        entry = data / "applications/ordelin.desktop"
        validation = subprocess.run(["desktop-file-validate", str(entry)], capture_output=True, text=True)
        if validation.returncode != 0 or validation.stdout or validation.stderr:
            fail("desktop-file-validate: " + validation.stdout + validation.stderr)
        desktop = configparser.ConfigParser(interpolation=None)
        desktop.optionxform = str
        desktop.read(entry, encoding="utf-8")
        group = desktop["Desktop Entry"]
        if group.get("Categories") != "Settings;":
            fail("the entry is not among the settings tools: " + str(group.get("Categories")))
        found = theme_lookup(group["Icon"], [data, Path("/usr/share")])
        for size in (16, 32, 48):
            if size not in found:
                fail(f"no {size}x{size} icon named {group['Icon']} found")
            width, height = struct.unpack(">II", found[size].read_bytes()[16:24])
            if (width, height) != (size, size):
                fail(f"{found[size]} is {width}x{height}")
    print("check_desktop_entry: ordelin.desktop and its icon are in place")


if __name__ == "__main__":
    main()
