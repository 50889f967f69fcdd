#!/bin/sh
# Runs inside the MIDI guest with the USB-MIDI device "Corvane Chorus" and the 3125 B/s
# UART ("Serial MIDI 1"); the cases are described in vm_unattended_truth_test.sh. Prints
# what it measured as "== " lines for the host script, and each Firmhold run's standard
# error as "LABEL| " lines.
#   vm_unattended_truth_inside.sh FIRMHOLD LISTER OTHER_MODEL_IMAGE
app=$1 lister=$2 other=$3
exec 2>&1

now() { read -r up _ < /proc/uptime; echo "$up"; }
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.0f", (b - a) * 1000}'; }
outputid() { "$lister" | grep -n -x "$1" | cut -d: -f1; }
die() { echo "== error: $*"; exit 1; }
show_stderr() { sed "s/^/$1| /" /tmp/stderr.txt; }

# --- another model's image, given to the pedal: refused before anything is sent -------------------
n=$(outputid "Corvane Chorus MIDI 1")
[ -n "$n" ] || die "no \"Corvane Chorus MIDI 1\" among the outputs: $("$lister" | tr '\n' ' ')"
start=$(now)
status=0
timeout 30 "$app" --autoupdate --outputid "$n" --file "$other" 2>/tmp/stderr.txt || status=$?
echo "== other-model exit=$status ms=$(ms_between "$start" "$(now)")"
show_stderr other-model

# --- quit signals 3 s into the built-in image's transfer through the UART ---------------------------
n=$(outputid "Serial MIDI 1")
[ -n "$n" ] || die "no \"Serial MIDI 1\" among the outputs"

for sig in TERM HUP INT; do
    "$app" --autoupdate --outputid "$n" 2>/tmp/stderr.txt &
    pid=$!
    sleep 3
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; die "SIG$sig: Firmhold ended (status $?) before the signal"; }
    # Twice the bound: a miss is measured, not cut off; a hang still lets the next case run.
    ( sleep 11; kill -s KILL "$pid" 2>/dev/null ) &
    guard=$!
    sent=$(now)
    kill -s "$sig" "$pid"
    status=0
    wait "$pid" || status=$?
    ended=$(now)
    kill "$guard" 2>/dev/null
    wait "$guard" 2>/dev/null
    echo "== sig$sig exit=$status ms=$(ms_between "$sent" "$ended")"
    show_stderr "sig$sig"
done

echo "== done"
