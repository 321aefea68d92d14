#!/usr/bin/env bash
# Installs the Debian packages Brisa needs to build, test and run, if missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    juce-modules-source
    libasound2-dev libfreetype-dev libfontconfig1-dev libx11-dev libxext-dev libxinerama-dev
    libxrandr-dev libxcursor-dev libgl-dev libflac-dev libvorbis-dev libogg-dev
    libgtest-dev libbenchmark-dev libcli11-dev
    lv2-dev lilv-utils sordi
    xvfb xauth x11-apps x11-utils imagemagick sox python3 valgrind
    fonts-inter
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
