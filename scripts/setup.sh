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
# and say why, and the suite, told what is lacking (CORVALLO_SETUP_LACKING), lets them outside CI.
# Running it again installs only what is still missing.
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

# shellcheck source=scripts/lib/packages.sh
source "$(dirname "$(realpath "$0")")/lib/packages.sh"

# The package lists are fetched when there are none, or when a missing package is not offered and
# they were not fetched in the last day: a release that lacks one would fetch them at every start.
missing=no
for package in "${run_packages[@]}" "${more_packages[@]}"; do
    installed "$package" && continue
    missing=yes
    if ! compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null || { ! offered "$package" \
        && ! fetched_today; }; then
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

# What could not be installed, in one line, and for the suite in the file that
# CORVALLO_SETUP_LACKING names: where something is lacking, a test that needs it may skip.
lacking=()
for package in "${run_packages[@]}" "${more_packages[@]}"; do
    installed "$package" || lacking+=("$package")
done
if [ ${#lacking[@]} -gt 0 ]; then
    echo "setup: not installed: ${lacking[*]}"
fi
if [ -n "${CORVALLO_SETUP_LACKING:-}" ]; then
    echo "${lacking[*]}" >"$CORVALLO_SETUP_LACKING"
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
        echo "$user:$start:65536" | $packages_sudo tee -a "$file" >/dev/null
        added+=("$user:$start:65536 to $file")
    done
    if [ ${#added[@]} -gt 0 ]; then
        echo "setup: for the package's clean testbed, added $(printf '%s and ' "${added[@]}" | sed 's/ and $//')"
    fi
fi
