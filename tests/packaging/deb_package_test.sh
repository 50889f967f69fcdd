#!/usr/bin/env bash
# Checks the Debian package as a user's machine meets it: its control fields and files,
# Debian's own checkers (lintian, desktop-file-validate, appstreamcli), then installs it
# with apt-get, starts /usr/bin/firmhold on the X display in $DISPLAY, finds the main
# window by its title and removes the package again. Needs root.
#   deb_package_test.sh firmhold_VERSION_amd64.deb
set -euo pipefail
deb=$(realpath "$1")
work=$(mktemp -d)
pid=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }

# --- control fields ---------------------------------------------------------------------------
[ "$(field Package)" = firmhold ] || fail "package is named '$(field Package)'"
[ "$(field Section)" = sound ] || fail "section is '$(field Section)', not sound"
[ "$(field Architecture)" = amd64 ] || fail "architecture is '$(field Architecture)'"
depends=$(field Depends)
# dpkg-shlibdeps's work: the C library, the sound and font libraries the binary links.
for lib in libc6 libasound2 libfreetype6 libstdc++6; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
echo "ok: firmhold $(field Version), section sound, Depends: $depends"

# --- files ------------------------------------------------------------------------------------
dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/firmhold usr/share/applications/firmhold.desktop \
         usr/share/metainfo/io.github.quillon.firmhold.metainfo.xml \
         usr/share/icons/hicolor/16x16/apps/firmhold.png usr/share/icons/hicolor/32x32/apps/firmhold.png \
         usr/share/icons/hicolor/48x48/apps/firmhold.png usr/share/icons/hicolor/256x256/apps/firmhold.png \
         usr/share/doc/firmhold/copyright usr/share/man/man1/firmhold.1.gz; do
    [ -f "$work/root/$f" ] || fail "package has no /$f"
done
for px in 16 32 48 256; do
    size=$(identify -format '%wx%h' "$work/root/usr/share/icons/hicolor/${px}x${px}/apps/firmhold.png")
    [ "$size" = "${px}x${px}" ] || fail "the ${px}x${px} icon is $size"
done
[ -x "$work/root/usr/bin/firmhold" ] || fail "/usr/bin/firmhold is not executable"
file "$work/root/usr/bin/firmhold" | grep -q ", stripped" || fail "/usr/bin/firmhold is not stripped"
copyright="$work/root/usr/share/doc/firmhold/copyright"
head -n1 "$copyright" | grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    || fail "copyright is not in the machine-readable format"
grep -q "^License: GPL-3.0-or-later$" "$copyright" || fail "copyright names no GPL-3.0-or-later licence"
echo "ok: program, desktop entry, metainfo, icons 16/32/48/256, man page, copyright"

desktop="$work/root/usr/share/applications/firmhold.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
grep -qx "Categories=AudioVideo;Audio;Midi;" "$desktop" || fail "desktop entry categories: $(grep Categories "$desktop")"
grep -qx "Exec=firmhold" "$desktop" || fail "desktop entry does not start firmhold"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/io.github.quillon.firmhold.metainfo.xml" \
    || fail "appstreamcli refused the metainfo"
echo "ok: desktop-file-validate and appstreamcli validate --no-net"

# Errors fail; warnings and information are printed for the reader.
lintian_out=$(lintian --fail-on error --display-info "$deb" 2> >(grep -v "root privileges" >&2)) || { echo "$lintian_out"; fail "lintian found errors"; }
echo "ok: lintian found no errors${lintian_out:+; it says:}"
[ -z "$lintian_out" ] || sed 's/^/    /' <<<"$lintian_out"

# --- install, start, remove --------------------------------------------------------------------
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
dpkg-query -W -f='${Status} ${Version}\n' firmhold | grep -q "^install ok installed $(field Version)$" \
    || fail "dpkg does not list firmhold as installed"
echo "ok: installed with apt-get"

# A private home: the single-instance lock lives there, so a Firmhold started elsewhere on
# this machine cannot turn this one into a second instance.
mkdir -p "$work/home"
title="Corvane Chorus version 1.1.01 - R272"
HOME="$work/home" /usr/bin/firmhold >/dev/null 2>&1 &
pid=$!
win=""
for _ in $(seq 150); do
    win=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || fail "/usr/bin/firmhold ended before showing its window"
    sleep 0.1
done
[ -n "$win" ] || fail "no window titled '$title' from /usr/bin/firmhold"
size=$(xwininfo -id "$win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 650x400 ] || fail "the installed program's window is $size"
echo "ok: /usr/bin/firmhold shows '$title' at $size"
kill "$pid"; wait "$pid" 2>/dev/null || true; pid=""

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq firmhold >/dev/null
! dpkg-query -W -f='${Status}' firmhold 2>/dev/null | grep -q "install ok installed" || fail "firmhold is still installed"
[ ! -e /usr/bin/firmhold ] || fail "/usr/bin/firmhold is left after removal"
echo "ok: removed"
echo "PASS"
