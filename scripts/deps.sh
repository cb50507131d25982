#!/usr/bin/env bash
# Installs the Debian packages the build needs, and with "test" those the tests need.
# Quick and quiet when everything is already there. Recommends are left out: the game draws
# its own message box where the desktop offers no X core fonts (xfonts-base) or zenity, and
# the tests check it on X servers that have only their built-in fonts.
set -euo pipefail

packages=(cmake make g++ pkg-config libsdl2-dev libsdl2-ttf-dev libgl-dev libgl1-mesa-dev
          libgl1-mesa-dri libglu1-mesa-dev fonts-dejavu-core)
if [[ "${1:-}" == "test" ]]; then
    # The install and package tests: the two validators, what cpack -G DEB needs, lintian
    # for the package, and shellcheck for our scripts.
    packages+=(desktop-file-utils appstream dpkg-dev file lintian shellcheck)
    packages+=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-apps x11-utils imagemagick
               procps libx11-dev clang libclang-rt-14-dev tesseract-ocr tesseract-ocr-eng)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
    echo "koravex: missing packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
    exit 1
fi
echo "koravex: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
