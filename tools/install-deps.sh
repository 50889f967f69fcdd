#!/usr/bin/env bash
# Installs, with apt-get, whatever a Debian 12 machine lacks to build Firmhold
# (and, with --tests, to run its tests). Packages already present are left alone.
set -euo pipefail

packages=(cmake make g++ pkg-config ccache python3
          juce-modules-source libasound2-dev libfreetype-dev
          libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev)

if [ "${1:-}" = "--tests" ]; then
    packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
               xvfb xauth x11-utils x11-apps xdotool imagemagick netpbm
               fonts-dejavu-core libxdamage-dev libxtst-dev)
fi

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
