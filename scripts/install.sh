#!/usr/bin/env bash
# Sets up, builds and installs Toneloft under PREFIX (default /usr/local): the
# programs in PREFIX/bin, their data in PREFIX/share/toneloft, the menu entry,
# icon, .syx file type and manual pages. Installing into a system folder needs root.
#   scripts/install.sh [PREFIX]
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-/usr/local}
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
cmake --install build --prefix "$prefix"
# Desktops pick up the new file type and icon once their caches are refreshed.
if [ -w "$prefix/share" ]; then
    command -v update-mime-database >/dev/null && update-mime-database "$prefix/share/mime" || true
    command -v update-desktop-database >/dev/null && update-desktop-database "$prefix/share/applications" || true
    command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t "$prefix/share/icons/hicolor" || true
fi
echo "Installed under $prefix; start it with $prefix/bin/toneloft"
