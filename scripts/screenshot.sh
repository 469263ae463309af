#!/usr/bin/env bash
# Starts the desktop program on a virtual X display (Xvfb) and saves a picture
# of the screen as a PNG, by default docs/screenshot-main.png. The screen is the
# main window's size, so the picture is the main window with whatever is open.
#   scripts/screenshot.sh [output.png] [seconds to wait, default 4] [program arguments...]
# TONELOFT_BIN names another build of the program; TONELOFT_SCREEN the
# virtual screen (default 1024x720x24).
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/screenshot-main.png}
wait_s=${2:-4}
shift $(( $# < 2 ? $# : 2 ))
program=${TONELOFT_BIN:-build/bin/toneloft}
screen=${TONELOFT_SCREEN:-1024x720x24}

if [ ! -x "$program" ]; then
    echo "No program at $program: build it first (cmake --build --preset default)." >&2
    exit 1
fi

# xvfb-run comes with xvfb, import with imagemagick.
missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb xauth)
command -v import >/dev/null || missing+=(imagemagick)
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing and needing root to install: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

mkdir -p "$(dirname "$out")"
out_abs=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

# Inside the virtual display: start the program, wait for the splash and the
# welcome text to pass, take the screen (X keeps no contents for covered parts
# of a window, so the screen is what shows), then end the program.
xvfb-run -a -s "-screen 0 $screen" bash -c '
    program=$1 wait_s=$2 out=$3
    shift 3
    QT_QPA_PLATFORM=xcb "$program" "$@" &
    pid=$!
    sleep "$wait_s"
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "The program ended before the picture was taken." >&2
        exit 1
    fi
    import -window root "$out"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
' _ "$program" "$wait_s" "$out_abs" "$@"

echo "Saved $out"
