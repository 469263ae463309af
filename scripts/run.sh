#!/usr/bin/env bash
# Sets up, builds and runs the program's main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
sample=build/bin/DXInit.dat
build/bin/toneloft-cli info "${@:-$sample}"
build/bin/toneloft-cli names "${@:-$sample}"
