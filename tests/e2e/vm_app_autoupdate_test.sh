#!/usr/bin/env bash
# The whole product in a real kernel: Firmhold under Xvfb in the MIDI guest, started with
# --autoupdate, must send its image to "VirMIDI 0-0" byte for byte, paced at the wire rate,
# and end by itself with exit code 0. A screenshot taken mid-transfer is kept.
#   vm_app_autoupdate_test.sh RUN_IN_MIDI_VM FIRMHOLD LISTER RELEASE_FILE SCREENSHOT_OUT
set -euo pipefail
midivm=$1 app=$2 lister=$3 release=$4 shot=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A small image of our own: begin, two short data messages, end.
python3 "$here/make_test_image.py" "$work/small.syx" 12 2
cp "$here/vm_app_inside.sh" "$work/inside.sh"

set +e
"$midivm" --xvfb --timeout 400 --capture "$work/got.syx" \
    --screenshot "$work/shot.png" --screenshot-after 30 \
    --include "$work" --tool "$app" --tool "$lister" \
    -- /bin/sh "$work/inside.sh" "$app" "$lister" "$work/small.syx" 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e
[ "$status" -eq 0 ] || fail "the guest run ended with $status"

cat "$work/small.syx" "$release" > "$work/expected.syx"
cmp "$work/got.syx" "$work/expected.syx" || fail "captured bytes differ from the images"
echo "ok: $(stat -c %s "$work/got.syx") bytes arrived exactly (small image, then the built-in image)"

small_ms=$(awk '/midivm-time:/ {print $2; exit}' "$work/log")
builtin_ms=$(awk '/midivm-time:/ {n++; if (n == 2) print $2}' "$work/log")
limit_ms=$(awk -v s="$small_ms" 'BEGIN {printf "%.0f", 1.05 * 243212 * 10 / 31250 * 1000 + s}')
echo "built-in image: ${builtin_ms} ms from start to exit; limit ${limit_ms} ms (1.05 x 77.8 s + the ${small_ms} ms start-up and exit of the small run)"
awk -v b="$builtin_ms" -v l="$limit_ms" 'BEGIN {exit !(b <= l)}' || fail "the transfer took too long"
awk -v b="$builtin_ms" 'BEGIN {exit !(b >= 77000)}' || fail "the transfer was faster than the wire: it cannot have been paced"

# The screenshot, 30 s into the run: the window is centred on the 1024 x 768 screen, its panel
# 4 px in under a 26 px title bar. The bar's fill has started and not ended, and the
# selector is disabled (a disabled selector draws no arrows on its button).
px=$(( (1024 - 650) / 2 + 4 )) py=$(( (768 - 400) / 2 + 30 ))
pixel() { convert "$work/shot.png" -format "%[fx:p{$1,$2}.intensity]" info:; }
fill_start=$(pixel $((px + 10 + 8)) $((py + 215 + 20)))
fill_end=$(pixel $((px + 10 + 510)) $((py + 215 + 20)))
arrows=$(convert "$work/shot.png" -crop 18x24+$((px + 10 + 598))+$((py + 105 + 20 + 2)) -format "%[fx:minima.intensity]" info:)
echo "screenshot: bar start $fill_start, bar end $fill_end, darkest selector arrow pixel $arrows"
awk -v a="$fill_start" -v b="$fill_end" 'BEGIN {exit !(a < 0.95 && b > 0.98)}' || fail "the screenshot shows no progress bar part-way"
awk -v m="$arrows" 'BEGIN {exit !(m > 0.9)}' || fail "the screenshot shows the selector enabled"

cp "$work/shot.png" "$shot"
echo "PASS (screenshot: $shot)"
