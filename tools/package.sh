#!/usr/bin/env bash
# Builds the packages people install, into build/packages/:
#   firmhold_<version>_amd64.deb           the Debian package (Debian 12)
#   Firmhold-<version>-windows-x64.zip     Firmhold.exe cross-built with MinGW-w64,
#                                          with LICENSE and README.txt
#   tools/package.sh [deb] [windows]       (both when none is named)
# Installs what is missing first; builds are incremental, in build/deb and build/windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Compiler cache entries that hold for any clone of the project, wherever it lies.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
jobs=$(nproc)
out="$root/build/packages"
cd "$root"

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(deb windows)

"$root/tools/install-deps.sh" --packages
mkdir -p "$out"

timed() {   # label, command...
    local label=$1 start=$SECONDS; shift
    "$@"
    echo "package: $label built in $((SECONDS - start)) s on $jobs cores"
}

build_deb() {
    # Debian's own compiler and linker hardening, as a Debian build would use it.
    local flags
    flags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)
    (
        eval "$flags"
        export CFLAGS="$CPPFLAGS $CFLAGS" CXXFLAGS="$CPPFLAGS $CXXFLAGS" LDFLAGS
        cmake -S "$root" -B "$root/build/deb" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
              -DFIRMHOLD_BUILD_TESTS=OFF -DFIRMHOLD_BUILD_BENCH=OFF >/dev/null
    )
    cmake --build "$root/build/deb" -j "$jobs"
    (cd "$root/build/deb" && cpack -G DEB >/dev/null)
    rm -f "$out"/firmhold_*.deb
    cp "$root"/build/deb/firmhold_*.deb "$out/"
    ls -l "$out"/firmhold_*.deb
}

build_windows() {
    "$root/tools/windows-deps.sh" "$root/build/windows-deps/prefix"
    cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/x86_64-w64-mingw32.cmake" \
          -DFIRMHOLD_WINDOWS_DEPS="$root/build/windows-deps/prefix" \
          -DFIRMHOLD_BUILD_TESTS=OFF -DFIRMHOLD_BUILD_BENCH=OFF >/dev/null
    cmake --build "$root/build/windows" -j "$jobs"
    (cd "$root/build/windows" && cpack -G ZIP >/dev/null)
    rm -f "$out"/Firmhold-*-windows-x64.zip
    cp "$root"/build/windows/Firmhold-*-windows-x64.zip "$out/"
    ls -l "$out"/Firmhold-*-windows-x64.zip
}

for t in "${targets[@]}"; do
    case "$t" in
        deb) timed "Debian package" build_deb ;;
        windows) timed "Windows zip" build_windows ;;
        *) echo "package: unknown target '$t' (deb or windows)" >&2; exit 2 ;;
    esac
done
