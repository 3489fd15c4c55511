# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that build or test the Debian package away from this machine's own
# system: the release's main archive, a minimal root of a release made once and kept as a
# tarball, a clean copy of the source tree, and lintian's verdict on an upload. A function that
# cannot do its part says why on standard error and returns non-zero; the caller decides whether
# that fails or skips.

# debian_mirror SUITE: the address of SUITE's main archive as apt's sources name it: the entry for
# exactly that suite (not its security or update suites) with the main component, an archive whose
# Release file says it is Debian's before any other. Where apt has no entry for SUITE, this
# release's own main archive is taken, as it serves the other suites too.
debian_mirror() {
    local wanted mirror
    for wanted in "$1" "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"; do
        [ -n "$wanted" ] || continue
        mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(CODENAME) $(COMPONENT) $(ORIGIN)' \
            'Created-By: Packages' 2>/dev/null \
            | awk -v suite="$wanted" '($2 == suite || $3 == suite) && $4 == "main" && $5 == "Debian" { print $1; exit }')
        [ -n "$mirror" ] || mirror=$(apt-get indextargets --no-release-info \
            --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' 2>/dev/null \
            | awk -v suite="$wanted" '$2 == suite && $3 == "main" { print $1; exit }')
        if [ -n "$mirror" ]; then
            echo "$mirror"
            return 0
        fi
    done
    echo "apt's sources name no main archive of $1" >&2
    return 1
}

# debian_root_tarball TARBALL SUITE ARCH [PACKAGE,...] [MMDEBSTRAP OPTION...]: a minimal root of
# SUITE for ARCH, with those packages, as TARBALL, made once and then kept. mmdebstrap makes it in a chroot as root, and
# in a user namespace of its own, mapped to the user's subordinate ids, as an ordinary user; its
# log is kept next to the tarball. The root keeps its package lists, as a bootstrapped root does,
# so that apt in it can install what a test needs before any update.
debian_root_tarball() {
    local tarball=$1 suite=$2 arch=$3 include=${4:-} mirror options=("${@:5}")
    [ -s "$tarball" ] && return 0
    command -v mmdebstrap >/dev/null || { echo "mmdebstrap is not installed" >&2; return 1; }
    mirror=$(debian_mirror "$suite") || return 1
    mkdir -p "$(dirname "$tarball")"
    echo "Making a minimal $suite root for $arch from $mirror (log: $tarball.log)"
    if ! mmdebstrap --variant=minbase --architectures="$arch" ${include:+--include="$include"} "${options[@]}" \
        --skip=cleanup/apt/lists --format=tar "$suite" "$tarball.new" "$mirror" >"$tarball.log" 2>&1; then
        rm -f "$tarball.new"
        if grep -qE 'Temporary failure|Could not resolve|Failed to fetch|Network is unreachable|Connection (refused|timed out)' \
            "$tarball.log"; then
            echo "mmdebstrap cannot reach the archive at $mirror" >&2
        else
            echo "mmdebstrap $suite failed: $(tail -n 5 "$tarball.log")" >&2
        fi
        return 1
    fi
    mv "$tarball.new" "$tarball"
}

# give_back PATH...: a script that ran itself again through sudo gives what it wrote for the user
# who started it back to that user; otherwise it does nothing.
give_back() {
    [ -z "${SUDO_UID:-}" ] || chown -R "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$@"
}

# root_open TARBALL: unpacks a root made by debian_root_tarball into a new folder, open to every
# user as a root directory is (apt's own user and a builder need that), with this machine's name
# service and its /proc, /sys and /dev mounted in; prints the folder.
root_open() {
    local dir
    dir=$(mktemp -d "${TMPDIR:-/var/tmp}/corvallo-root.XXXXXX") || return 1
    tar -C "$dir" -xf "$1" || { rm -rf --one-file-system "$dir"; return 1; }
    chmod 755 "$dir"
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    mount -t proc proc "$dir/proc"
    mount --rbind --make-rslave /sys "$dir/sys"
    mount --rbind --make-rslave /dev "$dir/dev"
    echo "$dir"
}

# root_close DIR: unmounts and removes a root that root_open gave. Its /dev is the machine's own, so
# a root still mounted on is left in place, saying so.
root_close() {
    local dir=$1 mount
    for mount in dev sys proc; do
        umount -R "$dir/$mount" 2>/dev/null || umount -l -R "$dir/$mount" 2>/dev/null || true
    done
    if mountpoint -q "$dir/dev" || mountpoint -q "$dir/sys" || mountpoint -q "$dir/proc"; then
        echo "$dir is still mounted on; left in place" >&2
        return 1
    fi
    rm -rf --one-file-system "$dir"
}

# tree_copy SOURCE TARGET: the source tree as a clean clone holds it, in TARGET: what git tracks
# or would track, without build folders and without the package build's own leftovers.
tree_copy() {
    local source=$1 target=$2 file
    mkdir -p "$target"
    if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        while IFS= read -r -d '' file; do
            if [ -e "$source/$file" ]; then printf '%s\0' "$file"; fi
        done < <(git -C "$source" ls-files -z --cached --others --exclude-standard) \
            | tar -C "$source" --null -T - -cf - | tar -C "$target" -xf -
    else
        tar -C "$source" --exclude-vcs --exclude='./build*' --exclude='./obj-*' \
            --exclude=./debian/.debhelper --exclude=./debian/corvallo -cf - . | tar -C "$target" -xf -
    fi
}

# lintian_verdict CHANGES LOG: lintian's pedantic report on an upload, kept in LOG. Fails, saying
# why, where lintian checked nothing, reports an error or a warning, finds an override that the
# package ships but does not need, or fails itself (status 1; 2 means an error tag).
lintian_verdict() {
    local changes=$1 log=$2 status=0
    lintian --pedantic --info "$changes" >"$log" 2>&1 || status=$?
    if grep -qE '^Skipping |^No packages selected' "$log"; then
        echo "lintian checked nothing: $(head -n 3 "$log")" >&2
        return 1
    fi
    if grep -qE '^[EW]:|^I: [^ ]+: unused-override ' "$log"; then
        echo "lintian reports errors, warnings or unused overrides:" >&2
        grep -E '^[EW]:|^I: [^ ]+: unused-override ' "$log" >&2
        return 1
    fi
    if [ "$status" != 0 ]; then
        echo "lintian gave status $status: $(tail -n 20 "$log")" >&2
        return 1
    fi
    echo "lintian: no error, no warning, $(grep -cE '^[IP]:' "$log" || true) info and pedantic tags"
}
