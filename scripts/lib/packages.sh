# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs Debian packages, through sudo when not root; sourced by the set-up and by every script
# that needs packages of its own. Its names start with packages_ or name what they do.

packages_sudo=
[ "$(id -u)" -eq 0 ] || packages_sudo=sudo

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Whether this release's package lists offer the package.
offered() {
    local candidate
    candidate=$(LC_ALL=C apt-cache policy "$1" 2>/dev/null | awk '/Candidate:/ { print $2 }')
    [ -n "$candidate" ] && [ "$candidate" != "(none)" ]
}

# apt's whole answer goes to stderr, where a failed install's unmet dependencies are read from.
apt_install() {
    $packages_sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C apt-get install -y -qq \
        --no-install-recommends "$@" >&2
}

# Fetches the package lists, once a run at most; fails where they were fetched already or cannot
# be. apt dates its lists by the archive's last change, so the time of the last fetch is kept in
# packages_stamp.
packages_stamp=/var/cache/corvallo/package-lists-fetched
packages_fetched=no
fetch_lists() {
    [ "$packages_fetched" = no ] || return 1
    packages_fetched=yes
    echo "setup: fetching the package lists"
    $packages_sudo env LC_ALL=C apt-get update -qq || return 1
    $packages_sudo mkdir -p "$(dirname "$packages_stamp")" && $packages_sudo touch "$packages_stamp"
}

# Whether the lists were fetched in the last day.
fetched_today() {
    [ -n "$(find "$packages_stamp" -newermt '-1 day' 2>/dev/null)" ]
}

# install_group PACKAGE...: installs those of them that are missing, together; where that fails,
# one at a time. A package that this release does not offer, or that apt cannot install at
# present, is named in one line and left out.
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

# install_missing PACKAGE...: installs those of the packages that are missing, naming them, with
# the lists fetched first; fails where apt does. For what a script cannot go on without.
install_missing() {
    local package missing=() why
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "      installing ${missing[*]}"
    fetch_lists >/dev/null || true
    why=$(apt_install "${missing[@]}" 2>&1) \
        || { tail -n 5 <<<"$why" >&2; echo "apt could not install ${missing[*]}" >&2; return 1; }
}
