#!/usr/bin/env bash
# Starts the desktop program on a virtual X display (Xvfb) and saves a picture
# of the screen as a PNG, by default docs/screenshot-main.png. The screen is the
# main window's size, so the picture is the main window with whatever is open.
#   scripts/screenshot.sh [output.png] [seconds to wait, default 4] [program arguments...]
# TONELOFT_BIN names another build of the program; TONELOFT_SCREEN the
# virtual screen (default 1024x720x24). TONELOFT_KEYS answers dialogues on the
# way: steps "seconds|window title|keys" separated by ";", each waiting, then
# giving the keys (xdotool names, blank-separated) to the visible window whose
# title contains the text, e.g. "4|select MIDI|Return;2|Initialisation|alt+t";
# keys starting with @ are an xdotool command instead ("@mousemove 90 80 click --repeat 2 1").
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
[ -z "${TONELOFT_KEYS:-}" ] || command -v xdotool >/dev/null || missing+=(xdotool)
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
    IFS=";" read -ra steps <<< "${TONELOFT_KEYS:-}"
    for step in "${steps[@]}"; do
        IFS="|" read -r delay title keys <<< "$step"
        sleep "$delay"
        window=$(xdotool search --onlyvisible --name "$title" | head -1)
        if [ -z "$window" ]; then
            echo "No window titled \"$title\" to answer." >&2
            kill "$pid"
            exit 1
        fi
        # shellcheck disable=SC2086 # the keys are blank-separated on purpose
        if [ "${keys#@}" != "$keys" ]; then
            xdotool ${keys#@}
        else
            xdotool windowfocus --sync "$window" key $keys
        fi
    done
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
