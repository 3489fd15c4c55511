#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what building, running and testing Corvallo needs on Debian or Ubuntu.
set -euo pipefail

packages=(
    build-essential cmake qt6-base-dev libx11-dev fonts-wine
    xvfb xdotool x11-utils x11-xserver-utils imagemagick
    desktop-file-utils appstream man-db dpkg-dev file
    python3 util-linux clang libclang-rt-14-dev
    sway grim wtype qt6-wayland
    at-spi2-core python3-pyatspi dbus-daemon qt6-base-private-dev
    debhelper lintian procps
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
