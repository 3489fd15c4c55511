#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes a release of the commit at hand: every file a user downloads, in dist/VERSION/.
#   scripts/release.sh           builds them all
#   scripts/release.sh --check   only says whether a release can be made: a clean tree, the whole
#                                history (for the build number) and one version in every place
# The files: the Windows installer and zip (scripts/package-windows.sh), the browser's folder as
# one zip with Brotli and gzip copies beside its large files (scripts/build-web.sh), the Debian
# source package and the package for this machine's architecture (dpkg-buildpackage), the release
# notes, taken from debian/changelog, and SHA256SUMS. The version is CMakeLists.txt's; the
# changelog's newest entry and the metainfo's newest release must name it.
# Every time in the files is the commit's. Run again on the same commit, it compares each file
# with the last run's and fails where one that should be the same differs or is missing, leaving
# the last run's folder as it was and the new files beside it; the notes name those that cannot be
# the same, and why. Installs what it needs with apt-get (sudo when not root).
set -euo pipefail
cd "$(dirname "$(realpath "$0")")/.."
source scripts/lib/packages.sh
source scripts/lib/version.sh

say() { printf '[release] %s\n' "$*"; }
fail() {
    echo "release: $*" >&2
    exit 1
}

check_only=no
case ${1:-} in
--check) check_only=yes ;;
"") ;;
*)
    echo "usage: scripts/release.sh [--check]" >&2
    exit 2
    ;;
esac

git rev-parse --git-dir >/dev/null 2>&1 || fail "not a git clone: a release is made from a commit"
changes=$(git status --porcelain --untracked-files=normal)
[ -z "$changes" ] || fail "the tree has changes that no commit holds; commit them or put them away:"$'\n'"$changes"
[ "$(git rev-parse --is-shallow-repository)" = false ] \
    || fail "a shallow clone cannot count the build number: fetch the whole history (git fetch --unshallow)"
versions_agree . || fail "the version must be the same in CMakeLists.txt, debian/changelog and the metainfo"
version=$(project_version .)
commit=$(git rev-parse HEAD)
build=$(git rev-list --count HEAD)
if [ "$check_only" = yes ]; then
    echo "release: Corvallo $version (build $build) can be made from $commit"
    exit 0
fi

export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export TZ=UTC LC_ALL=C.UTF-8
started=$SECONDS
final=$PWD/dist/$version
arch=$(dpkg --print-architecture)

# The last run's checksums, where it was of this commit, to compare with. The files are made in a
# folder of their own, which takes the last run's place only when they pass.
earlier=
if [ -f "$final/SHA256SUMS" ] && [ "$(cat "$final/.commit" 2>/dev/null)" = "$commit" ]; then
    earlier=$(cat "$final/SHA256SUMS")
fi
dist=$final.new
rm -rf "$dist"
mkdir -p "$dist"

# Files that two runs on one commit cannot give alike today, and why. None is known: every file
# was the same in two runs (docs/developing.md says how to see it).
declare -A differs_because=()

say "Corvallo $version, build $build, commit $commit"

say "The Windows program and its packages"
scripts/build-windows.sh
scripts/package-windows.sh "" "$dist"

say "The browser's folder"
scripts/build-web.sh
web=corvallo-$version-web
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp -r build/web/Corvallo "$stage/$web"
find "$stage/$web" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$stage/$web" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
install_missing zip
(cd "$stage" && find "$web" -type f | LC_ALL=C sort | zip -X -D -q -9 "$dist/$web.zip" -@)

say "The Debian source package and the package for $arch"
install_missing dpkg-dev debhelper
tree=$PWD/build/release-debian/corvallo-$version
rm -rf "$(dirname "$tree")"
mkdir -p "$tree"
git archive HEAD | tar -x -C "$tree"
$packages_sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C apt-get build-dep -y -qq \
    --no-install-recommends -Pnocheck "$tree" >"$tree.deps.log" 2>&1 \
    || fail "apt-get could not install the package's build dependencies:"$'\n'"$(tail -n 20 "$tree.deps.log")"
# The suite built and tested this commit's package; the release builds it without its tests.
(cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=${CORVALLO_JOBS:-2}" \
    dpkg-buildpackage -us -uc --build-profiles=nocheck) >"$tree.log" 2>&1 \
    || fail "dpkg-buildpackage failed:"$'\n'"$(tail -n 40 "$tree.log")"
for file in "corvallo_$version.dsc" "corvallo_$version.tar.xz" "corvallo_${version}_$arch.deb"; do
    cp "$(dirname "$tree")/$file" "$dist/"
done

say "The release notes"
msi=$dist/corvallo-$version-x64.msi
msi_property() {
    msiinfo export "$msi" Property | awk -F '\t' -v name="$1" '$1 == name { print $2 }' | tr -d '\r'
}
debian=$(. /etc/os-release && echo "$PRETTY_NAME")
{
    printf '# Corvallo %s\n\n' "$version"
    printf 'Build %s, from commit %s of %s.\n' \
        "$build" "$commit" "$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d')"
    printf 'The Windows program names the build (`corvallo.exe --version`, its file version and the\n'
    printf 'installer'"'"'s version); the Debian package, built from its source package, names the\n'
    printf 'version alone.\n\n'
    printf '## What is new\n\n'
    # The changelog's newest entry, without its first line, its signature and its indentation.
    sed -n '3,/^ -- /p' debian/changelog | sed '$d' | sed 's/^  //' | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'
    printf '\n## The files\n\n'
    printf -- '- `corvallo-%s-x64.msi`: Windows 10 and 11 (64-bit), installed for every user of the PC.\n' "$version"
    printf '  Installer version %s, product code %s, upgrade code %s.\n' \
        "$(msi_property ProductVersion)" "$(msi_property ProductCode)" "$(msi_property UpgradeCode)"
    printf -- '- `corvallo-%s-windows-x64.zip`: Windows, a folder that runs wherever it is unpacked.\n' "$version"
    printf -- '- `%s.zip`: the folder a web server serves to browsers, with Brotli (`.br`) and gzip\n' "$web"
    printf '  (`.gz`) copies of its large files for a server that sends them as they are.\n'
    printf -- '- `corvallo_%s_%s.deb`: the Debian package, built on %s; it installs on that\n' "$version" "$arch" "$debian"
    printf '  release and later ones: `sudo apt install ./corvallo_%s_%s.deb`.\n' "$version" "$arch"
    printf -- '- `corvallo_%s.dsc` and `corvallo_%s.tar.xz`: the Debian source package, which is the\n' "$version" "$version"
    printf '  whole source of every file above, with the scripts that build them (outside a git clone,\n'
    printf '  configuring with `-DCORVALLO_BUILD_NUMBER=%s` gives the build number that the clone counts).\n' "$build"
    printf -- '- `SHA256SUMS`: the checksum of each file, checked by `sha256sum -c SHA256SUMS`.\n\n'
    printf '## Made again\n\n'
    printf 'Every time in these files is the commit'"'"'s. Made again from commit %s with the same\n' "$commit"
    printf 'Debian release and packages, they come out the same, byte for byte, which\n'
    printf '`scripts/release.sh` checks each time it is run again on the commit'
    if [ ${#differs_because[@]} -eq 0 ]; then
        printf '.\n'
    else
        printf ', except:\n\n'
        for file in "${!differs_because[@]}"; do
            printf -- '- `%s`: %s\n' "$file" "${differs_because[$file]}"
        done
    fi
} >"$dist/RELEASE-NOTES.md"

(cd "$dist" && find . -maxdepth 1 -type f ! -name SHA256SUMS ! -name '.*' -printf '%f\n' | LC_ALL=C sort \
    | xargs sha256sum >SHA256SUMS)
echo "$commit" >"$dist/.commit"

if [ -n "$earlier" ]; then
    say "Against the last run of this commit"
    differing=()
    while read -r _ file; do
        awk -v file="$file" '$2 == file { found = 1 } END { exit !found }' "$dist/SHA256SUMS" \
            || { differing+=("$file"); say "  $file: MISSING"; }
    done <<<"$earlier"
    while read -r sum file; do
        before=$(awk -v file="$file" '$2 == file { print $1 }' <<<"$earlier")
        if [ "$before" = "$sum" ]; then
            say "  $file: the same"
        elif [ -n "${differs_because[$file]:-}" ]; then
            say "  $file: differs, as it must (${differs_because[$file]})"
        else
            differing+=("$file")
            say "  $file: DIFFERS"
        fi
    done <"$dist/SHA256SUMS"
    [ ${#differing[@]} -eq 0 ] \
        || fail "not the same as the last run of this commit, which stays in $final: ${differing[*]} (the new files are in $dist)"
fi
rm -rf "$final"
mv "$dist" "$final"
dist=$final

say "Done in $((SECONDS - started)) s: $dist"
(cd "$dist" && ls -l --time-style=+ -- * | awk '{ printf "  %10d  %s\n", $5, $NF }')
