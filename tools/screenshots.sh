#!/usr/bin/env bash
# Regenerates the README's pictures (docs/main-window.png, docs/help-window.png) from the
# real binary on a private Xvfb display.
#   tools/screenshots.sh [FIRMHOLD_BINARY]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
app=${1:-$root/build/release/src/Firmhold_artefacts/RelWithDebInfo/Firmhold}

# Runs itself again on a private Xvfb display, the same kind tools/test.sh uses.
if [ -z "${FIRMHOLD_ON_XVFB:-}" ]; then
    FIRMHOLD_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
cleanup() { kill "${pid:-}" 2>/dev/null || true; }
trap cleanup EXIT

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
