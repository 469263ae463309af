#!/usr/bin/env bash
# Usage: run_jack_test.sh TONELOFT_DX7 JACK_MIDI_TEST
# Starts a private JACK server (dummy driver, no real-time) and toneloft-dx7 on
# it, runs the test program against them, and stops both whatever happens.
set -u
dx7_program=$1
test_program=$2

if ! command -v jackd >/dev/null 2>&1; then
    echo "jackd not installed: skipping"
    exit 77
fi

server="toneloft-test-$$-$RANDOM"
work=$(mktemp -d)
jack_pid=""
dx7_pid=""

cleanup() {
    [ -n "$dx7_pid" ] && kill "$dx7_pid" 2>/dev/null && wait "$dx7_pid" 2>/dev/null
    [ -n "$jack_pid" ] && kill "$jack_pid" 2>/dev/null && wait "$jack_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

export JACK_DEFAULT_SERVER=$server
export JACK_NO_AUDIO_RESERVATION=1

jackd -n "$server" -r -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
jack_pid=$!

# Wait until the server answers (up to 10 s).
if ! timeout 15 jack_wait -s "$server" -w -t 10 >/dev/null 2>&1; then
    echo "JACK server did not start:"
    cat "$work/jackd.log"
    exit 1
fi

"$dx7_program" --api jack >"$work/dx7.log" 2>&1 </dev/null &
dx7_pid=$!
for _ in $(seq 1 100); do
    grep -q '^ready ' "$work/dx7.log" && break
    sleep 0.1
done
if ! grep -q '^ready ' "$work/dx7.log"; then
    echo "toneloft-dx7 did not start:"
    cat "$work/dx7.log"
    exit 1
fi

TONELOFT_DX7_LOG="$work/dx7.log" TONELOFT_DX7_PROGRAM="$dx7_program" TONELOFT_TEST_DIR="$work" \
    "$test_program"
status=$?
if [ $status -ne 0 ]; then
    echo "--- toneloft-dx7 output ---"
    cat "$work/dx7.log"
fi
exit $status
