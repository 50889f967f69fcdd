#!/usr/bin/env bash
# Firmhold sending the built-in image unattended to the guest's serial MIDI port ("Serial
# MIDI 1", a 16550 UART whose far end takes 3125 B/s), through its raw MIDI device.
#
#   vm_uart_test.sh RUN_IN_MIDI_VM FIRMHOLD LISTER RELEASE_FILE MODE
#
#   interfere  while it sends, another program tries to play notes to the same port through
#              the sequencer and through the raw device, once a second for 10 s: every try
#              is refused, Firmhold exits 0 and the bytes that left the UART are the
#              release file
#   loaded     both host cores kept busy (the emulated UART then drains slower than MIDI's
#              rate): Firmhold exits 0 with every byte of the release file on the wire, or
#              exits 1 with "Update failed" on standard error; never 0 with bytes missing
set -euo pipefail
midivm=$1 app=$2 lister=$3 release=$4 mode=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
burners=()
trap 'kill "${burners[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cp "$here/vm_uart_inside.sh" "$work/inside.sh"
# A standard MIDI file of one short note.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\14\0\220\74\100\30\200\74\0\0\377\57\0' > "$work/notes.mid"

case $mode in
    interfere) inside=interfere ;;
    loaded)
        inside=quiet
        for _ in 1 2; do bash -c 'while :; do :; done' & burners+=($!); done ;;
    *) fail "unknown mode $mode" ;;
esac

set +e
"$midivm" --xvfb --timeout 400 --uart "$work/wire.bin" --uart-rate 3125 \
    --include "$work" --tool "$app" --tool "$lister" \
    -- /bin/sh "$work/inside.sh" "$app" "$lister" "$work/notes.mid" "$inside" 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e
[ ${#burners[@]} -eq 0 ] || kill "${burners[@]}"
[ "$status" -eq 0 ] || fail "the guest run ended with $status"

firmhold=$(sed -n 's/^firmhold exit \([0-9]*\)$/\1/p' "$work/log")
ms=$(awk '/midivm-time:/ {print $2; exit}' "$work/log")
got=$(stat -c %s "$work/wire.bin" 2>/dev/null || echo 0)
echo "firmhold exit ${firmhold:-?} after ${ms:-?} ms; $got of $(stat -c %s "$release") bytes left the UART (wire time 77.8 s)"

if [ "$mode" = interfere ]; then
    tries=$(grep -c '^attempt [0-9]*: .* exit' "$work/log" || true)
    admitted=$(grep '^attempt [0-9]*: .* exit 0$' "$work/log" || true)
    [ "$tries" = 20 ] || fail "$tries of 20 tries by the other program were made"
    [ -z "$admitted" ] || fail "the other program reached the port: $admitted"
    [ "$firmhold" = 0 ] || fail "Firmhold exit ${firmhold:-none}, not 0"
    cmp "$work/wire.bin" "$release" || fail "the bytes that left the UART differ from the release file"
    echo "PASS: 20 tries refused, the wire holds the release file"
    exit 0
fi

case $firmhold in
    0) cmp "$work/wire.bin" "$release" || fail "exit 0, but the wire differs from the release file" ;;
    1) grep -q '^Update failed' "$work/log" || fail "exit 1 without \"Update failed\" on standard error" ;;
    *) fail "Firmhold exit ${firmhold:-none}" ;;
esac
echo "PASS"
