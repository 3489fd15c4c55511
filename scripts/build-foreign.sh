#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package for another architecture as a build server of that architecture
# would, in a fresh minimal root with only the build dependencies, run under emulation; the
# build runs the build-time tests, and lintian then checks the upload:
#   scripts/build-foreign.sh ARCH [SUITE]     e.g. scripts/build-foreign.sh arm64
# SUITE is this machine's Debian release by default; lintian runs on this machine, so judge another
# release's package with that release's lintian. Needs root (or sudo) for debootstrap and
# chroot, and installs qemu-user-static, binfmt-support, debootstrap, lintian and git. The package,
# the build log and lintian's report land in build/foreign/ARCH/. Under emulation the build
# takes many times as long as a native one.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."

arch=${1:?usage: scripts/build-foreign.sh ARCH [SUITE]}
suite=${2:-$(. /etc/os-release && echo "${VERSION_CODENAME:-}")}
[ -n "$suite" ] || { echo "build-foreign: name the Debian release: scripts/build-foreign.sh $arch SUITE" >&2; exit 2; }
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$self" "$@"
fi

tools=(qemu-user-static binfmt-support debootstrap lintian git)
missing=()
for package in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc \
    || { echo "build-foreign: binfmt_misc cannot be mounted: no emulation here" >&2; exit 1; }
update-binfmts --enable || { echo "build-foreign: update-binfmts cannot enable emulation" >&2; exit 1; }

out=$PWD/build/foreign/$arch
mkdir -p "$out"
root=$(mktemp -d "${TMPDIR:-/var/tmp}/corvallo-$suite-$arch.XXXXXX")
# The root's /dev is the machine's own: it is removed with the root only once unmounted.
cleanup() {
    umount -R "$root/dev" 2>/dev/null || umount -l -R "$root/dev" 2>/dev/null || true
    umount "$root/proc" 2>/dev/null || umount -l "$root/proc" 2>/dev/null || true
    if mountpoint -q "$root/dev" || mountpoint -q "$root/proc"; then
        echo "build-foreign: $root is still mounted on; left in place" >&2
        return
    fi
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

# A minimal root of that architecture, kept as a tarball for the next build.
tarball=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/build-root-$suite-$arch.tar
if [ ! -s "$tarball" ]; then
    mirror=$(grep -h '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{ print $2; exit }' || true)
    [ -n "$mirror" ] || mirror=$(grep -h '^deb ' /etc/apt/sources.list 2>/dev/null \
        | awk '{ for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' || true)
    echo "Making a minimal $suite root for $arch"
    debootstrap --arch="$arch" --variant=minbase --include=build-essential,fakeroot \
        "$suite" "$root" "$mirror" >"$out/debootstrap.log" 2>&1 \
        || { tail -n 20 "$out/debootstrap.log" >&2; exit 1; }
    mkdir -p "$(dirname "$tarball")"
    tar -C "$root" -cf "$tarball.new" . && mv "$tarball.new" "$tarball"
else
    tar -C "$root" -xf "$tarball"
fi
# Its top is open to every user, as a root directory is: apt's own user and the builder need it.
chmod 755 "$root"

# The tree as a clean clone holds it, and the build dependencies with it, nothing else.
mkdir -p "$root/build/corvallo"
git ls-files -z --cached --others --exclude-standard \
    | while IFS= read -r -d '' file; do if [ -e "$file" ]; then printf '%s\0' "$file"; fi; done \
    | tar --null -T - -cf - | tar -C "$root/build/corvallo" -xf -
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --rbind --make-rslave /dev "$root/dev"
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}
echo "Installing the build dependencies in the $arch root"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq --no-install-recommends /build/corvallo \
    >"$out/build-dep.log" 2>&1 || { tail -n 20 "$out/build-dep.log" >&2; exit 1; }

# As on a build server, the build and its tests run as an ordinary user.
in_root useradd --create-home --user-group builder
in_root chown -R builder:builder /build
echo "Building for $arch (log: $out/build.log)"
start=$(date +%s)
status=0
in_root runuser -u builder -- env HOME=/home/builder \
    sh -c "cd /build/corvallo && DEB_BUILD_OPTIONS=parallel=$(nproc) dpkg-buildpackage -us -uc -b" \
    >"$out/build.log" 2>&1 || status=$?
echo "dpkg-buildpackage gave $status after $(($(date +%s) - start)) s"
grep -E '^[0-9]+% tests passed|tests failed out of|Test #[0-9]+: .*(Failed|Passed|Skipped)' "$out/build.log" | tail -n 40 || true
[ "$status" = 0 ] || { tail -n 40 "$out/build.log" >&2; exit "$status"; }
rm -f "$out"/corvallo_* "$out"/corvallo-*
cp "$root"/build/corvallo_* "$root"/build/corvallo-* "$out/"

changes=$(ls "$out"/corvallo_*_"$arch".changes)
status=0
lintian --pedantic --info "$changes" >"$out/lintian.log" 2>&1 || status=$?
cat "$out/lintian.log"
if grep -qE '^Skipping |^No packages selected' "$out/lintian.log"; then
    echo "build-foreign: lintian checked nothing" >&2
    exit 1
fi
if grep -qE '^[EW]:' "$out/lintian.log"; then
    echo "build-foreign: lintian reports errors or warnings" >&2
    exit 1
fi
# 2 means an error tag, reported above; 1 means lintian itself failed.
[ "$status" = 0 ] || { echo "build-foreign: lintian gave status $status" >&2; exit 1; }
echo "build-foreign: $(basename "$changes") built, its tests passed, lintian has no error or warning"
