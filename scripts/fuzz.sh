#!/bin/sh
# Runs the libFuzzer targets of the `fuzz` preset, each seeded from tests/data.
#   scripts/fuzz.sh [RUNS] [TARGET...]      RUNS defaults to 10000000
# Corpora grow in fuzz-corpus/<target> (not committed); a crash is written as
# crash-<hash> in the current folder.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10000000}
[ $# -gt 0 ] && shift
targets=${*:-"voice_file voice_image midi_input recordset_filter"}
cmake --preset fuzz >/dev/null
cmake --build "$here/build-fuzz"
for target in $targets; do
    corpus="$here/fuzz-corpus/$target"
    mkdir -p "$corpus"
    case $target in
    voice_*) cp -n "$here"/tests/data/corpus/* "$corpus"/ ;;
    midi_input) cp -n "$here"/tests/data/fuzz/midi/* "$corpus"/ ;;
    recordset_filter) cp -n "$here"/tests/data/fuzz/filter/* "$corpus"/ ;;
    esac
    "$here/build-fuzz/bin/fuzz_$target" -runs="$runs" -max_len=9000 -print_final_stats=1 "$corpus"
done
