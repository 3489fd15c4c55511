#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package for another architecture as a build server of that architecture
# would, in a fresh minimal root with only the build dependencies, run under emulation; the
# build runs the build-time tests, and lintian then checks the upload:
#   scripts/build-foreign.sh ARCH [SUITE]     e.g. scripts/build-foreign.sh arm64
# SUITE is this machine's Debian release by default; lintian runs on this machine, so judge another
# release's package with that release's lintian. Needs root (or sudo) for the emulation and the
# chroot, and installs qemu-user-static, binfmt-support, mmdebstrap, arch-test, lintian and git.
# The package, the build log and lintian's report land in build/foreign/ARCH/, the root's tarball
# in the user's cache; both stay the user's, as everything else in the tree. Under emulation the
# build takes many times as long as a native one.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
source scripts/lib/debian-root.sh
source scripts/lib/packages.sh

arch=${1:?usage: scripts/build-foreign.sh ARCH [SUITE]}
suite=${2:-$(. /etc/os-release && echo "${VERSION_CODENAME:-}")}
[ -n "$suite" ] || { echo "build-foreign: name the Debian release: scripts/build-foreign.sh $arch SUITE" >&2; exit 2; }
out=$PWD/build/foreign/$arch
# The user's cache, also where the user started this through sudo.
home=$HOME
[ "$(id -u)" -ne 0 ] || [ -z "${SUDO_USER:-}" ] || home=$(getent passwd "$SUDO_USER" | cut -d: -f6)
cache=${CORVALLO_CACHE:-${XDG_CACHE_HOME:-$home/.cache}/corvallo}
if [ "$(id -u)" -ne 0 ]; then
    # The folders are made as the user, so that none above what root writes is root's.
    mkdir -p "$out" "$cache"
    exec sudo env CORVALLO_CACHE="$cache" "$self" "$arch" "$suite"
fi
# Run through sudo, every file written for the user is given back to the user, however the run ends.
make_user_dir() {
    local top=$1
    while [ ! -e "$(dirname "$top")" ]; do top=$(dirname "$top"); done
    mkdir -p "$1"
    give_back "$top"
}
make_user_dir "$out"
make_user_dir "$cache"

install_missing qemu-user-static binfmt-support mmdebstrap arch-test lintian git
[ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc \
    || { echo "build-foreign: binfmt_misc cannot be mounted: no emulation here" >&2; exit 1; }
update-binfmts --enable || { echo "build-foreign: update-binfmts cannot enable emulation" >&2; exit 1; }

root=
cleanup() {
    give_back "$out" "$cache"
    [ -z "$root" ] || root_close "$root" || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# A minimal root of that architecture, kept as a tarball for the next build.
tarball=$cache/build-root-$suite-$arch.tar
debian_root_tarball "$tarball" "$suite" "$arch" build-essential,fakeroot || exit 1
root=$(root_open "$tarball")

# The tree as a clean clone holds it, and the build dependencies with it, nothing else.
tree_copy "$PWD" "$root/build/corvallo"
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
verdict=$(lintian_verdict "$changes" "$out/lintian.log") || status=1
cat "$out/lintian.log"
[ "$status" = 0 ] || { echo "build-foreign: the upload fails lintian's check" >&2; exit 1; }
echo "$verdict"
echo "build-foreign: $(basename "$changes") built, its tests passed"
