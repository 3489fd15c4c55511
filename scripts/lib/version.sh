# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The version, written once: in CMakeLists.txt's project(). The program, the Windows packages
# and the web folder take it from there; the Debian changelog's newest entry and the AppStream
# metainfo's newest release name it too, and versions_agree checks them against it.
# Sourced; each function reads the tree at TREE (default: the one this file is in).

version_tree() {
    echo "${1:-$(dirname "${BASH_SOURCE[0]}")/../..}"
}

# The project's version, as CMakeLists.txt names it.
project_version() {
    sed -n 's/^project(Corvallo VERSION \([0-9.]*\).*/\1/p' "$(version_tree "${1:-}")/CMakeLists.txt"
}

# The version of the changelog's newest entry, without its epoch ("1:"). The package is native,
# so a Debian revision ("-1") is a version of its own, which the check refuses.
changelog_version() {
    sed -n '1s/^corvallo (\([^)]*\)).*/\1/p' "$(version_tree "${1:-}")/debian/changelog" \
        | sed 's/^[0-9]*://'
}

# The version of the metainfo's newest release, the first that it lists.
metainfo_version() {
    grep -m 1 -o '<release [^>]*version="[^"]*"' \
        "$(version_tree "${1:-}")/packaging/io.github.corvallo.Corvallo.metainfo.xml" \
        | sed 's/.*version="\([^"]*\)"/\1/'
}

# Fails, naming each place that disagrees, unless all three say the project's version.
versions_agree() {
    local version changelog metainfo status=0
    version=$(project_version "${1:-}")
    changelog=$(changelog_version "${1:-}")
    metainfo=$(metainfo_version "${1:-}")
    if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
        echo "CMakeLists.txt names no version of three numbers in project()" >&2
        return 1
    fi
    if [ "$changelog" != "$version" ]; then
        echo "debian/changelog's newest entry is ${changelog:-not readable}, but CMakeLists.txt says $version" >&2
        status=1
    fi
    if [ "$metainfo" != "$version" ]; then
        echo "the metainfo's newest release is ${metainfo:-not readable}, but CMakeLists.txt says $version" >&2
        status=1
    fi
    return "$status"
}
