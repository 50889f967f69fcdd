#!/usr/bin/env bash
# Checks the Windows zip: its contents, that Firmhold.exe needs only Windows' own DLLs and
# asks for no elevation. Then runs it under Wine on the X display in $DISPLAY (no window
# manager) as a user would, and reads from the X server what it shows:
#   - the main window's title and size, on the prefix's first start;
#   - the Help button opens the help window, whose close button closes it alone;
#   - the main window's close button ends Firmhold, with status 0;
#   - a missing file's alert comes before the window;
#   - from a command prompt (cmd.exe, start /wait): --list-outputs ends with status 0, and
#     --autoupdate --outputid 1 with no MIDI port (Wine has none here) ends with status 1
#     and its "Update failed" line in the console, without a box.
#   windows_wine_test.sh Firmhold-VERSION-windows-x64.zip WINEPREFIX
# A new WINEPREFIX is created completely before the first start; tools/test.sh gives it a
# brand-new one each run, as a new machine has.
set -euo pipefail
zip=$(realpath "$1")
work=$(mktemp -d)
wine_started=""
cleanup() {
    [ -z "$wine_started" ] || wine_stop
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../support/x11_windows.sh"
source "$(dirname "$0")/../support/wine.sh"

# --- the zip and the executable -----------------------------------------------------------------
unzip -q "$zip" -d "$work"
dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n1)
for f in Firmhold.exe LICENSE README.txt; do
    [ -f "$dir/$f" ] || fail "the zip has no $f"
done
exe="$dir/Firmhold.exe"
file "$exe" | grep -q "PE32+ executable (GUI) x86-64" || fail "Firmhold.exe is $(file -b "$exe")"
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}' | sort -u)
# The C++ runtime, threads and image libraries are linked in: none of MinGW's DLLs is needed.
if grep -Ei '^(lib|zlib|png|jpeg)' <<<"$dlls"; then fail "Firmhold.exe needs DLLs beside Windows' own"; fi
grep -q 'level="asInvoker"' <(strings "$exe") || fail "Firmhold.exe has no asInvoker manifest"
# Each image of the Windows icon (three sizes at 32, 8 and 4 bits) is stored unchanged.
python3 - "$(dirname "$0")/../../packaging/icons/firmhold.ico" "$exe" <<'EOF'
import struct, sys
ico, exe = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read()
count = struct.unpack_from("<H", ico, 4)[0]
for i in range(count):
    width, _, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
    if ico[offset:offset + size] not in exe:
        sys.exit(f"FAIL: Firmhold.exe lacks the {width or 256}-pixel {bits}-bit icon image")
EOF
echo "ok: Firmhold.exe, LICENSE, README.txt; icon and asInvoker manifest; imports only $(tr '\n' ' ' <<<"$dlls")"

# --- Wine --------------------------------------------------------------------------------------
wine_started=1
wine_prepare "$2"

app_pid=""
app_log=""
starts=0
start() {   # Firmhold.exe's arguments; what Wine and Firmhold print goes to a log of this start
    starts=$((starts + 1))
    app_log="$work/start-$starts.log"
    (cd "$dir" && exec "$wine64" Firmhold.exe "$@") >"$app_log" 2>&1 &
    app_pid=$!
}

failing() {   # reason: fails with what Wine and Firmhold printed in this start
    echo "--- what Wine printed (start $starts):" >&2
    tail -n 40 "$app_log" >&2 || true
    fail "$*"
}

# Wine may map a window at its first size and apply the program's own a moment later (a new
# prefix is slow): the size that counts is the one it settles on within 10 s.
settled_size() {   # window id, expected size -> the size (the expected one as soon as it is)
    local s=""
    for _ in $(seq 200); do
        s=$(size_of "$1")
        [ "$s" = "$2" ] && break
        sleep 0.05
    done
    echo "$s"
}

# A hand moves the pointer onto a button, rests, and clicks. Wine holds a click back, for
# seconds, on a window the pointer has not moved over since the window appeared, so the
# pointer comes from elsewhere; the rest gives Wine the motion before the click.
press() {   # x y: a point on the button
    xdotool mousemove --sync $(($1 - 30)) $(($2 + 30))
    xdotool mousemove --sync "$1" "$2"
    sleep 0.3
    xdotool click 1
}

# The title bar is 26 pixels high; its rightmost button, the close button, is 23 wide.
press_close_button() {   # window id
    eval "$(xdotool getwindowgeometry --shell "$1")"
    press $((X + WIDTH - 22)) $((Y + 15))
}

end_status=""
end_ms=""
ended_within() {   # milliseconds: waits for this start's process to end; end_status, end_ms
    local limit=$1 t0
    t0=$(date +%s%N)
    while kill -0 "$app_pid" 2>/dev/null; do
        [ $(( ($(date +%s%N) - t0) / 1000000 )) -le "$limit" ] || return 1
        sleep 0.05
    done
    end_ms=$(( ($(date +%s%N) - t0) / 1000000 ))
    end_status=0
    wait "$app_pid" || end_status=$?
}

title="Corvane Chorus version 1.1.01 - R272"

# --- the first start: the built-in image's title at 650 x 400 -----------------------------------
# The first start in a new prefix sets up more of Wine and, on a busy host, takes its time:
# this is a first run, not a speed claim.
t0=$(date +%s%N)
start
win=$(find_window "$title" 120) || failing "no window titled '$title' under Wine within 120 s of the first start"
t1=$(date +%s%N)
size=$(settled_size "$win" 650x400)
[ "$size" = 650x400 ] || failing "window is $size under Wine, not 650x400"
echo "ok: '$title' at 650x400, mapped $(( (t1 - t0) / 1000000 )) ms after the first start in the new prefix"

# --- the Help button opens the help window; its close button closes it alone --------------------
# The button sits at the panel's top right; the panel starts 4 px in, under a 26 px title bar.
eval "$(xdotool getwindowgeometry --shell "$win")"
press $((X + 4 + 538 + 47)) $((Y + 30 + 2 + 15))
help=$(find_window "Firmware Update Help" 20) || failing "the Help button opened no help window"
size=$(settled_size "$help" 550x400)
[ "$size" = 550x400 ] || failing "help window is $size, not 550x400"
press_close_button "$help"
for _ in $(seq 200); do
    xdotool search --onlyvisible --name "^Firmware Update Help\$" >/dev/null 2>&1 || break
    sleep 0.05
done
! xdotool search --onlyvisible --name "^Firmware Update Help\$" >/dev/null 2>&1 \
    || failing "the help window's close button left it open"
kill -0 "$app_pid" 2>/dev/null && find_window "$title" 1 >/dev/null \
    || failing "closing the help window closed Firmhold too"
echo "ok: the Help button opens 'Firmware Update Help' at 550x400; its close button closes it alone"

# --- the close button ends Firmhold --------------------------------------------------------------
press_close_button "$win"
ended_within 5200 || failing "Firmhold was still running 5.2 s after its close button was clicked"
[ "$end_status" = 0 ] || failing "closed by hand, Firmhold ended with status $end_status, not 0"
echo "ok: the close button ended Firmhold after $end_ms ms, status 0"

# --- a missing file: the alert comes first, then the built-in image's window ---------------------
start --file 'C:\firmware\missing.syx'
alert=$(find_window 'File C:\firmware\missing.syx not found' 60) || failing "no not-found alert under Wine"
if xdotool search --onlyvisible --name "^Corvane Chorus" >/dev/null 2>&1; then
    failing "main window is showing before the alert was answered"
fi
answer_alerts_until "^Corvane Chorus" "^File .*missing.syx not found$"
win=$(find_window "$title" 20) || failing "no built-in window after the alert"
echo "ok: the not-found alert before the window, then '$title'"
wine_stop
wait "$app_pid" 2>/dev/null || true

# --- unattended, from a command prompt -----------------------------------------------------------
# cmd.exe runs in a terminal (script), which gives it a console as a command prompt window
# has; start /wait waits for the windowed program and sets ERRORLEVEL to its exit status.
printf '%s\r\n' '@echo off' \
    'start /wait Firmhold.exe --list-outputs' 'echo list-outputs status %ERRORLEVEL%' \
    'start /wait Firmhold.exe --autoupdate --outputid 1' 'echo autoupdate status %ERRORLEVEL%' \
    >"$dir/unattended.bat"
app_log="$work/console.log"
t0=$(date +%s%N)
# (Its own status is that of the batch's last command; the lines below say what counts.)
finished=0
timeout 120 script -qec "cd '$dir' && '$wine64' cmd /c unattended.bat" /dev/null </dev/null >"$app_log" 2>&1 \
    || finished=$?
[ "$finished" != 124 ] || failing "the command prompt did not finish within 120 s"
ms=$(( ($(date +%s%N) - t0) / 1000000 ))
console=$(sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g; s/\r//g' "$app_log")
grep -qx "list-outputs status 0" <<<"$console" || failing "--list-outputs did not end with status 0"
grep -qx "autoupdate status 1" <<<"$console" || failing "--autoupdate with no port did not end with status 1"
failed=$(grep -x "Update failed: .*" <<<"$console") \
    || failing "--autoupdate with no port wrote no 'Update failed' line to the console"
[ "$ms" -le 30000 ] || failing "the two unattended runs took $ms ms"
echo "ok: from cmd.exe, --list-outputs ends with status 0; --autoupdate --outputid 1 prints '$failed' and ends with status 1 (both runs and cmd.exe: $ms ms)"

echo "PASS"
