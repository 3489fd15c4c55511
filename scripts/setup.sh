#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what Corvallo needs on Debian:
#   scripts/setup.sh run     what building and running it needs
#   scripts/setup.sh bench   that, and the X server the benchmark measures on
#   scripts/setup.sh test    that, and what the whole suite and the package build need (default)
# What running needs is installed first, on its own. Package names are the ones every release has.
# A package that this release does not have, or that apt cannot install on it at present (as in
# testing during a transition), is named in one line and left out; the tests that need it skip
# and say why. Running it again installs only what is still missing.
set -euo pipefail

case ${1:-test} in
run | bench | test) purpose=${1:-test} ;;
*)
    echo "usage: scripts/setup.sh [run|bench|test]" >&2
    exit 2
    ;;
esac

# Building, and running on X11 and Wayland with the designed font.
run_packages=(build-essential cmake qt6-base-dev libx11-dev qt6-wayland fonts-wine)
more_packages=()
case $purpose in
bench) more_packages=(xvfb) ;;
test)
    more_packages=(
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
        autopkgtest uidmap mmdebstrap
    )
    ;;
esac

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
offered() {
    local candidate
    candidate=$(LC_ALL=C apt-cache policy "$1" 2>/dev/null | awk '/Candidate:/ { print $2 }')
    [ -n "$candidate" ] && [ "$candidate" != "(none)" ]
}
# apt's whole answer goes to stderr, where a failed install's unmet dependencies are read from.
apt_install() {
    $sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C apt-get install -y -qq --no-install-recommends "$@" \
        >&2
}

# The package lists are fetched once a run at most, and, where a missing package is not offered,
# once a day at most: a release that lacks one would fetch them again at every start. apt dates
# its lists by the archive's last change, so the time of the last fetch is kept here.
stamp=/var/cache/corvallo/package-lists-fetched
fetched=no
fetch_lists() {
    [ "$fetched" = no ] || return 1
    fetched=yes
    echo "setup: fetching the package lists"
    $sudo env LC_ALL=C apt-get update -qq || return 1
    $sudo mkdir -p "$(dirname "$stamp")" && $sudo touch "$stamp"
}

# install_group PACKAGE...: installs those of them that are missing, together; where that fails,
# one at a time, naming each that cannot be installed.
install_group() {
    local wanted=() package why
    for package in "$@"; do
        installed "$package" && continue
        if offered "$package"; then
            wanted+=("$package")
        else
            echo "setup: $package is not in this release's packages; going on without it"
        fi
    done
    [ ${#wanted[@]} -gt 0 ] || return 0
    echo "Installing: ${wanted[*]}"
    why=$(apt_install "${wanted[@]}" 2>&1) && return 0
    # Lists fetched earlier may name versions that the archive no longer holds.
    if grep -qE 'Failed to fetch|Unable to fetch' <<<"$why"; then
        fetch_lists && apt_install "${wanted[@]}" 2>/dev/null && return 0
    fi
    for package in "${wanted[@]}"; do
        installed "$package" && continue
        why=$(apt_install "$package" 2>&1) \
            || echo "setup: $package cannot be installed here at present ($(grep -m 1 -E '^ |^E:' <<<"$why" | sed 's/^ *//')); going on without it"
    done
}

missing=no
for package in "${run_packages[@]}" "${more_packages[@]}"; do
    installed "$package" && continue
    missing=yes
    if ! compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null || { ! offered "$package" \
        && [ -z "$(find "$stamp" -newermt '-1 day' 2>/dev/null)" ]; }; then
        fetch_lists || true
        break
    fi
done
if [ "$missing" = yes ]; then
    install_group "${run_packages[@]}"
    install_group "${more_packages[@]}"
fi
# Without the compiler, CMake and Qt nothing can be built: that is said here, not left to the build.
lacking=()
for package in build-essential cmake qt6-base-dev; do
    installed "$package" || lacking+=("$package")
done
if [ ${#lacking[@]} -gt 0 ]; then
    echo "setup: ${lacking[*]} could not be installed, and Corvallo cannot be built without them" >&2
    exit 1
fi

# The package's clean testbed (the package-testbed test) runs in a user namespace mapped to the
# user's subordinate ids. Where it can run here and the user has none, the user gets a range above
# every range already given.
if [ "$purpose" = test ] && command -v autopkgtest-virt-unshare >/dev/null \
    && unshare --user --map-root-user true 2>/dev/null; then
    user=$(id -un)
    added=()
    for file in /etc/subuid /etc/subgid; do
        grep -q "^$user:" "$file" 2>/dev/null && continue
        start=$(awk -F: '$2 + $3 > top { top = $2 + $3 } END { print (top > 100000 ? top : 100000) }' \
            "$file" 2>/dev/null || echo 100000)
        echo "$user:$start:65536" | $sudo tee -a "$file" >/dev/null
        added+=("$user:$start:65536 to $file")
    done
    if [ ${#added[@]} -gt 0 ]; then
        echo "setup: for the package's clean testbed, added $(printf '%s and ' "${added[@]}" | sed 's/ and $//')"
    fi
fi
