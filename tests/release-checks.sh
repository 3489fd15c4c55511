#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A release is made only from a clean tree with its whole history, and only when the version is
# the same in every place that names it: scripts/release.sh --check is run on small clones of
# the places that name the version, each changed as a row says.
#   tests/release-checks.sh [SOURCE_FOLDER]     default: the tree this script is in
set -euo pipefail
source_dir=$(realpath "${1:-$(dirname "$(realpath "$0")")/..}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v git >/dev/null || { echo "SKIP: git is not installed"; exit 77; }
export GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@example.invalid GIT_CONFIG_NOSYSTEM=1 \
    GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@example.invalid HOME=$work

# The tree the rows start from: what the check reads, committed twice (a build number of 2).
origin=$work/origin
metainfo=packaging/io.github.corvallo.Corvallo.metainfo.xml
for file in CMakeLists.txt debian/changelog "$metainfo" .gitignore scripts/release.sh \
    scripts/lib/version.sh scripts/lib/packages.sh; do
    mkdir -p "$origin/$(dirname "$file")"
    cp "$source_dir/$file" "$origin/$file"
done
git -C "$origin" init -q
git -C "$origin" add -A
git -C "$origin" commit -qm first
git -C "$origin" commit -q --allow-empty -m second
source "$origin/scripts/lib/version.sh"
version=$(project_version "$origin")
[ -n "$version" ] || { echo "FAIL: no version in $source_dir/CMakeLists.txt" >&2; exit 1; }

# Each row: what it tries, a change made to a fresh clone (committed unless the row says the
# tree is left with it), and the outcome: "made" or the words the refusal must hold.
committed=(
    "the tree as it is||made"
    "an epoch|sed -i '1s/($version)/(1:$version)/' debian/changelog|made"
    "a Debian revision, which a native package has not|sed -i '1s/($version)/($version-2)/' debian/changelog|debian/changelog's newest entry is $version-2"
    "a newer changelog entry|sed -i '1s/($version)/($version.1)/' debian/changelog|debian/changelog's newest entry is $version.1, but CMakeLists.txt says $version"
    "a newer project version|sed -i 's/^project(Corvallo VERSION [0-9.]*/project(Corvallo VERSION 9.9.9/' CMakeLists.txt|but CMakeLists.txt says 9.9.9"
    "an older metainfo release|sed -i '0,/<release version=\"[^\"]*\"/s//<release version=\"0.9.0\"/' $metainfo|the metainfo's newest release is 0.9.0"
    "no version at all|sed -i 's/^project(Corvallo VERSION [0-9.]*/project(Corvallo/' CMakeLists.txt|names no version of three numbers"
)
uncommitted=(
    "an edit left uncommitted|echo '# more' >>CMakeLists.txt|the tree has changes that no commit holds"
    "a new file left untracked|touch notes.txt|the tree has changes that no commit holds"
    "an earlier release's files|mkdir -p dist/$version && touch dist/$version/SHA256SUMS|made"
)
failures=0 tried=0
try() {
    local what=$1 change=$2 expected=$3 commit=$4 clone output status=0 builds
    tried=$((tried + 1))
    clone=$work/clone-$tried
    git clone -q "$origin" "$clone"
    if [ -n "$change" ]; then
        (cd "$clone" && eval "$change")
        [ "$commit" = no ] || git -C "$clone" commit -qam "$what"
    fi
    output=$(bash "$clone/scripts/release.sh" --check 2>&1) || status=$?
    if [ "$expected" = made ]; then
        # Two commits, and the row's own where it commits a change.
        builds=2
        [ -z "$change" ] || [ "$commit" = no ] || builds=3
        [ "$status" -eq 0 ] && grep -qF "(build $builds) can be made" <<<"$output" && return
    else
        [ "$status" -eq 1 ] && grep -qF "$expected" <<<"$output" && return
    fi
    echo "FAIL: $what: expected $expected, got status $status:"$'\n'"$output" >&2
    failures=$((failures + 1))
}
for row in "${committed[@]}"; do
    IFS='|' read -r what change expected <<<"$row"
    try "$what" "$change" "$expected" yes
done
for row in "${uncommitted[@]}"; do
    IFS='|' read -r what change expected <<<"$row"
    try "$what" "$change" "$expected" no
done

# A shallow clone has no build number to give.
tried=$((tried + 1))
git clone -q --depth 1 "file://$origin" "$work/shallow"
status=0
output=$(bash "$work/shallow/scripts/release.sh" --check 2>&1) || status=$?
if [ "$status" -ne 1 ] || ! grep -qF "shallow clone" <<<"$output"; then
    echo "FAIL: a shallow clone: expected a refusal, got status $status:"$'\n'"$output" >&2
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || { echo "FAIL: $failures of $tried cases" >&2; exit 1; }
echo "PASS: $tried cases"
