#!/usr/bin/env bash
# Sets up, builds and starts the desktop program; voice files named here open as lists.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/bin/toneloft "$@"
