#!/usr/bin/env bash
# Drives the real Firmhold binary on the X display in $DISPLAY and reads what it shows
# from the X server: the window title and size, the alerts about a firmware file that come
# before the window, paths with blanks and non-ASCII letters, the fixed size under a drag of
# the frame and the single-instance rule; then the binary where no display can be opened.
#   app_window_test.sh FIRMHOLD_BINARY
set -euo pipefail
app=$1
work=$(mktemp -d)
pids=()
cleanup() {
    # start runs in a subshell, so its processes are listed in a file.
    [ -f "$work/pids" ] && while read -r p; do pids+=("$p"); done < "$work/pids"
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../support/x11_windows.sh"
cd "$work"

start() { "$app" "$@" >/dev/null 2>&1 & echo $! >> "$work/pids"; echo $!; }
# start runs in a subshell, so its process is no child to wait for: wait until it is gone, or
# the next start may still find its single-instance lock and hand over to it.
stop() {
    kill "$1" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    kill -9 "$1" 2>/dev/null || true
}

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

# Answers the alert whose title matches the regex $1 (and any that follow it) with Return
# until the built-in image's window shows; fails if that window shows before the alert.
alert_then_builtin_window() {
    find_window_matching "$1" 30 >/dev/null || fail "no alert matching '$1'"
    if xdotool search --onlyvisible --name "Corvane Chorus" >/dev/null 2>&1; then
        fail "main window is showing before the alert '$1' was answered"
    fi
    # A firmware alert names its file; the no-output warning has no title.
    answer_alerts_until "Corvane Chorus" "^(File .*|)\$"
    find_window "$builtin_title" >/dev/null || fail "no built-in window after the alert '$1'"
}

# --- a missing file: the alert comes first, then the built-in image's window -----------------------
pid=$(start --file "$work/missing.syx")
alert_then_builtin_window "^File $work/missing.syx not found\$"
echo "ok: not-found alert before the window, then '$builtin_title'"
stop "$pid"

# --- an empty file: its own alert, then the built-in image ----------------------------------------
: > "$work/empty.syx"
pid=$(start --file "$work/empty.syx")
alert_then_builtin_window "^File $work/empty.syx is empty\$"
echo "ok: 'is empty' alert before the window, then '$builtin_title'"
stop "$pid"

# --- an unreadable file: its own alert, then the built-in image -----------------------------------
# Root reads a mode-000 file regardless, so the program runs as an unprivileged user then.
printf '\xf0\x01\xf7' > "$work/locked.syx"
chmod 000 "$work/locked.syx"
chmod 755 "$work"
if [ "$(id -u)" -eq 0 ]; then
    # The display may want the cookie of whoever started it (xvfb-run makes one).
    xauth_env=()
    if [ -n "${XAUTHORITY:-}" ] && [ -r "$XAUTHORITY" ]; then
        cp "$XAUTHORITY" "$work/xauthority" && chmod 644 "$work/xauthority"
        xauth_env=(XAUTHORITY="$work/xauthority")
    fi
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- \
        env HOME="$work" "${xauth_env[@]}" "$app" --file "$work/locked.syx" >/dev/null 2>"$work/nobody-stderr.txt" &
    pid=$!; pids+=("$pid")
    find_window_matching "^File $work/locked.syx cannot be read\$" 30 >/dev/null \
        || fail "no alert from the program as nobody ($(kill -0 "$pid" 2>/dev/null && echo "still running" || echo "it has ended"); its standard error: '$(cat "$work/nobody-stderr.txt")')"
else
    pid=$(start --file "$work/locked.syx")
fi
alert_then_builtin_window "^File $work/locked.syx cannot be read\$"
echo "ok: 'cannot be read' alert (as $( [ "$(id -u)" -eq 0 ] && echo nobody || id -un)) before the window, then '$builtin_title'"
stop "$pid"

# --- a path under folders with blanks and non-ASCII letters, as one argument -----------------------
odd="$work/Prüfung Ordner/My Pedal ペダル"
mkdir -p "$odd"
cp pedal_v2.syx "$odd/pedal_v3.syx"
pid=$(start --file "$odd/pedal_v3.syx")
find_window "pedal_v3 version " >/dev/null || fail "the file under '$odd' did not load"
echo "ok: '$odd/pedal_v3.syx' as one argument loads"
stop "$pid"

# --- the same path in quotes inside the one argument (as a Windows-style launcher passes it) -------
pid=$(start --file "\"$odd/pedal_v3.syx\"")
find_window "pedal_v3 version " >/dev/null || fail "the quoted path did not load"
echo "ok: the quoted path loads"
stop "$pid"

# --- unattended runs that cannot go on: no box, exit 1 within seconds, nothing but the reason ------
# (No MIDI output exists on this host.) Each must end by itself; a box left waiting would hold it.
unattended() {   # expected line, arguments...
    local expected=$1; shift
    local start=$(date +%s%N) status=0
    timeout 30 "$app" "$@" >/dev/null 2>"$work/stderr.txt" || status=$?
    local ms=$(( ($(date +%s%N) - start) / 1000000 ))
    [ "$status" -eq 1 ] || fail "'$*' exited with $status, not 1 (124: it waited, on a box perhaps): $(cat "$work/stderr.txt")"
    grep -qxF "$expected" "$work/stderr.txt" || fail "'$*' did not say '$expected': $(cat "$work/stderr.txt")"
    echo "ok: '$*' exit 1 after $ms ms: $(tail -n 1 "$work/stderr.txt")"
}
unattended "Update failed: there is no MIDI output number 1" --autoupdate
unattended "Update failed: --outputid needs the number of a MIDI output, from 1 up" --autoupdate --outputid=2
unattended "Update failed: the firmware file $work/missing.syx cannot be used" --autoupdate --outputid 99 --file "$work/missing.syx"
grep -qxF "File $work/missing.syx not found: A firmware file was specified, but it could not be found. The application will use the build-in firmware version." "$work/stderr.txt" \
    || fail "the not-found alert is not on standard error: $(cat "$work/stderr.txt")"
mkfifo "$work/pipe.syx"
unattended "Update failed: the firmware file $work/pipe.syx cannot be used" --autoupdate --file "$work/pipe.syx"

# --- no display: one line and a non-zero status, never a crash -------------------------------------
for display in unset ":9371"; do
    set +e
    if [ "$display" = unset ]; then
        env -u DISPLAY timeout 20 "$app" >"$work/out.txt" 2>"$work/err.txt"
    else
        DISPLAY=$display timeout 20 "$app" >"$work/out.txt" 2>"$work/err.txt"
    fi
    status=$?
    set -e
    [ "$status" -eq 3 ] || fail "without a display ($display) the exit status is $status, not 3: $(cat "$work/err.txt")"
    line=$(grep -v "^ALSA lib" "$work/err.txt" || true)
    [ "$(printf '%s\n' "$line" | wc -l)" -eq 1 ] || fail "without a display ($display) it printed: $line"
    case "$line" in
        "Firmhold needs a graphical display"*) ;;
        *) fail "without a display ($display) the line is: $line" ;;
    esac
    if [ "$display" = unset ]; then
        case "$line" in *"DISPLAY is not set"*) ;; *) fail "the line does not say DISPLAY is unset: $line" ;; esac
    else
        case "$line" in *"\"$display\""*) ;; *) fail "the line does not name display $display: $line" ;; esac
    fi
    echo "ok: no display ($display): exit 3, '$line'"
done

# --- --list-outputs needs no display, opens no window and exits 0 ---------------------------------
set +e
env -u DISPLAY timeout 20 "$app" --list-outputs >"$work/out.txt" 2>"$work/err.txt"
status=$?
set -e
[ "$status" -eq 0 ] || fail "--list-outputs without a display exited $status"
if [ -s "$work/out.txt" ]; then
    awk -F '\t' 'NF != 2 || $1 != NR { bad = 1 } END { exit bad }' "$work/out.txt" || fail "--list-outputs printed: $(cat "$work/out.txt")"
fi
echo "ok: --list-outputs without a display exits 0 ($(wc -l < "$work/out.txt") outputs on this host)"

echo "PASS"
