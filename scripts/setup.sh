#!/usr/bin/env bash
# Installs everything TALVERO's build, tests and run need on Debian 12.
# Idempotent: returns at once when every package is already there.
set -euo pipefail

packages=(
    cmake make g++ python3
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    googletest libgtest-dev libbenchmark-dev
    wine wine64 wine32:i386
    xvfb xauth x11-utils imagemagick xdotool
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    fonts-ipafont-gothic fonts-dejavu-core
    nsis
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
echo "setup: done"
