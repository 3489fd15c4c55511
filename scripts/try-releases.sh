#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Tries both set-up commands of the README as a new user would, on fresh minimal roots of Debian
# releases, and prints what they did as a Markdown table:
#   scripts/try-releases.sh [SUITE...]        default: bookworm trixie forky
# Each root is made with mmdebstrap (minbase, with git and sudo) from the release's main archive
# and kept in root's cache. In it an ordinary user with sudo clones the committed tree, runs
# `scripts/start.sh 0` (set-up, build, and the program started and ended at once: the root has no
# display), then `scripts/test.sh`. Needs root (it asks through sudo) and installs mmdebstrap.
# Slow: each release builds the program four times and runs the whole suite twice.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
source scripts/lib/debian-root.sh

suites=("$@")
[ ${#suites[@]} -gt 0 ] || suites=(bookworm trixie forky)
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$self" "${suites[@]}"
fi
source scripts/lib/packages.sh
install_missing mmdebstrap

commit=$(git -c safe.directory="*" rev-parse --short HEAD)
logs=$(mktemp -d "${TMPDIR:-/tmp}/corvallo-releases.XXXXXX")
# The logs belong to the user who started the script, also when it ran itself again through sudo.
give_back "$logs"
root=
cleanup() {
    [ -z "$root" ] || root_close "$root" || true
    give_back "$logs" || true
    return 0
}
trap cleanup EXIT

# fresh_root SUITE: a fresh minimal root of SUITE, made once and kept, unpacked and mounted; prints
# its folder. The lists of a testing release are valid for a few days only, and a mirror that lags
# serves them past their date: where the archive's lists have expired, that root takes them as
# they are, in the set-up too.
fresh_root() {
    local suite=$1 arch
    arch=$(dpkg --print-architecture)
    local tarball=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/fresh-root-$suite-$arch.tar
    debian_root_tarball "$tarball" "$suite" "$arch" ca-certificates,git,sudo >&2 \
        || { grep -q 'expired' "$tarball.log" 2>/dev/null \
            && debian_root_tarball "$tarball" "$suite" "$arch" ca-certificates,git,sudo \
                --aptopt='Acquire::Check-Valid-Until "false"' >&2; } \
        || return 1
    root_open "$tarball"
}

# root_package_count: how many packages the root has installed.
root_package_count() {
    chroot "$root" dpkg-query -W -f '${db:Status-Abbrev}\n' | grep -c '^ii'
}

# as_user LOG COMMAND: runs a shell command as the root's user in the clone; prints its status.
as_user() {
    local log=$1 status=0
    shift
    chroot "$root" /usr/sbin/runuser -u user -- /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin \
        HOME=/home/user USER=user LANG=C.UTF-8 sh -c "cd /home/user/corvallo && $*" >"$log" 2>&1 \
        </dev/null || status=$?
    echo "$status"
}

# suite_counts LOG HEADING: the results of the CTest run that follows HEADING in LOG, read from
# its line for each test: passed, skipped, and failed in any way (failed, not run, timed out).
suite_counts() {
    awk -v heading="$2" '
        index($0, heading) == 1 { inside = 1; next }
        inside && /^== / { exit }
        inside && /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
            if (/ Passed +[0-9.]+ sec$/) passed++
            else if (/\*\*\*Skipped /) skipped++
            else failed++
        }
        END {
            if (passed + skipped + failed == 0) { printf "no tests ran"; exit }
            printf "%d passed, %d skipped%s", passed, skipped, failed ? ", " failed " failed" : ""
        }' "$1"
}

rows=()
for suite in "${suites[@]}"; do
    echo "== $suite: a fresh root" >&2
    root=$(fresh_root "$suite") || { rows+=("| $suite | no root could be made |"); root=; continue; }
    chroot "$root" useradd --create-home --shell /bin/bash user
    echo 'user ALL=(ALL) NOPASSWD: ALL' >"$root/etc/sudoers.d/user"
    git -c safe.directory="*" clone -q --no-checkout "$PWD" "$root/home/user/corvallo"
    git -C "$root/home/user/corvallo" checkout -q "$commit"
    chroot "$root" chown -R user:user /home/user/corvallo
    before=$(root_package_count)
    qt=

    echo "== $suite: scripts/start.sh 0 (log: $logs/$suite-start.log)" >&2
    start=$(date +%s)
    start_status=$(as_user "$logs/$suite-start.log" scripts/start.sh 0)
    start_time=$(($(date +%s) - start))
    after_start=$(root_package_count)
    qt=$(chroot "$root" dpkg-query -W -f '${Version}' qt6-base-dev 2>/dev/null \
        | sed -E 's/^[0-9]+://; s/[+~-].*//') || qt=

    echo "== $suite: scripts/test.sh (log: $logs/$suite-test.log)" >&2
    start=$(date +%s)
    test_status=$(as_user "$logs/$suite-test.log" scripts/test.sh)
    test_time=$(($(date +%s) - start))
    after_test=$(root_package_count)

    rows+=("| $suite | ${qt:-none} | $before | $((after_start - before)) | $start_status | ${start_time} s |\
 $((after_test - before)) | $(suite_counts "$logs/$suite-test.log" '== build and tests ==') |\
 $(suite_counts "$logs/$suite-test.log" '== build and tests under') |\
 $(suite_counts "$logs/$suite-test.log" '== a bounded fuzzing run') | $test_status | ${test_time} s |")
    echo "${rows[-1]}" >&2
    root_close "$root" || true
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
