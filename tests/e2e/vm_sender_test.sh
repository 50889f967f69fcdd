#!/usr/bin/env bash
# Sends the built-in image from firmhold_vm_sender inside the MIDI guest and checks what
# arrived at the port.
#
#   vm_sender_test.sh RUN_IN_MIDI_VM SENDER RELEASE_FILE MODE
#
#   virmidi       "VirMIDI 0-0", captured: the bytes equal the release file
#   uart          "Serial MIDI 1" drained at 3125 B/s: the bytes leaving the UART equal the
#                 release file, and the send took no more than 1.05 x its wire time
#   uart-large    the same port with a file of two 50 KB messages, each larger than the
#                 port's 36 KiB of kernel buffering: handed over in paced pieces, every byte
#                 leaves the UART, within 1.05 x the wire time
#   uart-unpaced  the same port with the sender's pacing off: the port is its raw MIDI
#                 device, paced by the device itself, so every byte still leaves the UART
set -euo pipefail

vm=$1 sender=$2 release=$3 mode=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fileArgs=()
if [ "$mode" = uart-large ]; then
    python3 "$here/make_test_image.py" "$work/large.syx" 50000 2
    release="$work/large.syx"
    fileArgs=(--include "$work/large.syx")
fi

wireSeconds=$(awk -v n="$(stat -c %s "$release")" 'BEGIN { printf "%.3f", n / 3125 }')
limit=$(awk -v w="$wireSeconds" 'BEGIN { printf "%.3f", w * 1.05 }')

case "$mode" in
    virmidi)      vmArgs=(--capture "$work/got.syx");                      senderArgs=(--port "VirMIDI 0-0") ;;
    uart)         vmArgs=(--uart "$work/got.syx" --uart-rate 3125);         senderArgs=(--port "Serial MIDI 1") ;;
    uart-large)   vmArgs=(--uart "$work/got.syx" --uart-rate 3125 "${fileArgs[@]}"); senderArgs=(--port "Serial MIDI 1" --file "$release") ;;
    uart-unpaced) vmArgs=(--uart "$work/got.syx" --uart-rate 3125);         senderArgs=(--port "Serial MIDI 1" --no-pacing) ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
esac

set +e
"$vm" --timeout 600 "${vmArgs[@]}" -- "$sender" "${senderArgs[@]}" | tee "$work/out.txt"
status=${PIPESTATUS[0]}
set -e

expected=$(stat -c %s "$release")
got=$(stat -c %s "$work/got.syx" 2>/dev/null || echo 0)
sendTime=$(sed -n 's/^send time: \([0-9.]*\) s$/\1/p' "$work/out.txt")
echo "mode $mode: sender exit $status, $got of $expected bytes arrived, send time ${sendTime:-?} s"

[ "$status" -eq 0 ] || { echo "FAIL: sender exit $status" >&2; exit 1; }
cmp "$work/got.syx" "$release" || { echo "FAIL: the bytes at the port differ from the image" >&2; exit 1; }

if [ "$mode" != virmidi ]; then
    [ -n "$sendTime" ] || { echo "FAIL: no send time printed" >&2; exit 1; }
    echo "send time $sendTime s; wire time $wireSeconds s; limit $limit s"
    awk -v t="$sendTime" -v l="$limit" 'BEGIN { exit !(t <= l) }' \
        || { echo "FAIL: send time $sendTime s above $limit s" >&2; exit 1; }
fi
echo "PASS"
