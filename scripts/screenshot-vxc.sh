#!/usr/bin/env bash
# Converts a DX7 bank to SY77 voices through the conversion window on a virtual
# display (Xvfb), and saves the screen with the completion box as a PNG.
#   scripts/screenshot-vxc.sh [source bank] [output folder] [picture]
# Defaults: ../shared/corpus/ROM1A.syx, a fresh temporary folder, docs/screenshot-vxc.png.
set -euo pipefail
cd "$(dirname "$0")/.."

source=$(realpath "${1:-../shared/corpus/ROM1A.syx}")
outdir=${2:-$(mktemp -d)}
picture=${3:-docs/screenshot-vxc.png}
mkdir -p "$outdir" "$(dirname "$picture")"
outdir=$(realpath "$outdir")
picture=$(realpath "$picture")
output="$outdir/$(basename "${source%.*}").SY"

xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
    source=$1 output=$2 picture=$3
    QT_QPA_PLATFORM=xcb build/bin/toneloft n >/dev/null 2>&1 &
    pid=$!
    sleep 5
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name Toneloft | head -1)" key alt+t
    sleep 1
    xdotool key v
    sleep 2
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "VXC - DX7" | head -1)"
    xdotool key ctrl+a && xdotool type --delay 20 "$source" && xdotool key Return
    sleep 1
    xdotool key ctrl+a && xdotool type --delay 20 "$output" && xdotool key Return
    sleep 3
    import -window root "$picture"
    xdotool key Return
    sleep 1
    kill "$pid"
    wait "$pid" 2>/dev/null || true
' _ "$source" "$output" "$picture"

echo "Saved $picture; converted into $output, report $(dirname "$output")/$(basename "${output%.*}").vxc.txt"
