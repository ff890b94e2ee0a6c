#!/usr/bin/env bash
# Installs the Debian packages the build, the Wine rig and the tests need; a second run installs
# nothing. Uses sudo when not run as root; never asks a question.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build googletest
    wine wine64 xvfb xauth x11-utils fonts-wine fonts-ipafont-gothic fp-utils imagemagick
    clang-format wixl msitools locales
)

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q </dev/null
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
