#!/usr/bin/env bash
# Puts the configurator's menu entry and its icon where the desktop looks for them:
#   scripts/install-desktop.sh [DATA_DIR]
# DATA_DIR defaults to /usr/local/share for root and to ${XDG_DATA_HOME:-~/.local/share} for anyone
# else. The entry starts `ordelin` from the PATH; menus leave it out while no `ordelin` is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 1 ]; then
  echo "usage: scripts/install-desktop.sh [DATA_DIR]" >&2
  exit 2
fi
if [ $# -eq 1 ]; then
  data=$1
elif [ "$(id -u)" -eq 0 ]; then
  data=/usr/local/share
else
  data=${XDG_DATA_HOME:-$HOME/.local/share}
fi
install -D -m 644 "$root/configurator/desktop/ordelin.desktop" "$data/applications/ordelin.desktop"
for icon in "$root"/configurator/desktop/icons/hicolor/*/apps/ordelin.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  install -D -m 644 "$icon" "$data/icons/hicolor/$size/apps/ordelin.png"
done
# Menus and icon caches that keep an index of these folders see the new files at once.
if command -v update-desktop-database >/dev/null; then update-desktop-database -q "$data/applications" || true; fi
if command -v gtk-update-icon-cache >/dev/null && [ -f "$data/icons/hicolor/index.theme" ]; then
  gtk-update-icon-cache -q -t "$data/icons/hicolor" || true
fi
echo "install-desktop: ordelin.desktop and its icon are in $data"
