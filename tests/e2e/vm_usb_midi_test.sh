#!/usr/bin/env bash
# Firmhold sending to a class-compliant USB-MIDI device ("Corvane Chorus") in the MIDI
# guest at its default 2 CPUs: through the device's raw MIDI device, at the device's pace.
#
#   vm_usb_midi_test.sh RUN_IN_MIDI_VM FIRMHOLD LISTER SENDER RELEASE_FILE MODE
#
#   transfer  a small image (start-up), amidi -s of the built-in image, then 10 automatic
#             updates with the built-in image, 3 with a file of 20 KB messages and 3 sends
#             of the built-in image by the windowless sender (the same interface and
#             transfer): every byte of every run arrives and every run exits 0, and the
#             app's transfer time (median run less the start-up) stays under a quarter of
#             the built-in image's wire time at 31250 baud (77.8 s): nothing paces this
#             path. Both times are printed as ratios to amidi's, a figure to watch (the
#             guest's speed follows the host's load too much for a bound on them)
#   unplug    the device is pulled after 100000 bytes: Firmhold ends by itself with exit
#             status 1 within 60 s and "Update failed" on its standard error
set -euo pipefail
midivm=$1 app=$2 lister=$3 sender=$4 release=$5 mode=$6
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

printf '\xf0\x00\x4f\x51\x00\x6d\x51\x01\xf7\xf0\x00\x4f\x51\x00\x6d\x52\x00\x01\x02\x03\xf7\xf0\x00\x4f\x51\x00\x6d\x52\x01\xf7' > "$work/small.syx"
python3 "$here/make_test_image.py" "$work/file20k.syx" 20000 10
cp "$release" "$work/builtin.syx"
cp "$here/vm_usb_inside.sh" "$work/inside.sh"

if [ "$mode" = unplug ]; then
    set +e
    "$midivm" --xvfb --timeout 200 --usb-midi "$work/got.syx" --usb-midi-name "Corvane Chorus" \
        --usb-midi-unplug-after 100000 --include "$work" --tool "$app" --tool "$lister" \
        -- /bin/sh -c "n=\$('$lister' | grep -n -x 'Corvane Chorus MIDI 1' | cut -d: -f1); \
                       [ -n \"\$n\" ] || exit 3; \
                       midivm-helper time '$app' --autoupdate --outputid \"\$n\" 2>'$work/err.txt'; \
                       s=\$?; cat '$work/err.txt' >&2; echo \"firmhold exit \$s\"; exit 0" 2>&1 | tee "$work/log"
    set -e
    status=$(sed -n 's/^firmhold exit \([0-9]*\)$/\1/p' "$work/log")
    ms=$(awk '/midivm-time:/ {print $2; exit}' "$work/log")
    echo "unplugged after 100000 bytes: exit ${status:-?} after ${ms:-?} ms, $(stat -c %s "$work/got.syx" 2>/dev/null || echo 0) bytes arrived"
    [ "$status" = 1 ] || fail "exit status ${status:-none}, not 1"
    grep -q "^Update failed" "$work/log" || fail "no \"Update failed\" on standard error"
    awk -v t="$ms" 'BEGIN {exit !(t <= 60000)}' || fail "the process took ${ms} ms to end"
    echo PASS
    exit 0
fi

runs=10 fileruns=3
set +e
"$midivm" --xvfb --timeout 500 --usb-midi "$work/got.syx" --usb-midi-name "Corvane Chorus" \
    --include "$work" --tool "$app" --tool "$lister" --tool "$sender" \
    -- /bin/sh "$work/inside.sh" "$app" "$lister" "$sender" "$work/small.syx" "$work/builtin.syx" "$work/file20k.syx" $runs $fileruns 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e
[ "$status" -eq 0 ] || fail "the guest run ended with $status"

# The facts the raw path rests on: the card's driver, the client of the card, the port
# number (device x 32 + subdevice) and the subdevice named as the port is.
grep -q "USB-Audio - Corvane Chorus" "$work/log" || fail "no USB-Audio card for the device"
grep -q "client [0-9]*: 'Corvane Chorus' \[type=kernel,card=[0-9]*\]" "$work/log" || fail "no kernel client with a card"
grep -q "^    0 'Corvane Chorus MIDI 1" "$work/log" || fail "the device's port is not port 0"
grep -q "hw:[0-9]*,0,0 *Corvane Chorus MIDI 1" "$work/log" || fail "no raw MIDI subdevice hw:C,0,0 named like the port"

bad=$(grep "^run .*: exit" "$work/log" | grep -v "exit 0$" || true)
[ -z "$bad" ] || fail "runs that did not exit 0: $bad"

# What the device took: the small image, amidi's 243212 bytes (their content is not a
# reference: amidi's writes meet the kernel race), then every one of our runs.
small=$(stat -c %s "$work/small.syx") builtin=$(stat -c %s "$release")
{
    cat "$work/small.syx"
    for _ in $(seq $runs); do cat "$release"; done
    for _ in $(seq $fileruns); do cat "$work/file20k.syx"; done
    for _ in $(seq 3); do cat "$release"; done
} > "$work/ours.syx"
cmp -n "$small" "$work/got.syx" "$work/small.syx" || fail "the small image did not arrive exactly"
tail -c +$((small + builtin + 1)) "$work/got.syx" > "$work/got-ours.syx"
tail -c +$((small + 1)) "$work/ours.syx" > "$work/expected-ours.syx"
cmp "$work/got-ours.syx" "$work/expected-ours.syx" || fail "bytes of our runs differ from the images"
echo "ok: all $runs built-in and $fileruns file runs arrived byte for byte ($(stat -c %s "$work/got.syx") bytes in all)"

times=$(awk '/midivm-time:/ {print $2}' "$work/log")
small_ms=$(echo "$times" | sed -n 1p)
amidi_ms=$(echo "$times" | sed -n 2p)
builtin_ms=$(echo "$times" | sed -n "3,$((2 + runs))p" | sort -g | tr '\n' ' ')
file_ms=$(echo "$times" | sed -n "$((3 + runs)),$((2 + runs + fileruns))p" | tr '\n' ' ')
sender_ms=$(echo "$times" | sed -n "$((3 + runs + fileruns)),$((5 + runs + fileruns))p" | sort -g | tr '\n' ' ')
sender_median_ms=$(echo "$sender_ms" | tr ' ' '\n' | grep . | sed -n 2p)
median_ms=$(echo "$builtin_ms" | tr ' ' '\n' | grep . | sed -n "$(( (runs + 1) / 2 ))p")
transfer_ms=$(awk -v m="$median_ms" -v s="$small_ms" 'BEGIN {printf "%.0f", m - s}')
unpaced_ms=$(awk 'BEGIN {printf "%.0f", 0.25 * 77830}')
echo "start-up (small image): $small_ms ms; amidi -s of the built-in image: $amidi_ms ms"
echo "built-in runs, start to exit, sorted: $builtin_ms ms; file runs: $file_ms ms"
echo "windowless sender, built-in image, start to exit, sorted: $sender_ms ms (median $(awk -v m="$sender_median_ms" -v a="$amidi_ms" 'BEGIN {printf "%.2f", m / a}') x amidi)"
echo "app transfer time (median run less start-up): $transfer_ms ms = $(awk -v t="$transfer_ms" -v a="$amidi_ms" 'BEGIN {printf "%.2f", t / a}') x amidi; limit $unpaced_ms ms (a quarter of the wire time)"
[ "$transfer_ms" -le "$unpaced_ms" ] || fail "the app's transfer was paced, not at the device's own pace"
echo PASS
