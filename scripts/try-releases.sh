#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Tries both set-up commands of the README as a new user would, on fresh minimal roots of Debian
# releases, and prints what they did as a Markdown table:
#   scripts/try-releases.sh [SUITE...]        default: bookworm trixie forky
# Each root is made with debootstrap (minbase, with git and sudo) from this machine's archive and
# kept in root's cache. In it an ordinary user with sudo clones the committed tree, runs
# `scripts/start.sh 0` (set-up, build, and the program started and ended at once: the root has no
# display), then `scripts/test.sh`. Needs root (it asks through sudo) and installs debootstrap.
# Slow: each release builds the program four times and runs the whole suite twice.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."

suites=("$@")
[ ${#suites[@]} -gt 0 ] || suites=(bookworm trixie forky)
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$self" "${suites[@]}"
fi
command -v debootstrap >/dev/null \
    || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null

commit=$(git rev-parse --short HEAD)
logs=$(mktemp -d "${TMPDIR:-/tmp}/corvallo-releases.XXXXXX")
root=
cleanup() {
    [ -n "$root" ] && remove_root "$root"
    return 0
}
trap cleanup EXIT

# main_archive: the address of this machine's main Debian archive, the one whose entry names this
# release itself with the main component (not its security or updates archive, nor another's).
main_archive() {
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    {
        awk -v rel="$codename" '
            /^[A-Za-z-]+:/ { key = tolower($1) }
            key == "uris:" { uri = $2 }
            key == "suites:" { for (i = 2; i <= NF; i++) if ($i == rel) suite = 1 }
            key == "components:" { for (i = 2; i <= NF; i++) if ($i == "main") main = 1 }
            /^[[:space:]]*$/ { if (uri && suite && main) { print uri; exit } uri = ""; suite = main = 0 }
            END { if (uri && suite && main) print uri }' /etc/apt/sources.list.d/*.sources 2>/dev/null
        awk -v rel="$codename" '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) break
            if ($(i + 1) == rel) for (j = i + 2; j <= NF; j++) if ($j == "main") { print $i; exit } }' \
            /etc/apt/sources.list 2>/dev/null
    } | head -n 1
}

# fresh_root SUITE: unpacks a fresh minimal root of SUITE, made once and kept, and mounts what a
# build needs into it; prints its folder. debootstrap knows no release newer than itself: those
# are made with unstable's script, and as their package lists are renewed daily, a mirror may
# serve them a little past their date.
fresh_root() {
    local suite=$1 cache=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo dir mirror script=
    local tarball=$cache/fresh-root-$suite-$(dpkg --print-architecture).tar
    dir=$(mktemp -d "${TMPDIR:-/var/tmp}/corvallo-$suite.XXXXXX")
    if [ ! -s "$tarball" ]; then
        mirror=$(main_archive)
        [ -n "$mirror" ] || { echo "no main Debian archive in this machine's apt sources" >&2; return 1; }
        [ -e "/usr/share/debootstrap/scripts/$suite" ] || script=/usr/share/debootstrap/scripts/sid
        debootstrap --variant=minbase --include=ca-certificates,git,sudo "$suite" "$dir" "$mirror" \
            $script >"$logs/$suite-debootstrap.log" 2>&1 \
            || { echo "debootstrap $suite failed: see $logs/$suite-debootstrap.log" >&2; return 1; }
        [ -z "$script" ] || echo 'Acquire::Check-Valid-Until "false";' >"$dir/etc/apt/apt.conf.d/99valid-until"
        mkdir -p "$cache"
        tar -C "$dir" -cf "$tarball.new" . && mv "$tarball.new" "$tarball"
    else
        tar -C "$dir" -xf "$tarball"
    fi
    chmod 755 "$dir"
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    mount -t proc proc "$dir/proc"
    mount --rbind --make-rslave /sys "$dir/sys"
    mount --rbind --make-rslave /dev "$dir/dev"
    echo "$dir"
}

# remove_root DIR: unmounts and removes a root; one still mounted on is left in place.
remove_root() {
    local dir=$1 mount
    for mount in dev sys proc; do
        umount -R "$dir/$mount" 2>/dev/null || umount -l -R "$dir/$mount" 2>/dev/null || true
    done
    if mountpoint -q "$dir/dev" || mountpoint -q "$dir/sys" || mountpoint -q "$dir/proc"; then
        echo "try-releases: $dir is still mounted on; left in place" >&2
        return
    fi
    rm -rf --one-file-system "$dir"
}

# installed: how many packages the root has installed.
installed() {
    chroot "$root" dpkg-query -W -f '${db:Status-Abbrev}\n' | grep -c '^ii'
}

# as_user LOG COMMAND: runs a shell command as the root's user in the clone; prints its status.
as_user() {
    local log=$1 status=0
    shift
    chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/home/user LANG=C.UTF-8 \
        runuser -u user -- sh -c "cd /home/user/corvallo && $*" >"$log" 2>&1 </dev/null || status=$?
    echo "$status"
}

# suite_counts LOG HEADING: "passed/skipped" of the CTest run that follows HEADING in LOG.
suite_counts() {
    awk -v heading="$2" '
        index($0, heading) == 1 { inside = 1; skipped = 0; next }
        inside && /\(Skipped\)$/ { skipped++ }
        inside && /tests failed out of/ {
            total = $NF; failed = $(NF - 4)
            printf "%d passed, %d skipped%s", total - failed - skipped, skipped, failed ? ", " failed " failed" : ""
            exit
        }' "$1"
}

rows=()
for suite in "${suites[@]}"; do
    echo "== $suite: a fresh root" >&2
    root=$(fresh_root "$suite") || { rows+=("| $suite | no root could be made |"); root=; continue; }
    chroot "$root" useradd --create-home --shell /bin/bash user
    echo 'user ALL=(ALL) NOPASSWD: ALL' >"$root/etc/sudoers.d/user"
    git -c safe.directory="*" clone -q "$PWD" "$root/home/user/corvallo"
    chroot "$root" chown -R user:user /home/user/corvallo
    before=$(installed)
    qt=

    echo "== $suite: scripts/start.sh 0 (log: $logs/$suite-start.log)" >&2
    start=$(date +%s)
    start_status=$(as_user "$logs/$suite-start.log" scripts/start.sh 0)
    start_time=$(($(date +%s) - start))
    after_start=$(installed)
    qt=$(chroot "$root" dpkg-query -W -f '${Version}' qt6-base-dev 2>/dev/null | sed -E 's/^[0-9]+://; s/[+~-].*//')

    echo "== $suite: scripts/test.sh (log: $logs/$suite-test.log)" >&2
    start=$(date +%s)
    test_status=$(as_user "$logs/$suite-test.log" scripts/test.sh)
    test_time=$(($(date +%s) - start))
    after_test=$(installed)

    rows+=("| $suite | ${qt:-none} | $before | $((after_start - before)) | $start_status | ${start_time} s |\
 $((after_test - before)) | $(suite_counts "$logs/$suite-test.log" '== build and tests ==') |\
 $(suite_counts "$logs/$suite-test.log" '== build and tests under') |\
 $(suite_counts "$logs/$suite-test.log" '== a bounded fuzzing run') | $test_status | ${test_time} s |")
    remove_root "$root"
    root=
done

echo
echo "On commit $commit, $(date -u +%Y-%m-%d):"
echo
echo '| Release | Qt | packages in the root | `start.sh` installs | its exit | its time | `test.sh` installs in all | shipping suite | sanitizer suite | fuzzing | its exit | its time |'
echo '|---|---|---|---|---|---|---|---|---|---|---|---|'
printf '%s\n' "${rows[@]}"
echo
echo "Logs: $logs" >&2
