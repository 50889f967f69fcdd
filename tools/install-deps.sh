#!/usr/bin/env bash
# Installs, with apt-get, whatever a Debian 12 machine lacks to build Firmhold (with
# --packages, also to build its Debian package and Windows zip; with --tests, to run its
# tests, those of the packages included). Packages already present are left alone.
set -euo pipefail

packages=(cmake make g++ pkg-config ccache python3
          juce-modules-source libasound2-dev libfreetype-dev
          libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev)

# The packages' tools: Debian packaging checks, and the Windows cross build (MinGW-w64,
# with Debian's source packages of the image libraries) with Wine to run it.
package_tools=(dpkg-dev fakeroot file lintian desktop-file-utils appstream zip unzip
               g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
               libz-mingw-w64-dev)

case "${1:-}" in
    --tests)
        packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
                   xvfb xauth x11-utils x11-apps xdotool imagemagick netpbm
                   fonts-dejavu-core libxdamage-dev libxtst-dev)
        if [ -z "${FIRMHOLD_SKIP_PACKAGES:-}" ]; then
            packages+=("${package_tools[@]}")
            # Wine runs the Windows build; googletest is GoogleTest's source, cross-built for it.
            [ -n "${FIRMHOLD_SKIP_WINE:-}" ] || packages+=(wine wine64 googletest)
        fi
        ;;
    --packages)
        packages+=("${package_tools[@]}")
        ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
