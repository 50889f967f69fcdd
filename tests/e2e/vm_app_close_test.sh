#!/usr/bin/env bash
# Closing the window in the middle of a long paced message: Firmhold under Xvfb in the
# MIDI guest sends a file of 64 KB messages to the 3125 B/s UART ("Serial MIDI 1", paced
# sequencer path); 8 s after its start the window gets WM_DELETE_WINDOW. The process must
# be gone within 5.2 s of the close, with a non-zero exit status (the update did not complete).
#   vm_app_close_test.sh RUN_IN_MIDI_VM FIRMHOLD LISTER CLOSER
set -euo pipefail
midivm=$1 app=$2 lister=$3 closer=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

python3 "$here/make_test_image.py" "$work/big64k.syx" 65536 2
cp "$here/vm_app_close_inside.sh" "$work/inside.sh"

set +e
"$midivm" --xvfb --timeout 200 --uart "$work/wire.bin" --uart-rate 3125 \
    --include "$work" --tool "$app" --tool "$lister" --tool "$closer" \
    -- /bin/sh "$work/inside.sh" "$app" "$lister" "$closer" "$work/big64k.syx" "big64k version " 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e
[ "$status" -eq 0 ] || fail "the guest run ended with $status"

ms=$(awk '/midivm-time:/ {print $2; exit}' "$work/log")
exit_status=$(sed -n 's/^firmhold exit \([0-9]*\)$/\1/p' "$work/log")
wire=$(stat -c %s "$work/wire.bin" 2>/dev/null || echo 0)
echo "closed 8 s into a 64 KB message: process gone ${ms:-?} ms after the close, exit ${exit_status:-?}, $wire bytes on the wire"
[ -n "$ms" ] || fail "no close time"
awk -v t="$ms" 'BEGIN {exit !(t <= 5200)}' || fail "the process took ${ms} ms to end after the close"
[ -n "$exit_status" ] && [ "$exit_status" -ne 0 ] || fail "exit status ${exit_status:-none}: a closed, incomplete update must not report success"
[ "$wire" -lt 131000 ] || fail "the whole image went out: the close came too late to test anything"
echo PASS
