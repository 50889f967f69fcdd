#!/bin/sh
# Runs inside the MIDI guest with the USB-MIDI device "Corvane Chorus" plugged in:
# prints the ALSA facts the raw MIDI path relies on, then times a small start-up run,
# amidi sending the built-in image, and Firmhold's automatic updates.
#   vm_usb_inside.sh FIRMHOLD LISTER SENDER SMALL BUILTIN FILE_IMAGE RUNS FILE_RUNS
app=$1 lister=$2 sender=$3 small=$4 builtin=$5 fileimage=$6 runs=$7 fileruns=$8

echo "== /proc/asound/cards"; cat /proc/asound/cards
echo "== aconnect -l"; aconnect -l
echo "== amidi -l"; amidi -l

n=$("$lister" | grep -n -x "Corvane Chorus MIDI 1" | cut -d: -f1)
[ -n "$n" ] || { echo "no Corvane Chorus MIDI 1 among the outputs:"; "$lister"; exit 1; }
hw=$(amidi -l | awk '/Corvane Chorus MIDI 1/ {print $2; exit}')
echo "outputid $n, raw device $hw"

run() {   # label, args...
    label=$1; shift
    midivm-helper time "$app" --autoupdate --outputid "$n" "$@" 2>"/tmp/err.$$"
    status=$?
    cat "/tmp/err.$$" >&2
    echo "run $label: exit $status"
}

run small --file "$small"
echo "amidi:"; midivm-helper time amidi -p "$hw" -s "$builtin"
i=0; while [ $i -lt "$runs" ]; do i=$((i + 1)); run "builtin-$i"; done
i=0; while [ $i -lt "$fileruns" ]; do i=$((i + 1)); run "file-$i" --file "$fileimage"; done
# The same send path without the window: the interface and the transfer on their own.
i=0; while [ $i -lt 3 ]; do
    i=$((i + 1))
    midivm-helper time "$sender" --port "Corvane Chorus MIDI 1"
    echo "run sender-$i: exit $?"
done
