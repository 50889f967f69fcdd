#!/usr/bin/env bash
# Drives the real Firmhold binary on the X display in $DISPLAY and reads what it shows
# from the X server: the window title and size, the alerts about a firmware file that come
# before the window, paths with blanks and non-ASCII letters, the fixed size under a drag of
# the frame, the single-instance rule and the quit signals; then the binary where no display
# can be opened.
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
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/x11_windows.sh"
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

# --- a second instance opens nothing, brings the window to the front and exits 0 ------------------
# (No window manager: the focus is what "in front" is; it is taken from the window first.)
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
[ "$(xdotool getwindowfocus)" != "$win" ] || fail "the window kept the focus"
set +e
timeout 20 "$app" >/dev/null 2>&1
second=$?
set -e
[ "$second" -eq 0 ] || fail "second instance exited with $second"
count=$(xdotool search --onlyvisible --name "Corvane Chorus" | wc -l)
[ "$count" -eq 1 ] || fail "$count windows after a second start"
for _ in $(seq 50); do [ "$(xdotool getwindowfocus)" = "$win" ] && break; sleep 0.1; done
[ "$(xdotool getwindowfocus)" = "$win" ] || fail "the window did not come to the front after a second start"
echo "ok: second instance exited 0, still one window, and it came to the front"

# --- an unattended second start has sent nothing: exit 1 and why, the window left alone -------------
set +e
timeout 20 "$app" --autoupdate --outputid 1 >/dev/null 2>"$work/stderr.txt"
second=$?
set -e
[ "$second" -eq 1 ] || fail "an unattended second start exited with $second: $(cat "$work/stderr.txt")"
lines=$(grep -v "^ALSA lib" "$work/stderr.txt" || true)
[ "$lines" = "Update failed: Firmhold is already running (close it and try again)" ] \
    || fail "an unattended second start said: $lines"
[ "$(xdotool search --onlyvisible --name "Corvane Chorus")" = "$win" ] || fail "the window changed after an unattended second start"
[ "$(xdotool getwindowname "$win")" = "$builtin_title" ] && kill -0 "$pid" || fail "the first instance was disturbed"
echo "ok: unattended second start: exit 1, '$lines', the window untouched"
stop "$pid"

# --- a quit signal closes the window as its close button does: exit 0, within 5.2 s ------------------
for sig in TERM HUP INT; do
    "$app" >/dev/null 2>&1 &
    pid=$!; pids+=("$pid")
    find_window "$builtin_title" >/dev/null || fail "no window for the SIG$sig run"
    begin=$(date +%s%N)
    kill -s "$sig" "$pid"
    status=0
    wait "$pid" || status=$?
    ms=$(( ($(date +%s%N) - begin) / 1000000 ))
    [ "$status" -eq 0 ] || fail "SIG$sig ended the window with status $status, not 0"
    [ "$ms" -le 5200 ] || fail "SIG$sig took $ms ms to end the program"
    echo "ok: SIG$sig: exit 0 after $ms ms"
done

# --- a valid --file image names the window after the file ------------------------------------------
python3 "$here/make_test_image.py" pedal_v2.syx 40 3
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
cp pedal_v2.syx "$work/locked.syx"
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

# --- another device's SysEx and another model's image: refused, the built-in image instead ----------
printf '\xf0\x43\x10\x4c\x00\x00\x7e\x00\xf7' > "$work/synth-dump.syx"
python3 "$here/make_test_image.py" "$work/other-model.syx" 40 3 --model 6E
for refused in synth-dump other-model; do
    pid=$(start --file "$work/$refused.syx")
    alert_then_builtin_window "^File $work/$refused.syx is not a firmware image\$"
    echo "ok: '$refused.syx' refused with an alert before the window, then '$builtin_title'"
    stop "$pid"
done

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
    # One line, the reason; never a word of the built-in image, which is not sent in its place.
    local lines=$(grep -v "^ALSA lib" "$work/stderr.txt" || true)
    [ "$lines" = "$expected" ] || fail "'$*' did not say just '$expected': $lines"
    echo "ok: '$*' exit 1 after $ms ms: $(tail -n 1 "$work/stderr.txt")"
}
unattended "Update failed: there is no MIDI output number 1" --autoupdate
unattended "Update failed: --outputid needs the number of a MIDI output, from 1 up" --autoupdate --outputid=2
unattended "Update failed: the firmware file $work/missing.syx was not found" --autoupdate --outputid 99 --file "$work/missing.syx"
mkfifo "$work/pipe.syx"
unattended "Update failed: the firmware file $work/pipe.syx cannot be read: it is not a regular file" --autoupdate --file "$work/pipe.syx"
unattended "Update failed: the firmware file $work/synth-dump.syx is not firmware for the Corvane Chorus: the message at byte 0 is for another device (F0 43 10 4C 00 00 7E 00 F7)" \
    --autoupdate --file "$work/synth-dump.syx"
unattended "Update failed: the firmware file $work/other-model.syx is not firmware for the Corvane Chorus: the message at byte 0 is for another model (F0 00 4F 51 00 6E 51 01 F7)" \
    --autoupdate --file "$work/other-model.syx"

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
