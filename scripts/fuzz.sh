#!/bin/sh
# Runs the libFuzzer targets of the `fuzz` preset, each seeded from tests/data.
#   scripts/fuzz.sh [RUNS] [TARGET...]      RUNS defaults to 10000000
# Targets: voice_file voice_image midi_input midi_decode recordset_filter
#          editor_entry hex_editor vxc_source (all when none is named).
# Corpora grow in fuzz-corpus/<target> (not committed); a crash is written as
# crash-<hash> in the current folder.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10000000}
[ $# -gt 0 ] && shift
targets=${*:-"voice_file voice_image midi_input midi_decode recordset_filter editor_entry hex_editor vxc_source"}
cmake --preset fuzz >/dev/null
cmake --build "$here/build-fuzz"
for target in $targets; do
    corpus="$here/fuzz-corpus/$target"
    mkdir -p "$corpus"
    # Seeds, and the longest input worth trying: two banks for files, a few
    # messages or edits for the rest.
    case $target in
    voice_*) seeds=corpus; max_len=9000 ;;
    midi_input) seeds=fuzz/midi; max_len=4200 ;;
    midi_decode) seeds=fuzz/decode; max_len=104 ;;
    recordset_filter) seeds=fuzz/filter; max_len=256 ;;
    editor_entry) seeds=fuzz/editor; max_len=512 ;;
    hex_editor) seeds=fuzz/hexedit; max_len=2048 ;;
    vxc_source) seeds=fuzz/vxc; max_len=9000 ;;
    *) echo "no such target: $target" >&2; exit 2 ;;
    esac
    cp -n "$here/tests/data/$seeds"/* "$corpus"/
    "$here/build-fuzz/bin/fuzz_$target" -runs="$runs" -max_len=$max_len -print_final_stats=1 "$corpus"
done
