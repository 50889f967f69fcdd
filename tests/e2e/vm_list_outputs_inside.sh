#!/bin/sh
# Runs inside the MIDI guest: Firmhold --list-outputs without a display, then the number it
# gives "VirMIDI 0-0" used as --outputid for an unattended update with a small image.
#   vm_list_outputs_inside.sh FIRMHOLD LISTER IMAGE
set -e
app=$1
lister=$2
image=$3

list=$(env -u DISPLAY "$app" --list-outputs)
echo "--list-outputs:"
printf '%s\n' "$list"

# Numbered 1, 2, ... with a tab before each name, the names as the framework lists them.
printf '%s\n' "$list" | awk -F '\t' 'NF != 2 || $1 != NR { bad = 1 } END { exit bad }' \
    || { echo "not N<TAB>name lines"; exit 1; }
[ "$(printf '%s\n' "$list" | cut -f2)" = "$("$lister")" ] \
    || { echo "names differ from the framework's list:"; "$lister"; exit 1; }

n=$(printf '%s\n' "$list" | awk -F '\t' '$2 == "VirMIDI 0-0" { print $1 }')
[ -n "$n" ] || { echo "no VirMIDI 0-0 among the outputs"; exit 1; }
echo "VirMIDI 0-0 is output $n"

"$app" --autoupdate --outputid "$n" --file "$image"
echo "sent with --outputid $n: exit 0"
