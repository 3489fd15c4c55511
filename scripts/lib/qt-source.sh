# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that build Qt for another platform from this release's own Qt source.

# qt_source_version: the source version of the installed qt6-base-dev (a rebuild of the binary
# packages alone, +bN, has none of its own).
qt_source_version() {
    dpkg-query -W -f='${source:Version}' qt6-base-dev
}

# unpack_qt_source WORK VERSION: the source package qt6-base VERSION, patched, in WORK/source.
# It comes through an apt configuration of its own in WORK (the release's entries as deb-src), so
# the system's lists stay as they are; its tarballs are unpacked where they were fetched, not
# copied beside the tree. An unpacked tree of the same version is kept. Fails loudly.
unpack_qt_source() {
    local work=$1 version=$2 apt_dir=$1/apt file
    if [ "$(cat "$work/source/.complete" 2>/dev/null)" = "$version" ]; then
        echo "      already unpacked"
        return 0
    fi
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
    : >"$apt_dir/sources.list"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] && sed -n 's/^deb\s/deb-src /p' "$file" >>"$apt_dir/sources.list"
    done
    rm -f "$apt_dir/sources.list.d/"*
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt_dir/sources.list.d/$(basename "$file")"
    done
    local apt=(apt-get -q
        -o Dir::Etc::SourceList="$apt_dir/sources.list"
        -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
        -o Dir::State::Lists="$apt_dir/lists"
        -o Dir::Cache="$apt_dir/cache"
        -o Debug::NoLocking=1
        -o APT::Sandbox::User="$(id -un)")
    "${apt[@]}" update >"$work/apt-update.log" 2>&1 || echo "      (some source lists failed; see $work/apt-update.log)"
    rm -rf "$work/download" "$work/source"
    mkdir -p "$work/download"
    (cd "$work/download" && "${apt[@]}" source --download-only "qt6-base=$version") >"$work/apt-source.log" 2>&1 || {
        tail -n 5 "$work/apt-source.log" >&2
        echo "could not fetch the source of qt6-base $version" >&2
        return 1
    }
    rm -f "$work"/qt6-base_*.tar.*
    dpkg-source --no-copy -x "$work/download"/qt6-base_*.dsc "$work/source" >"$work/unpack.log" 2>&1 || {
        tail -n 5 "$work/unpack.log" >&2
        echo "could not unpack the source of qt6-base $version" >&2
        return 1
    }
    echo "$version" >"$work/source/.complete"
}

# drop_qt_source WORK: what unpack_qt_source left, once Qt is installed; the logs stay.
drop_qt_source() {
    rm -rf "$1/build" "$1/source" "$1/download" "$1/apt"
}
