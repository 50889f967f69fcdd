#!/bin/sh
# Runs inside the MIDI guest with the USB-MIDI device "Corvane Chorus" plugged in:
# prints the ALSA facts the raw MIDI path relies on, then sends in three rounds, each a
# small start-up run, amidi sending the built-in image and a share of Firmhold's automatic
# updates (the references are measured among the runs they are compared with), then the
# file runs and the windowless sender. Every send prints "== send KIND" (on standard
# output, with its time), in the order the device receives them.
#   vm_usb_inside.sh FIRMHOLD LISTER SENDER SMALL BUILTIN FILE_IMAGE RUNS FILE_RUNS
app=$1 lister=$2 sender=$3 small=$4 builtin=$5 fileimage=$6 runs=$7 fileruns=$8
exec 2>&1

echo "== /proc/asound/cards"; cat /proc/asound/cards
echo "== aconnect -l"; aconnect -l
echo "== amidi -l"; amidi -l

n=$("$lister" | grep -n -x "Corvane Chorus MIDI 1" | cut -d: -f1)
[ -n "$n" ] || { echo "no Corvane Chorus MIDI 1 among the outputs:"; "$lister"; exit 1; }
hw=$(amidi -l | awk '/Corvane Chorus MIDI 1/ {print $2; exit}')
echo "outputid $n, raw device $hw"

run() {   # kind, args...
    kind=$1; shift
    echo "== send $kind"
    midivm-helper time "$app" --autoupdate --outputid "$n" "$@" 2>"/tmp/err.$$"
    status=$?
    cat "/tmp/err.$$" >&2
    echo "run $kind: exit $status"
}

i=0
for round in 1 2 3; do
    run small --file "$small"
    echo "== send amidi"; midivm-helper time amidi -p "$hw" -s "$builtin"
    while [ $i -lt $((runs * round / 3)) ]; do i=$((i + 1)); run builtin; done
done
i=0; while [ $i -lt "$fileruns" ]; do i=$((i + 1)); run file --file "$fileimage"; done
# The same send path without the window: the interface and the transfer on their own.
i=0; while [ $i -lt 3 ]; do
    i=$((i + 1))
    echo "== send sender"
    midivm-helper time "$sender" --port "Corvane Chorus MIDI 1"
    echo "run sender: exit $?"
done
