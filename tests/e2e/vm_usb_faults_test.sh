#!/usr/bin/env bash
# Faults at the pedal's USB-MIDI port ("Corvane Chorus" on the guest's emulated USB bus),
# with the real application under Xvfb in the MIDI guest.
#
#   vm_usb_faults_test.sh RUN_IN_MIDI_VM FIRMHOLD LISTER DRIVER RELEASE_FILE MODE
#
#   busy       another program holds the device's raw MIDI output: an unattended update
#              ends within 5 s with exit status 1 and "Update failed: the MIDI output is
#              in use by another program", and the device receives nothing; once the
#              holder lets go, the next run delivers the image
#   pulls      the device pulled at offsets spread over the built-in image (in the first
#              message, inside messages, on a message boundary, near the end) and plugged
#              back in, one unattended run each: every run ends by itself within 3 s with
#              exit status 1 and "Update failed: the device was disconnected", and what
#              reached the device is the start of the image
#   close      a file of 20 KB messages, the device pulled inside a message and the window
#              closed at once, several times: every process is gone within 5.2 s of the
#              close, with exit status 1 or 2 (1 only for "the device was disconnected")
#   last-byte  the device leaves the bus right after the image's last byte, three times:
#              every run exits 0 and the device holds the image three times
#   repress    chosen and started in the window, pulled mid-transfer and plugged back in,
#              update pressed again: the device holds the partial image, then the whole
#              image, and the window closes with exit status 0
#   late-plug  the device plugged in 3 s after the start, chosen in the window 2 s after it
#              is listed, update pressed: the device holds the image
set -euo pipefail
midivm=$1 app=$2 lister=$3 driver=$4 release=$5 mode=$6
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

size=$(stat -c %s "$release")
image=$work/builtin.syx
cp "$release" "$image"
cp "$here/vm_usb_faults_inside.sh" "$work/inside.sh"
usb=(--usb-midi "$work/got.syx" --usb-midi-name "Corvane Chorus")
offsets=()
case $mode in
    busy) ;;
    # 5: inside the 9-byte first message; 121606: the boundary after the 203rd data
    # message; 232000: 11 KB before the end. The device leaves the bus only once its side
    # has read the count, and takes what is in flight by then (up to 6 KB past it, seen
    # with amidi's large writes): the last pull must still come before the last byte.
    pulls) offsets=(5 700 4099 60000 121606 180000 232000)
           usb+=(--usb-midi-unplug-after "$(IFS=,; echo "${offsets[*]}")" --usb-midi-replug-after 1500) ;;
    close) python3 "$here/make_test_image.py" "$work/file20k.syx" 20000 10
           image=$work/file20k.syx
           # Inside the 1st, 2nd, 3rd and 7th messages of 20 KB (which start at 9 + 20000 k).
           offsets=(10000 20500 45000 130000)
           usb+=(--usb-midi-unplug-after "$(IFS=,; echo "${offsets[*]}")" --usb-midi-replug-after 1500) ;;
    last-byte) usb+=(--usb-midi-unplug-after "$size,$size,$size" --usb-midi-replug-after 1500) ;;
    repress) usb+=(--usb-midi-unplug-after 100000 --usb-midi-replug-after 1500) ;;
    late-plug) usb+=(--usb-midi-plug-after 3000) ;;
    *) fail "unknown mode $mode" ;;
esac

set +e
"$midivm" --xvfb --timeout 400 "${usb[@]}" --include "$work" --tool "$app" --tool "$lister" --tool "$driver" \
    -- /bin/sh "$work/inside.sh" "$mode" "$app" "$lister" "$driver" "$image" "${offsets[@]}" 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e
[ "$status" -eq 0 ] || fail "the guest run ended with $status"
grep -q "^== done$" "$work/log" || fail "the guest script did not finish"
got=$work/got.syx

# field LABEL KEY: KEY's value on the first "== LABEL" line that has it
field() { sed -n "/^== $1[ =]/ s/.* $2=\([^ ]*\).*/\1/p" "$work/log" | head -n1; }
stderr_of() { sed -n "s/^$1| //p" "$work/log"; }

case $mode in
busy)
    s=$(field busy exit) ms=$(field busy ms) before=$(field busy received)
    echo "busy port: exit ${s:-?} after ${ms:-?} ms, the device received ${before:-?} bytes;" \
         "once free: exit $(field free exit) after $(field free ms) ms, $(stat -c %s "$got") bytes in all"
    [ "$s" = 1 ] || fail "busy port: exit status ${s:-none}, not 1"
    awk -v t="$ms" 'BEGIN {exit !(t <= 5000)}' || fail "busy port: the run took $ms ms, more than 5 s"
    stderr_of busy | grep -q "^Update failed: the MIDI output is in use by another program" \
        || fail "busy port: no \"Update failed: the MIDI output is in use by another program\" on standard error"
    [ "$before" = 0 ] || fail "busy port: the device received $before bytes"
    [ "$(field free exit)" = 0 ] || fail "once free: exit status $(field free exit), not 0"
    cmp "$got" "$release" || fail "once free: the device did not receive the image byte for byte"
    ;;

pulls)
    python3 - "$work/log" "$got" "$release" "${#offsets[@]}" <<'PY' || fail "a pull was not handled as it must be"
import re, sys
log, got, release, count = sys.argv[1:]
data, image = open(got, "rb").read(), open(release, "rb").read()
lines = open(log, errors="replace").read().splitlines()
at, bad = 0, []
pulls = [(m.group(1), dict(re.findall(r"(\w+)=(\S+)", l))) for l in lines for m in [re.match(r"== pull(\d+) offset=", l)] if m]
for k, pull in pulls:
    run = dict(re.findall(r"(\w+)=(\S+)", next(l for l in lines if l.startswith("== pull%s exit=" % k))))
    errors = [l[len("pull%s| " % k):] for l in lines if l.startswith("pull%s| " % k)]
    session = int(pull["session"])
    print("pull %s after %s bytes: exit %s after %s ms (pulled %s s into the run, ended %s s after the pull), "
          "%d bytes arrived; %s" % (k, pull["offset"], run["exit"], run["ms"], pull["start_to_pull"],
                                    pull["pull_to_exit"], session, " / ".join(errors) or "nothing on standard error"))
    if "== pull%s not-pulled" % k in lines:
        bad.append("pull %s: the device was still there after the run" % k)
    if session >= len(image):
        bad.append("pull %s: the whole image arrived before the pull (choose an earlier offset)" % k)
    if data[at:at + session] != image[:session]:
        bad.append("pull %s: the %d bytes that arrived are not the start of the image" % (k, session))
    at += session
    if run["exit"] != "1":
        bad.append("pull %s: exit status %s, not 1" % (k, run["exit"]))
    if float(run["ms"]) > 3000:
        bad.append("pull %s: the run took %s ms, more than 3 s" % (k, run["ms"]))
    if "Update failed: the device was disconnected" not in errors:
        bad.append("pull %s: no \"Update failed: the device was disconnected\" on standard error" % k)
if len(pulls) != int(count) or at != len(data):
    bad.append("%d runs accounted for %d of the %d bytes the device received" % (len(pulls), at, len(data)))
for b in bad:
    print("FAIL: " + b)
sys.exit(1 if bad else 0)
PY
    ;;

close)
    python3 - "$work/log" "${#offsets[@]}" <<'PY' || fail "a close during a stalled send was not handled as it must be"
import re, sys
lines = open(sys.argv[1], errors="replace").read().splitlines()
runs = [(m.group(1), dict(re.findall(r"(\w+)=(\S+)", l))) for l in lines for m in [re.match(r"== close(\d+) offset=", l)] if m]
bad = []
for k, r in runs:
    status = int(next(l for l in lines if l.startswith("== close%s exit=" % k)).split("=")[-1])
    errors = [l[len("close%s| " % k):] for l in lines if l.startswith("close%s| " % k)]
    how = "ended by itself before the click" if r["ended_before_click"] == "yes" else \
          "closed with %s click(s)" % r["clicks"] if r["clicks"] != "0" else "no window left to click"
    print("close %s (pulled after %s bytes, %s arrived): %s; gone %s s after the close, exit %d; %s"
          % (k, r["offset"], r["session"], how, r["gone_after"], status, " / ".join(errors) or "nothing on standard error"))
    if status not in (1, 2):
        bad.append("close %s: exit status %d, not 1 or 2" % (k, status))
    if status == 1 and "Update failed: the device was disconnected" not in errors:
        bad.append("close %s: exit status 1 without \"Update failed: the device was disconnected\"" % k)
    if "== close%s not-pulled" % k in lines:
        bad.append("close %s: the device did not leave the bus" % k)
    if r["ended_before_click"] != "yes" and float(r["gone_after"]) > 5.2:
        bad.append("close %s: the process took %s s to end after the close" % (k, r["gone_after"]))
if len(runs) != int(sys.argv[2]):
    bad.append("%d closes made, not %s" % (len(runs), sys.argv[2]))
for b in bad:
    print("FAIL: " + b)
sys.exit(1 if bad else 0)
PY
    ;;

last-byte)
    for k in 1 2 3; do
        errors=$(stderr_of "run$k" | paste -sd/)
        echo "run $k: exit $(field "run$k" exit) after $(field "run$k" ms) ms, $(field "run$k" session) bytes arrived;" \
             "${errors:-nothing on standard error}"
    done
    for k in 1 2 3; do
        [ "$(field "run$k" exit)" = 0 ] || fail "run $k: exit status $(field "run$k" exit), not 0"
        stderr_of "run$k" | grep -q "^Update failed" && fail "run $k reported a failure"
        grep -q "^== run$k not-pulled" "$work/log" && fail "run $k: the device did not leave the bus after the image"
    done
    cat "$release" "$release" "$release" | cmp - "$got" || fail "the device does not hold the image three times"
    ;;

repress)
    first=$(field pulled_after_press first)
    echo "first transfer: pulled $(field pulled_after_press pulled_after_press) s after the press, after $first bytes;" \
         "listed again $(field back_after_press back_after_press) s after the press;" \
         "second transfer: $(grep -q '^== second_done_after' "$work/log" && echo "done $(field second_done_after second_done_after) s after the press" || echo incomplete);" \
         "window gone $(field gone_after_close gone_after_close) s after the close ($(field gone_after_close clicks) click(s)), exit $(field window exit);" \
         "$(stat -c %s "$got") bytes arrived"
    stderr_of window | sed 's/^/  standard error: /'
    [ -n "$first" ] && [ "$first" -lt "$size" ] || fail "the first transfer was not cut short"
    { head -c "$first" "$release"; cat "$release"; } | cmp - "$got" \
        || fail "the device does not hold the first $first bytes of the image followed by the whole image"
    [ "$(field window exit)" = 0 ] || fail "the window closed with exit status $(field window exit), not 0"
    ;;

late-plug)
    echo "listed $(field listed_after_start listed_after_start) s after the start (plugged in at 3 s);" \
         "transfer $(grep -q '^== transfer_done_after' "$work/log" && echo "done $(field transfer_done_after transfer_done_after) s after the press" || echo incomplete);" \
         "window gone $(field gone_after_close gone_after_close) s after the close ($(field gone_after_close clicks) click(s)), exit $(field window exit);" \
         "$(stat -c %s "$got") bytes arrived"
    stderr_of window | sed 's/^/  standard error: /'
    cmp "$got" "$release" || fail "the device did not receive the image byte for byte"
    [ "$(field window exit)" = 0 ] || fail "the window closed with exit status $(field window exit), not 0"
    ;;
esac
echo PASS
