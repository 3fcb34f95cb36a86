#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test. Idempotent: only packages
# that are missing are installed, so a second run does nothing. This is the only place where the
# project installs packages.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  # the fuzz targets: Debian's clang with its libFuzzer runtime
  clang libclang-rt-14-dev
  # platform libraries
  libfreetype-dev libfontconfig-dev libx11-dev libxext-dev zlib1g-dev libjpeg-dev libpng-dev libgif-dev libsqlite3-dev
  libzip-dev libexpat1-dev
  libcairo2-dev
  # the markup benchmark's peer
  libpango1.0-dev
  # printing: the CUPS client programs (lpstat, lpoptions, lp) that the printer runs
  cups-client
  fonts-dejavu-core fonts-liberation
  # test peers and comparisons
  python3 iproute2 iputils-ping procps systemd strace
  giflib-tools
  # the grid's memory benchmark: GTK's list store as its peer
  libgtk-3-dev
  # the printed PDF's tests: its information, text, fonts, structure and rendering
  poppler-utils qpdf
  python3-aiosmtpd exim4-daemon-light
  # the configurator's menu entry: its validator and the icon theme that its icon joins
  desktop-file-utils hicolor-icon-theme
  # the X11 backend's tests: a server, input and clipboard peers, keymaps, screenshots
  xvfb xdotool xclip x11-xkb-utils x11-apps x11-utils openbox wmctrl
  # the cursor that the X server shows, read back by the X11 tests
  libxfixes-dev
  # drag and drop with a program that no one here wrote: a small GTK 3 peer
  python3-gi gir1.2-gtk-3.0
  # the rich edit's tests: a word processor that writes the RTF they read
  libreoffice-writer-nogui
  # the office exchange's tests: readers and writers of XLSX, DOCX and SQLite files
  python3-openpyxl python3-docx libreoffice-calc-nogui sqlite3
  # the grid's XML files: a validating parser
  libxml2-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
