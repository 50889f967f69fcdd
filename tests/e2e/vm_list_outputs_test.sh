#!/usr/bin/env bash
# --list-outputs in a real kernel: the number it prints for "VirMIDI 0-0" is the one that
# makes --outputid send there. The guest lists its ports without a display, then sends a
# small image unattended to that number; every byte must arrive on "VirMIDI 0-0".
#   vm_list_outputs_test.sh RUN_IN_MIDI_VM FIRMHOLD LISTER
set -euo pipefail
midivm=$1 app=$2 lister=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

python3 "$here/make_test_image.py" "$work/small.syx" 12 1
cp "$here/vm_list_outputs_inside.sh" "$work/inside.sh"

set +e
"$midivm" --xvfb --timeout 300 --capture "$work/got.syx" \
    --include "$work" --tool "$app" --tool "$lister" \
    -- /bin/sh "$work/inside.sh" "$app" "$lister" "$work/small.syx" 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e
[ "$status" -eq 0 ] || fail "the guest run ended with $status"

cmp "$work/got.syx" "$work/small.syx" || fail "what arrived on VirMIDI 0-0 is not the image"
echo "PASS: $(stat -c %s "$work/got.syx") bytes arrived on VirMIDI 0-0 through the listed number"
