#!/usr/bin/env bash
# Checks the Windows zip: its contents, that Firmhold.exe needs only Windows' own DLLs and
# asks for no elevation, then runs it under Wine on the X display in $DISPLAY and reads
# from the X server what it shows: the main window's title and size, the missing-file
# alert before the window, and the help window behind the Help button.
#   windows_wine_test.sh Firmhold-VERSION-windows-x64.zip WINEPREFIX
# The Wine prefix is created on first use (about ten seconds) and kept.
set -euo pipefail
zip=$(realpath "$1")
export WINEPREFIX=$(realpath -m "$2")
export WINEDEBUG=-all
# No Mono or Gecko install prompts, no ALSA driver (this machine has no sound).
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../support/x11_windows.sh"

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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix $WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
fi

# Debian keeps the 64-bit loader out of PATH; /usr/bin/wine is a wrapper around it.
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
start() { (cd "$dir" && exec "$wine64" Firmhold.exe "$@" >/dev/null 2>&1) & pids+=($!); disown; }

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

stop() {   # ends every program in the prefix
    wineserver -k 2>/dev/null || true
    wineserver -w
    pids=()
}

title="Corvane Chorus version 1.1.01 - R272"

# --- no arguments: the built-in image's title at 650 x 400 ---------------------------------------
t0=$(date +%s%N)
start
win=$(find_window "$title" 20) || fail "no window titled '$title' under Wine"
t1=$(date +%s%N)
size=$(settled_size "$win" 650x400)
[ "$size" = 650x400 ] || fail "window is $size under Wine, not 650x400"
echo "ok: '$title' at 650x400, mapped $(( (t1 - t0) / 1000000 )) ms after wine64 started"

# --- the Help button opens the help window -------------------------------------------------------
# The button sits at the panel's top right; the panel starts 4 px in, under a 26 px title bar.
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove --sync $((X + 4 + 538 + 47)) $((Y + 30 + 2 + 15)) click 1
help=$(find_window "Firmware Update Help" 20) || fail "the Help button opened no help window"
size=$(settled_size "$help" 550x400)
[ "$size" = 550x400 ] || fail "help window is $size, not 550x400"
echo "ok: the Help button opens 'Firmware Update Help' at 550x400"
stop

# --- a missing file: the alert comes first, then the built-in image's window ---------------------
start --file 'C:\firmware\missing.syx'
alert=$(find_window 'File C:\firmware\missing.syx not found' 20) || fail "no not-found alert under Wine"
if xdotool search --onlyvisible --name "^Corvane Chorus" >/dev/null 2>&1; then
    fail "main window is showing before the alert was answered"
fi
answer_alerts_until "^Corvane Chorus" "^File .*missing.syx not found$"
win=$(find_window "$title" 20) || fail "no built-in window after the alert"
echo "ok: the not-found alert before the window, then '$title'"
stop

echo "PASS"
