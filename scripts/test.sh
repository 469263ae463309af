#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Compilations are shared between checkouts in different folders of one machine.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
for preset in default asan; do
    echo "=== $preset build ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
