#!/bin/sh
# Runs inside the MIDI guest: Firmhold with --autoupdate sends a file of 64 KB messages to
# "Serial MIDI 1" (3125 B/s); part-way through the first message its window is closed.
# Prints how long the process took to end after the close.
#   vm_app_close_inside.sh FIRMHOLD LISTER CLOSER IMAGE TITLE
app=$1 lister=$2 closer=$3 image=$4 title=$5

n=$("$lister" | grep -n -x "Serial MIDI 1" | cut -d: -f1)
[ -n "$n" ] || { echo "no Serial MIDI 1 among the outputs:"; "$lister"; exit 1; }

rm -f /tmp/app.status
( "$app" --autoupdate --outputid "$n" --file "$image"; echo $? > /tmp/app.status ) &
sleep 8
[ -e /tmp/app.status ] && { echo "Firmhold ended before the close"; exit 1; }

echo "closing the window"
midivm-helper time sh -c "'$closer' '$title' close && while [ ! -e /tmp/app.status ]; do usleep 10000; done"
echo "firmhold exit $(cat /tmp/app.status)"
