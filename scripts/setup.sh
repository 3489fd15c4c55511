#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what Corvallo needs on Debian or Ubuntu:
#   scripts/setup.sh run    what building and running it needs
#   scripts/setup.sh test   that, and what the whole suite and the package build need (default)
# Package names are the ones every release has. A package that this release does not have is
# named in one line and left out; the tests that need it skip and say why.
set -euo pipefail

case ${1:-test} in
run | test) purpose=${1:-test} ;;
*)
    echo "usage: scripts/setup.sh [run|test]" >&2
    exit 2
    ;;
esac

# Building, and running on X11 and Wayland with the designed font.
packages=(
    build-essential cmake qt6-base-dev libx11-dev qt6-wayland fonts-wine
)
if [ "$purpose" = test ]; then
    packages+=(
        # the sanitizer build and the fuzzing run
        clang libclang-rt-dev
        # the real-window tests on X11
        xvfb xdotool x11-utils x11-xserver-utils imagemagick procps util-linux
        # the real-window tests on Wayland, as an unprivileged user
        sway grim wtype python3
        # the screen-reader test
        at-spi2-core python3-pyatspi dbus-daemon qt6-base-private-dev
        # the package and its checks, and its tests in a clean testbed
        desktop-file-utils appstream man-db dpkg-dev debhelper lintian file
        autopkgtest uidmap debootstrap
    )
fi

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo

# The clean testbed of the package's tests runs in a user namespace, which maps the user's
# subordinate ids: give the user a range where it has none, above every range already given.
if [ "$purpose" = test ]; then
    user=$(id -un)
    for file in /etc/subuid /etc/subgid; do
        grep -q "^$user:" "$file" 2>/dev/null && continue
        start=$(awk -F: '$2 + $3 > top { top = $2 + $3 } END { print (top > 100000 ? top : 100000) }' \
            "$file" 2>/dev/null || echo 100000)
        echo "$user:$start:65536" | $sudo tee -a "$file" >/dev/null
    done
fi

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Package lists of the last day are taken as they are, so that a start on a release that lacks
# one of the packages does not fetch the lists again each time.
if [ -z "$(find /var/lib/apt/lists -maxdepth 1 -name '*_Packages*' -newermt '-1 day' 2>/dev/null | head -n 1)" ]; then
    $sudo apt-get update -qq
fi

available=()
for package in "${missing[@]}"; do
    candidate=$(LC_ALL=C apt-cache policy "$package" 2>/dev/null | awk '/Candidate:/ { print $2 }')
    if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then
        echo "setup: $package is not in this release's packages; going on without it"
    else
        available+=("$package")
    fi
done
[ ${#available[@]} -eq 0 ] && exit 0
echo "Installing: ${available[*]}"
install_available() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${available[@]}" >/dev/null
}
# Lists a day old may name versions that the archive no longer holds.
install_available || { $sudo apt-get update -qq && install_available; }
