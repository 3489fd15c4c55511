# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that need Debian packages beyond what the set-up installs.

# install_missing PACKAGE...: installs those of the packages that are not installed yet, through
# sudo when not root, naming them; fails where apt does.
install_missing() {
    local package missing=() sudo=
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "      installing ${missing[*]}"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}
