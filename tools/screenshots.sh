#!/usr/bin/env bash
# Regenerates the README's pictures (docs/main-window.png, docs/help-window.png) from the
# real binary on a private Xvfb display.
#   tools/screenshots.sh [FIRMHOLD_BINARY]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
app=${1:-$root/build/release/src/Firmhold_artefacts/RelWithDebInfo/Firmhold}

display=""
for n in $(seq 150 199); do [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }; done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() { kill "${pid:-}" "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$app" >/dev/null 2>&1 &
pid=$!
main=$(xdotool search --sync --onlyvisible --name "^Corvane Chorus")
sleep 1
import -window "$main" "$root/docs/main-window.png"

# The Help button sits at the panel's top right (the panel starts 4 px in, under a 26 px title bar).
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --sync $((X + 4 + 538 + 47)) $((Y + 30 + 2 + 15)) click 1
help=$(xdotool search --sync --onlyvisible --name "^Firmware Update Help$")
xdotool mousemove 0 0
sleep 1
import -window "$help" "$root/docs/help-window.png"
echo "wrote docs/main-window.png and docs/help-window.png"
