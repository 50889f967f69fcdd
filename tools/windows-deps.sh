#!/usr/bin/env bash
# Builds the image libraries that the Windows build links statically (libpng and
# libjpeg-turbo, which Debian ships for Linux only) from Debian's own source packages,
# with the MinGW-w64 cross compilers. zlib comes from libz-mingw-w64-dev.
#   tools/windows-deps.sh PREFIX
# Sources and builds are cached beside PREFIX; a second run with PREFIX complete does nothing.
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(realpath -m "$1")
cache=$(dirname "$prefix")
toolchain="$root/cmake/toolchains/x86_64-w64-mingw32.cmake"
jobs=$(nproc)

if [ -f "$prefix/.complete" ]; then
    exit 0
fi

# A private apt configuration with the source twin of this machine's own archive (its
# first URI and keyring), so that the system's apt setup stays untouched.
apt_dir="$cache/apt"
apt_opts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir"
          -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
          -o APT::Sandbox::User=root)
if [ ! -f "$apt_dir/lists/.updated" ]; then
    system_sources=/etc/apt/sources.list.d/debian.sources
    grep -q "^URIs:" "$system_sources" 2>/dev/null \
        || { echo "windows-deps: no archive named in $system_sources" >&2; exit 1; }
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    {
        echo "Types: deb-src"
        awk '/^URIs:/ {print; exit}' "$system_sources"
        echo "Suites: bookworm"
        echo "Components: main"
        awk '/^Signed-By:/ {print; exit}' "$system_sources"
    } > "$apt_dir/debian-src.sources"
    apt-get "${apt_opts[@]}" update -qq
    touch "$apt_dir/lists/.updated"
fi

fetch() {   # source package name -> unpacked source folder
    local pkg=$1
    mkdir -p "$cache/src"
    if [ ! -f "$cache/src/$pkg.stamp" ]; then
        rm -rf "${cache:?}/src/$pkg"
        (cd "$cache/src" && apt-get "${apt_opts[@]}" source --download-only -qq "$pkg" >/dev/null \
            && dpkg-source -x "$(ls -t "${pkg}"_*.dsc | head -n1)" "$pkg" >"$pkg.log" 2>&1) \
            || { echo "windows-deps: could not fetch and unpack $pkg" >&2; exit 1; }
        touch "$cache/src/$pkg.stamp"
    fi
    echo "$cache/src/$pkg"
}

cross_build() {   # source folder, name, cmake args...
    local src=$1 name=$2; shift 2
    cmake -S "$src" -B "$cache/build-$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
          -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
    cmake --build "$cache/build-$name" -j "$jobs" >/dev/null
    cmake --install "$cache/build-$name" >/dev/null
}

png_src=$(fetch libpng1.6)
jpeg_src=$(fetch libjpeg-turbo)

echo "windows-deps: building libjpeg-turbo from $(basename "$(ls "$cache"/src/libjpeg-turbo_*.dsc)" .dsc)"
cross_build "$jpeg_src" jpeg -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
# The image loader includes jpegint.h, and it also sees <windows.h>'s `boolean` in some
# units but not in others: one unconditional typedef keeps the two views the same.
cp "$jpeg_src/jpegint.h" "$prefix/include/"
sed -i 's/^#ifndef __RPCNDR_H__.*$/#if 1/' "$prefix/include/jconfig.h"
grep -q "^typedef unsigned char boolean;" "$prefix/include/jconfig.h" \
    || { echo "windows-deps: jconfig.h has no boolean typedef to keep" >&2; exit 1; }

echo "windows-deps: building libpng from $(basename "$(ls "$cache"/src/libpng1.6_*.dsc)" .dsc)"
cross_build "$png_src" png -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DZLIB_USE_STATIC_LIBS=ON

touch "$prefix/.complete"
