#!/usr/bin/env bash
# Drives the real Firmhold binary on the X display in $DISPLAY and reads what it shows
# from the X server: the window title and size, the missing-file alert that comes before
# the window, the fixed size under a drag of the frame, and the single-instance rule.
#   app_window_test.sh FIRMHOLD_BINARY
set -euo pipefail
app=$1
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$work"

start() { "$app" "$@" >/dev/null 2>&1 & pids+=($!); echo $!; }
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

find_window() {   # exact title -> window id (waits up to 10 s)
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$(printf '%s' "$1" | sed 's/[][\.*^$]/\\&/g')\$" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

size_of() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

builtin_title="Corvane Chorus version 1.1.01 - R272"

# --- no arguments: the built-in image's title, 650 x 400, centred ---------------------------
pid=$(start)
win=$(find_window "$builtin_title") || fail "no window titled '$builtin_title'"
[ "$(size_of "$win")" = "650x400" ] || fail "window is $(size_of "$win"), not 650x400"
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$X" -eq $(( (sw - 650) / 2 )) ] && [ "$Y" -eq $(( (sh - 400) / 2 )) ] || fail "window at $X,$Y is not centred"
echo "ok: '$builtin_title' 650x400 at $X,$Y"

# --- dragging the frame's lower right corner leaves the size alone ------------------------------
xdotool mousemove --sync $((X + 648)) $((Y + 398)) mousedown 1
for step in 20 60 120 200; do xdotool mousemove --sync $((X + 648 + step)) $((Y + 398 + step)); sleep 0.05; done
xdotool mouseup 1
sleep 0.5
[ "$(size_of "$win")" = "650x400" ] || fail "dragging the frame resized the window to $(size_of "$win")"
xdotool mousemove --sync $((X + 2)) $((Y + 200)) mousedown 1 mousemove --sync $((X - 150)) $((Y + 200)) mouseup 1
sleep 0.5
[ "$(size_of "$win")" = "650x400" ] || fail "dragging the left edge resized the window to $(size_of "$win")"
echo "ok: frame drags keep 650x400"

# --- a second instance opens nothing and exits 0 ---------------------------------------------------
set +e
timeout 20 "$app" >/dev/null 2>&1
second=$?
set -e
[ "$second" -eq 0 ] || fail "second instance exited with $second"
count=$(xdotool search --onlyvisible --name "Corvane Chorus" | wc -l)
[ "$count" -eq 1 ] || fail "$count windows after a second start"
echo "ok: second instance exited 0, still one window"
stop "$pid"

# --- a valid --file image names the window after the file ------------------------------------------
printf '\xf0\x00\x4f\x51\x00\x6d\x51\x01\xf7\xf0\x00\x4f\x51\x00\x6d\x52\x01\xf7' > pedal_v2.syx
pid=$(start --file pedal_v2.syx)
win=$(find_window "pedal_v2 version ") || fail "no window titled 'pedal_v2 version '"
[ "$(xdotool getwindowname "$win")" = "pedal_v2 version " ] || fail "title is '$(xdotool getwindowname "$win")'"
echo "ok: 'pedal_v2 version ' (one trailing blank)"
stop "$pid"

# --- a missing file: the alert comes first, then the built-in image's window -----------------------
pid=$(start --file "$work/missing.syx")
alert=$(find_window "File $work/missing.syx not found") || fail "no not-found alert"
if xdotool search --onlyvisible --name "Corvane Chorus" >/dev/null 2>&1; then
    fail "main window is showing before the alert was answered"
fi
# Answer the alert with Return. The box may be re-created while it settles, so look it up
# afresh until the main window shows.
for _ in $(seq 50); do
    xdotool search --onlyvisible --name "Corvane Chorus" >/dev/null 2>&1 && break
    if id=$(xdotool search --onlyvisible --name "^File .*missing.syx not found$" 2>/dev/null | head -n1) && [ -n "$id" ]; then
        xdotool windowfocus "$id" 2>/dev/null || true
        xdotool key --window "$id" Return 2>/dev/null || true
    fi
    sleep 0.2
done
win=$(find_window "$builtin_title") || fail "no built-in window after the alert"
echo "ok: alert before the window, then '$builtin_title'"
stop "$pid"

echo "PASS"
