# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that build Qt for another platform from this release's own Qt source.

# qt_source_version: the source version of the installed qt6-base-dev (a rebuild of the binary
# packages alone, +bN, has none of its own).
qt_source_version() {
    dpkg-query -W -f='${source:Version}' qt6-base-dev
}

# Corvallo's own changes to Qt, applied in their names' order over Debian's; see their headers.
qt_patches=$(realpath "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/../../packaging/qt-patches")

# qt_patches_id: a short digest of those changes (their diffs, not the words above them), for a
# build's configure line, so that a Qt built with other changes is not reused.
qt_patches_id() {
    local patch
    for patch in "$qt_patches"/*.patch; do
        [ ! -e "$patch" ] || sed -n '/^--- /,$p' "$patch"
    done | sha256sum | cut -c 1-16
}

# unpack_qt_source WORK VERSION: the source package qt6-base VERSION, patched by Debian and by
# Corvallo, in WORK/source. It comes through an apt configuration of its own in WORK (the release's
# entries as deb-src), so the system's lists stay as they are; its tarballs are unpacked where they
# were fetched, not copied beside the tree. An unpacked tree of the same version and changes is
# kept. Fails loudly.
unpack_qt_source() {
    local work=$1 version=$2 apt_dir=$1/apt file patch
    if [ "$(cat "$work/source/.complete" 2>/dev/null)" = "$version $(qt_patches_id)" ]; then
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
    for patch in "$qt_patches"/*.patch; do
        [ -e "$patch" ] || continue
        patch -p1 -s -N -d "$work/source" <"$patch" >>"$work/unpack.log" 2>&1 || {
            tail -n 5 "$work/unpack.log" >&2
            echo "could not apply $(basename "$patch") to qt6-base $version" >&2
            return 1
        }
    done
    echo "$version $(qt_patches_id)" >"$work/source/.complete"
}

# drop_qt_source WORK: what unpack_qt_source left, once Qt is installed; the logs stay.
drop_qt_source() {
    rm -rf "$1/build" "$1/source" "$1/download" "$1/apt"
}

# qt_prefix PLATFORM: where Qt for PLATFORM, built from this release's Qt, is kept in the user's
# cache, named after the installed qt6-base-dev ("none" before it is installed).
qt_prefix() {
    local version prefix
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
    prefix=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/qt-$1-${version:-none}
    echo "${prefix//[:~]/_}"
}

# qt_built PREFIX [LINE]: whether PREFIX holds a Qt built and installed whole, with the configure
# line LINE where it is given.
qt_built() {
    [ -s "$1/configure-line.txt" ] && { [ $# -lt 2 ] || [ "$(cat "$1/configure-line.txt")" = "$2" ]; }
}

# A Qt build says each of its six steps as [N/6] and fails with its script's name.
qt_step=0
say() {
    qt_step=$((qt_step + 1))
    printf '[%d/6] %s\n' "$qt_step" "$*"
}
fail() {
    echo "$(basename "$0" .sh): $*" >&2
    exit 1
}

# build_qt WORK JOBS: builds the configured tree WORK/build with JOBS jobs, showing Ninja's own
# [done/total] counter every hundred steps rather than one line a file; its log is WORK/build.log.
build_qt() {
    local start
    start=$(date +%s)
    cmake --build "$1/build" --parallel "$2" 2>&1 | tee "$1/build.log" \
        | awk '/^\[[0-9]+\/[0-9]+\]/ { split($1, n, /[][\/]/); if (n[2] % 100 == 0 || n[2] == n[3]) printf "      %s of %s steps\n", n[2], n[3]; fflush() }
               /FAILED|error:/ { print; fflush() }' \
        || { echo "the build failed; see $1/build.log" >&2; return 1; }
    echo "      built in $(($(date +%s) - start)) s"
}

# install_qt WORK PREFIX LINE [FROM:TO...]: installs the built tree WORK/build into PREFIX, with
# each file FROM copied to TO inside it and the configure line LINE in its configure-line.txt, then
# drops the source. Qt's installation can be moved: it is installed beside the old one, then put in
# its place, so that a build found unfit stays usable until then.
install_qt() {
    local work=$1 prefix=$2 line=$3 extra
    shift 3
    rm -rf "$prefix.new"
    cmake --install "$work/build" --prefix "$prefix.new" >"$work/install.log" 2>&1 \
        || { echo "the install failed; see $work/install.log" >&2; return 1; }
    for extra in "$@"; do
        mkdir -p "$(dirname "$prefix.new/${extra#*:}")"
        cp "${extra%%:*}" "$prefix.new/${extra#*:}" || return 1
    done
    echo "$line" >"$prefix.new/configure-line.txt"
    rm -rf "$prefix"
    mv "$prefix.new" "$prefix" || return 1
    drop_qt_source "$work"
    echo "      in $prefix ($(du -sh "$prefix" | cut -f1))"
}
