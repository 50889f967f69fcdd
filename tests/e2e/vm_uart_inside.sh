#!/bin/sh
# Runs inside the MIDI guest with the serial UART ("Serial MIDI 1"): Firmhold sends the
# built-in image unattended; with "interfere", once it holds the port, another program
# tries to play notes to the same port through the sequencer (aplaymidi) and through the
# raw device (amidi), once a second for 10 s. Prints each attempt's exit status, then
# Firmhold's.
#   vm_uart_inside.sh FIRMHOLD LISTER NOTES_FILE interfere|quiet
app=$1 lister=$2 notes=$3 mode=$4
exec 2>&1

n=$("$lister" | grep -n -x "Serial MIDI 1" | cut -d: -f1)
[ -n "$n" ] || { echo "no Serial MIDI 1 among the outputs:"; "$lister"; exit 1; }
seqport=$(aplaymidi -l | awk '/Serial MIDI 1/ {print $1; exit}')
hw=$(amidi -l | awk '/Serial MIDI 1/ {print $2; exit}')
card=$(echo "$hw" | sed 's/^hw:\([0-9]*\),.*/\1/')
echo "outputid $n, sequencer port $seqport, raw device $hw"

midivm-helper time "$app" --autoupdate --outputid "$n" 2>/tmp/firmhold.err &
pid=$!

if [ "$mode" = interfere ]; then
    # Once the port is open (the kernel then names its owner), and not before: a program
    # that had it first would rightly keep Firmhold out.
    i=0
    while ! grep -q "Owner PID" "/proc/asound/card$card/midi0"; do
        i=$((i + 1)); [ $i -gt 600 ] && { echo "the port was never opened"; break; }; sleep 0.05
    done
    echo "port held: $(grep "Owner PID" "/proc/asound/card$card/midi0" | tr -s ' ')"
    i=0
    while [ $i -lt 10 ]; do
        i=$((i + 1))
        aplaymidi -p "$seqport" "$notes"; echo "attempt $i: aplaymidi exit $?"
        amidi -p "$hw" -S '90 3C 40 80 3C 00'; echo "attempt $i: amidi exit $?"
        sleep 1
    done
fi

wait $pid
status=$?
cat /tmp/firmhold.err
echo "firmhold exit $status"
