#!/bin/sh
# Runs inside the MIDI guest: Firmhold with --autoupdate, first with a small --file image,
# then with the built-in image, both to "VirMIDI 0-0" (found by name in the port list).
#   vm_app_inside.sh FIRMHOLD LISTER SMALL_IMAGE
set -e
app=$1
lister=$2
small=$3

n=$("$lister" | grep -n -x "VirMIDI 0-0" | cut -d: -f1)
[ -n "$n" ] || { echo "no VirMIDI 0-0 among the outputs:"; "$lister"; exit 1; }
echo "outputid of VirMIDI 0-0: $n"

midivm-helper time "$app" --autoupdate --outputid "$n" --file "$small"
echo "small image: exit 0"
midivm-helper time "$app" --autoupdate --outputid "$n"
echo "built-in image: exit 0"
