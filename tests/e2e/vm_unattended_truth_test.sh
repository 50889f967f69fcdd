#!/usr/bin/env bash
# Unattended runs of the real application under Xvfb in the MIDI guest, in one guest boot:
#   - another model's image (00 6E where the pedal has 00 6D) given to the pedal's USB-MIDI
#     port ("Corvane Chorus"): exit status 1 with the reason, and the device receives
#     nothing at all;
#   - SIGTERM, SIGHUP and SIGINT 3 s into a transfer of the built-in image through the
#     3125 B/s UART ("Serial MIDI 1"): each ends the run the way the close button does,
#     with exit status 2 within 5.2 s of the signal.
#   vm_unattended_truth_test.sh RUN_IN_MIDI_VM FIRMHOLD LISTER
set -euo pipefail
midivm=$1 app=$2 lister=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

python3 "$here/make_test_image.py" "$work/other-model.syx" 599 4 --model 6E
cp "$here/vm_unattended_truth_inside.sh" "$work/inside.sh"

set +e
"$midivm" --xvfb --timeout 300 --usb-midi "$work/pedal.bin" --usb-midi-name "Corvane Chorus" \
    --uart "$work/wire.bin" --uart-rate 3125 --include "$work" --tool "$app" --tool "$lister" \
    -- /bin/sh "$work/inside.sh" "$app" "$lister" "$work/other-model.syx" 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e
[ "$status" -eq 0 ] || fail "the guest run ended with $status"
grep -q "^== done$" "$work/log" || fail "the guest script did not finish"

# field LABEL KEY: KEY's value on the "== LABEL" line
field() { sed -n "/^== $1 / s/.* $2=\([^ ]*\).*/\1/p" "$work/log" | head -n1; }
stderr_of() { sed -n "s/^$1| //p" "$work/log" | grep -v "^ALSA lib" || true; }

received=$(stat -c %s "$work/pedal.bin" 2>/dev/null || echo 0)
echo "another model's image: exit $(field other-model exit) after $(field other-model ms) ms, $received bytes on the pedal: $(stderr_of other-model)"
[ "$(field other-model exit)" = 1 ] || fail "another model's image: exit status $(field other-model exit), not 1"
[ "$received" -eq 0 ] || fail "another model's image: the pedal received $received bytes"
[ "$(stderr_of other-model)" = "Update failed: the firmware file $work/other-model.syx is not firmware for the Corvane Chorus: the message at byte 0 is for another model (F0 00 4F 51 00 6E 51 01 F7)" ] \
    || fail "another model's image: standard error is not the one reason"

for sig in TERM HUP INT; do
    s=$(field "sig$sig" exit) ms=$(field "sig$sig" ms)
    echo "SIG$sig 3 s into the UART transfer: exit ${s:-?} ${ms:-?} ms after the signal${ms:+ (bound 5200 ms)}"
    [ "$s" = 2 ] || fail "SIG$sig: exit status ${s:-none}, not 2: $(stderr_of "sig$sig")"
    [ "$ms" -le 5200 ] || fail "SIG$sig: the run ended $ms ms after the signal, more than 5.2 s"
    [ -z "$(stderr_of "sig$sig")" ] || fail "SIG$sig: standard error says: $(stderr_of "sig$sig")"
done
wire=$(stat -c %s "$work/wire.bin" 2>/dev/null || echo 0)
echo "PASS ($wire bytes left the UART in the three interrupted runs)"
