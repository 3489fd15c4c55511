#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks what the program installs on a desktop and what its Debian package holds.
# Usage: check-package.sh desktop-entry|metainfo|icons|manual|install|versions|mirror|build|deb|testbed
# Needs CORVALLO_SOURCE and CORVALLO_BUILD (a built build directory), CORVALLO_ICON_TOOL and
# CORVALLO_APP_ID; desktop-file-utils, appstream, man-db and ImageMagick. build builds the Debian
# package from a copy of the source tree: it needs dpkg-dev, debhelper and the build
# dependencies; without them it is skipped. deb checks that package, with lintian; testbed runs
# the package's own tests on it in a clean testbed (autopkgtest, uidmap, mmdebstrap).
set -euo pipefail

source_dir=${CORVALLO_SOURCE:?CORVALLO_SOURCE names the source directory}
source "$source_dir/scripts/lib/debian-root.sh"
build_dir=${CORVALLO_BUILD:?CORVALLO_BUILD names the build directory}
app_id=${CORVALLO_APP_ID:?CORVALLO_APP_ID names the AppStream component}
program=$build_dir/src/corvallo
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every file an install puts under the prefix, and nothing else.
expected_files() {
    printf '%s\n' \
        bin/corvallo \
        share/applications/corvallo.desktop \
        share/icons/hicolor/128x128/apps/corvallo.png \
        share/icons/hicolor/256x256/apps/corvallo.png \
        share/icons/hicolor/32x32/apps/corvallo.png \
        share/icons/hicolor/64x64/apps/corvallo.png \
        share/man/man6/corvallo.6.gz \
        "share/metainfo/$app_id.metainfo.xml" | LC_ALL=C sort
}

# A validator passes only when it has nothing at all to say.
silent() {
    local output
    output=$("$@" 2>&1) || fail "$* failed:"$'\n'"$output"
    [ -z "$output" ] || fail "$* complained:"$'\n'"$output"
}

# The value of a key in the [Desktop Entry] group.
desktop_key() {
    sed -n "s/^$2=//p" "$1" | head -n 1
}

check_desktop_entry() {
    silent desktop-file-validate "$source_dir/packaging/corvallo.desktop"
}

# appstreamcli ARGUMENTS...: what the AppStream validator finds beyond what is allowed, one line
# an issue; fails where it says nothing at all. From AppStream 1.0 on, a warning alone fails the
# validation, so its exit status is not what counts. Allowed are: the upper-case letter of the
# reverse-DNS id, which the desktop's id and the icon share; the missing homepage, as the project
# has no address of its own yet; and, before AppStream 1.0, the developer tag that 1.0 brought in
# and wants instead of developer_name.
appstream_issues() {
    local output allowed='(cid-contains-uppercase-letter|url-homepage-missing)'
    output=$(appstreamcli "$@" 2>&1) || true
    grep -qE 'Validation (was successful|failed)' <<<"$output" \
        || fail "appstreamcli $* gave no verdict:"$'\n'"$output"
    appstreamcli --version | grep -qE 'version: [1-9][0-9]*[.]' \
        || allowed='(cid-contains-uppercase-letter|url-homepage-missing|unknown-tag developer)'
    grep -E '^ *[EWIP]:' <<<"$output" | grep -vE " $allowed( |$)" || true
}

# appstream_tree_faults ROOT: the errors and warnings beyond what is allowed that AppStream finds
# in a tree installed under ROOT, as a software centre reads it: metainfo, its launchable, icons.
appstream_tree_faults() {
    appstream_issues validate-tree --no-net "$1" | grep -E '^ *[EW]:' || true
}

check_metainfo() {
    local issues
    issues=$(appstream_issues validate --pedantic --no-net "$source_dir/packaging/$app_id.metainfo.xml")
    [ -z "$issues" ] || fail "the metainfo has errors, warnings or notes:"$'\n'"$issues"
    # Its newest release is the program's version.
    local version
    version=$("$program" --version | sed -n 's/^corvallo \([^ ]*\).*/\1/p')
    grep -m 1 '<release ' "$source_dir/packaging/$app_id.metainfo.xml" | grep -qF "version=\"$version\"" \
        || fail "the metainfo's newest release is not version $version"
}

check_icons() {
    local icons=$build_dir/packaging/icons base size
    base=$icons/32x32/corvallo.png
    [ -f "$base" ] || fail "no 32x32 icon was built"
    for size in 32 64 128 256; do
        local icon=$icons/${size}x${size}/corvallo.png
        local shape
        shape=$(identify -format '%w %h %[opaque]' "$icon" | tr '[:upper:]' '[:lower:]')
        [ "$shape" = "$size $size true" ] || fail "$icon is not an opaque $size x $size image"
        # Nearest-neighbour scaling of the 32 x 32 design must give exactly this image: a
        # smoothed one has mixed colours at every character's edge.
        local differing
        convert "$base" -sample "${size}x${size}" "$work/sampled.png"
        differing=$(compare -metric AE "$work/sampled.png" "$icon" null: 2>&1) || true
        differing=${differing%% *} # ImageMagick 7 adds the normalised count: "0 (0)"
        [ "$differing" = 0 ] \
            || fail "$icon differs from the crisply scaled design in $differing pixels"
    done
    # The design's colours: black ground, yellow 6, red x, green 7, cyan 42; nothing else.
    local colours
    colours=$(convert "$base" -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' \
        | LC_ALL=C sort | tr '\n' ' ')
    [ "$colours" = "#000000 #00FF00 #00FFFF #FF0000 #FFFF00 " ] \
        || fail "the icon's colours are $colours"

    local tool=${CORVALLO_ICON_TOOL:?CORVALLO_ICON_TOOL names the icon writer} factor
    for factor in 0 17 -1 2x ''; do
        if "$tool" "$factor" "$work/bad.png" 2>/dev/null; then
            fail "the icon writer accepted the factor '$factor'"
        fi
    done
    [ ! -e "$work/bad.png" ] || fail "the icon writer wrote a file for a refused factor"
    if "$tool" 2 "$work/missing/icon.png" 2>/dev/null; then
        fail "the icon writer reported success for a file it could not write"
    fi
}

check_manual() {
    local page=$build_dir/packaging/corvallo.6.gz option
    [ -f "$page" ] || fail "no manual page was built"
    local warnings
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the manual page renders with warnings:"$'\n'"$warnings"
    MANWIDTH=80 man -l "$page" 2>/dev/null >"$work/page.txt"
    # Every option the program's own help offers is described, and the page names the version
    # the program reports.
    for option in $("$program" --help | grep -oE -- '--[a-z-]+' | sort -u); do
        grep -qF -- "$option" "$work/page.txt" || fail "the manual page does not describe $option"
    done
    local version
    version=$("$program" --version | sed -n 's/^corvallo \([^ ]*\).*/\1/p')
    [ -n "$version" ] || fail "the program reports no version"
    tail -n 1 "$work/page.txt" | grep -qF "Corvallo $version" \
        || fail "the manual page is not for version $version"
}

check_install() {
    cmake --install "$build_dir" --prefix "$work/stage/usr" >"$work/install.log" 2>&1 \
        || fail "the install failed:"$'\n'"$(cat "$work/install.log")"
    (cd "$work/stage/usr" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$work/installed"
    diff -u <(expected_files) "$work/installed" \
        || fail "the install holds other files than expected"

    local entry=$work/stage/usr/share/applications/corvallo.desktop
    silent desktop-file-validate "$entry"
    local exec icon
    exec=$(desktop_key "$entry" Exec)
    [ -x "$work/stage/usr/bin/${exec%% *}" ] || fail "Exec=$exec names no installed program"
    icon=$(desktop_key "$entry" Icon)
    [ -f "$work/stage/usr/share/icons/hicolor/32x32/apps/$icon.png" ] \
        || fail "Icon=$icon names no installed icon"
    # The installed tree as a software centre sees it: metainfo, its launchable, the icons.
    local issues
    issues=$(appstream_tree_faults "$work/stage")
    [ -z "$issues" ] || fail "the installed tree has AppStream errors or warnings:"$'\n'"$issues"
}

# The package's command-line test on this build, as installed under the versions that Debian and
# its derivatives give the package: it accepts each version that begins with the program's and
# refuses one that names another.
check_versions() {
    local version expected format package_version status
    version=$("$program" --version | sed -n 's/^corvallo \([^ ]*\).*/\1/p')
    mkdir -p "$work/bin"
    printf '#!/bin/sh\necho "$CORVALLO_PACKAGE_VERSION"\n' >"$work/bin/dpkg-query"
    chmod +x "$work/bin/dpkg-query"
    while read -r expected format; do
        # shellcheck disable=SC2059
        package_version=$(printf "$format" "$version")
        status=0
        CORVALLO_BIN=$program CORVALLO_PACKAGE_VERSION=$package_version PATH="$work/bin:$PATH" \
            sh "$source_dir/debian/tests/command-line" >"$work/command-line.log" 2>&1 || status=$?
        case $expected:$status in
        accepted:0) ;;
        refused:1) grep -qF "but the package is version $package_version" "$work/command-line.log" \
            || fail "package $package_version: refused, but not for its version:"$'\n'"$(cat "$work/command-line.log")" ;;
        *) fail "package $package_version: the command-line test gave $status, expected $expected:"$'\n'"$(cat "$work/command-line.log")" ;;
        esac
    done <<'VERSIONS'
accepted %s
accepted %s-1
accepted 1:%s-2+b1
accepted %s+deb12u1
accepted %s~bpo12+1
accepted %s+nmu1
accepted %s~deb12u1
accepted %subuntu1
accepted %s-0ubuntu1
refused %s0
refused %s.1
refused 1%s
refused 0.9-1
VERSIONS
}

# expect_mirror WHAT SUITE FILE EXPECTED: where apt's sources are FILE alone (a .sources or .list
# file, read from standard input), the main archive found for SUITE is EXPECTED ('' for none).
expect_mirror() {
    local found
    rm -rf "$work/apt"
    mkdir -p "$work/apt/parts" "$work/apt/lists/partial"
    cat >"$work/apt/parts/$3"
    : >"$work/apt/sources.list"
    printf 'Dir::Etc::sourcelist "%s";\nDir::Etc::sourceparts "%s";\nDir::State::lists "%s";\n' \
        "$work/apt/sources.list" "$work/apt/parts" "$work/apt/lists" >"$work/apt/apt.conf"
    found=$(APT_CONFIG=$work/apt/apt.conf debian_mirror "$2" 2>/dev/null) || found=
    [ "$found" = "$4" ] || fail "$1: found '$found', expected '$4'"
}

# The release's main archive, as the clean roots are made from it: whichever entry of apt's
# sources comes first, a security, updates or third-party archive, or a disabled one, is not it.
check_mirror() {
    local suite archive=http://archive.example/debian/
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$suite" ] || skip "this release has no code name to find its archive by"
    expect_mirror "security archive first" "$suite" debian.sources $archive <<EOF
Types: deb
URIs: http://security.example/debian-security
Suites: $suite-security
Components: main

Types: deb
URIs: $archive
Suites: $suite $suite-updates
Components: main contrib
EOF
    expect_mirror "source, third-party and disabled archives first" "$suite" more.sources $archive <<EOF
Types: deb-src
URIs: http://sources.example/debian
Suites: $suite
Components: main

Types: deb
URIs: http://third-party.example/apt
Suites: $suite
Components: stable

Types: deb
URIs: http://disabled.example/debian
Suites: $suite
Components: main
Enabled: no

Types: deb
URIs: $archive
Suites: $suite
Components: main
EOF
    expect_mirror "one-line sources" "$suite" debian.list $archive <<EOF
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://security.example/debian-security $suite-security main
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $archive $suite main
EOF
    expect_mirror "a suite apt has no entry for: this release's archive" another-suite debian.list $archive <<EOF
deb $archive $suite main
EOF
    expect_mirror "only a security archive" "$suite" debian.list '' <<EOF
deb http://security.example/debian-security $suite-security main
EOF
}

# Skips the test, saying why: the surroundings lack what it needs.
skip() {
    echo "skipped: $*"
    exit 77
}

# Hardening as dpkg-buildflags asks for it, read from the ELF file as hardening-check reads it.
check_hardening() {
    local binary=$1 headers dynamic symbols
    headers=$(readelf -W --file-header --program-headers "$binary")
    dynamic=$(readelf -W --dynamic "$binary")
    symbols=$(readelf -W --dyn-syms "$binary")
    grep -q 'Type: *DYN' <<<"$headers" || fail "$binary is not position independent"
    grep -q 'GNU_RELRO' <<<"$headers" || fail "$binary has no read-only relocations"
    grep -qE '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' <<<"$dynamic" \
        || fail "$binary is not bound immediately"
    grep -qE ' __stack_chk_fail(@|$)' <<<"$symbols" || fail "$binary has no stack protector"
    grep -qE ' __[a-z]+_chk(@|$)' <<<"$symbols" || fail "$binary is not fortified"
}

# Builds the source and binary package from a clean copy of the tree, as a packager builds them,
# the suite left out: the suite runs on its own, and no test may build the package from inside
# its own build. It is built once, into the build directory's debian-package folder, where the
# checks of the package read it; where the tools or the build dependencies are missing, the build
# skips and leaves the reason there, which those checks give as theirs.
packages=$build_dir/debian-package
check_build() {
    rm -rf "$packages"
    mkdir -p "$packages"
    # Skips as every check does, leaving the reason for the checks that read the package.
    skip_build() {
        echo "$*" >"$packages/skipped"
        skip "$*"
    }
    local tool
    for tool in dpkg-buildpackage dh dpkg-checkbuilddeps readelf; do
        command -v "$tool" >/dev/null || skip_build "$tool is not installed (dpkg-dev, debhelper, binutils)"
    done
    local tree=$packages/corvallo missing
    tree_copy "$source_dir" "$tree"
    [ -f "$tree/debian/control" ] || fail "the source tree has no debian/control"
    missing=$(cd "$tree" && dpkg-checkbuilddeps -Pnocheck 2>&1) \
        || skip_build "the build dependencies are not installed: $missing"
    # Debian's build servers build with the tests, and read alternatives as the first alone: where
    # the tests' build dependencies are installed, a build dependency that only a later alternative
    # satisfies here would stop them.
    missing=$(cd "$tree" && dpkg-checkbuilddeps 2>&1) \
        || skip_build "the tests' build dependencies are not installed: $missing"
    awk '/^[^ #]/ { field = $0 ~ /^Build-Depends(-Arch|-Indep)?:/ }
        field { gsub(/ *[|][^,]*/, "") } { print }' "$tree/debian/control" >"$packages/control.first"
    missing=$(cd "$tree" && dpkg-checkbuilddeps "$packages/control.first" 2>&1) \
        || fail "only a later alternative is installed, and a build server, which installs the first alone, would lack: $missing"
    (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" \
        dpkg-buildpackage -us -uc --build-profiles=nocheck) >"$packages/build.log" 2>&1 \
        || fail "dpkg-buildpackage failed:"$'\n'"$(tail -n 40 "$packages/build.log")"
    touch "$packages/built"
}

# The package that check_build built: sets tree, version, arch, deb and changes.
built_package() {
    [ ! -f "$packages/skipped" ] || skip "$(cat "$packages/skipped")"
    [ -f "$packages/built" ] || fail "the package was not built (package-build builds it)"
    tree=$packages/corvallo
    version=$("$program" --version | sed -n 's/^corvallo \([^ ]*\).*/\1/p')
    arch=$(dpkg --print-architecture)
    deb=$packages/corvallo_${version}_${arch}.deb
    changes=$packages/corvallo_${version}_${arch}.changes
    [ -f "$deb" ] || fail "no corvallo_${version}_${arch}.deb: $(ls "$packages")"
    [ -f "$changes" ] || fail "no corvallo_${version}_${arch}.changes: $(ls "$packages")"
}

check_deb() {
    local tree version arch deb changes
    built_package
    [ -f "$packages/corvallo_${version}.dsc" ] || fail "no source package: $(ls "$packages")"
    dpkg-deb -I "$deb" >/dev/null || fail "dpkg-deb cannot read the package"
    local depends wanted
    depends=$(dpkg-deb -f "$deb" Depends)
    for wanted in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
        # From Debian 13 on, Qt's libraries carry the 64-bit time suffix in their names.
        tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qxF -e "$wanted" -e "${wanted}t64" \
            || fail "Depends lacks $wanted: $depends"
    done

    dpkg-deb -c "$deb" >"$work/contents" || fail "dpkg-deb cannot list the package"
    # Its lintian override, where it ships one, is judged by lintian below: used, and needed.
    awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sed 's|^\./usr/||' \
        | grep -vx 'share/lintian/overrides/corvallo' | LC_ALL=C sort >"$work/packaged"
    diff -u <( (expected_files; printf '%s\n' share/doc/corvallo/changelog.gz \
        share/doc/corvallo/copyright) | LC_ALL=C sort) \
        "$work/packaged" \
        || fail "the package holds other files than expected"
    # Owned by root, and only the program executable.
    awk '$2 != "root/root" { bad = 1; print } END { exit bad }' "$work/contents" \
        || fail "files not owned by root"
    awk '$1 !~ /^d/ && $1 ~ /x/ && $6 != "./usr/bin/corvallo" { bad = 1; print } END { exit bad }' \
        "$work/contents" || fail "executable data files"
    grep -qE '^-rwxr-xr-x .* \./usr/bin/corvallo$' "$work/contents" \
        || fail "the program is not installed executable"

    # What apt will do with it: the package unpacks, and the program in it runs, hardened.
    dpkg-deb -x "$deb" "$work/unpacked"
    [ "$("$work/unpacked/usr/bin/corvallo" --version)" = "corvallo $version" ] \
        || fail "the packaged program does not run"
    check_hardening "$work/unpacked/usr/bin/corvallo"

    # As a software centre reads it from the package, the metainfo fails AppStream's validation
    # at most for the missing homepage, the one failure the package's lintian override is for.
    local issues
    issues=$(appstream_tree_faults "$work/unpacked")
    [ -z "$issues" ] || fail "the package's AppStream data has errors or warnings:"$'\n'"$issues"

    # Debian's own checker finds no error and no warning in the upload.
    command -v lintian >/dev/null || skip "lintian is missing: the package was built but not checked"
    lintian_verdict "$changes" "$work/lintian.log" || fail "the upload fails lintian's check"
}

# The package's own tests (debian/tests) on the built package, in a clean testbed of this release
# as the distribution's CI runs them: a minimal root, unpacked in a user namespace mapped to the
# user's subordinate ids, into which autopkgtest installs the package and each test's dependencies.
# The root is made once from the release's main archive and kept in the user's cache. Where no
# testbed can be had (no such user namespace, no archive in apt's sources or none reachable),
# the test is skipped. The tests named in CORVALLO_PLAYED_ON_THE_BUILD, which the suite plays on
# its own build, are left out of the testbed's run.
check_testbed() {
    command -v autopkgtest >/dev/null || skip "autopkgtest is not installed"
    command -v autopkgtest-virt-unshare >/dev/null || skip "autopkgtest has no unshare testbed"
    local suite release_id arch
    release_id=$(. /etc/os-release && echo "${ID:-}")
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    arch=$(dpkg --print-architecture)
    [ "$release_id" = debian ] && [ -n "$suite" ] || skip "not a Debian release with a code name"
    unshare --map-auto --map-root-user --user true 2>/dev/null \
        || skip "no user namespace mapped to $(id -un)'s subordinate ids (/etc/subuid, /etc/subgid, uidmap)"

    local tarball=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/testbed-$suite-$arch.tar why
    if ! why=$(debian_root_tarball "$tarball" "$suite" "$arch" 2>&1 >/dev/null); then
        case $why in
        *"no main archive"* | *"cannot reach"* | *"not installed"*) skip "no testbed: $why" ;;
        *) fail "no testbed: $why" ;;
        esac
    fi

    local tree version arch deb changes
    built_package
    local status=0
    # The kept root's package lists grow old: they are fetched anew before the tests' dependencies
    # are installed. Those packages land in a folder of the user's cache that every testbed shares
    # (each test starts from a clean one): apt checks each against the fresh lists, fetches only
    # what it lacks, and drops what the archive no longer has. They are fetched as the testbed's
    # root, which owns that folder.
    local archives=${tarball%.tar}-archives
    mkdir -p "$archives"
    local setup='echo "APT::Sandbox::User \"root\";" >/etc/apt/apt.conf.d/90shared-archives'
    setup="$setup && apt-get update && apt-get autoclean"
    autopkgtest --output-dir "$work/autopkgtest" --setup-commands="$setup" "$deb" "$tree/" \
        ${CORVALLO_PLAYED_ON_THE_BUILD:+--env="CORVALLO_PLAYED_ON_THE_BUILD=$CORVALLO_PLAYED_ON_THE_BUILD"} \
        -- unshare --release "$suite" --arch "$arch" --tarball "$tarball" \
        --bind "$archives" /var/cache/apt/archives >"$work/autopkgtest.log" 2>&1 \
        || status=$?
    # When each stage of each autopkgtest began, what each real-window test did, and the verdict of
    # each autopkgtest.
    grep -E '^(autopkgtest \[[0-9:]+\]: (test|testbed|@@@)|== |skipped: |[0-9]+ passed, )' \
        "$work/autopkgtest.log" || true
    cat "$work/autopkgtest/summary" 2>/dev/null || true
    # 16: the testbed could not be set up or could not install what the tests depend on.
    if [ "$status" = 16 ] && grep -qE 'Temporary failure|Could not resolve|Unable to fetch' \
        "$work/autopkgtest.log"; then
        skip "the testbed cannot reach the package archive"
    fi
    # 0 means that every test passed: 2 that one was skipped, 4 that one failed.
    [ "$status" = 0 ] || fail "autopkgtest gave status $status:"$'\n'"$(tail -n 60 "$work/autopkgtest.log")"
}

case ${1:-} in
desktop-entry) check_desktop_entry ;;
metainfo) check_metainfo ;;
icons) check_icons ;;
manual) check_manual ;;
install) check_install ;;
versions) check_versions ;;
mirror) check_mirror ;;
build) check_build ;;
deb) check_deb ;;
testbed) check_testbed ;;
*)
    echo "usage: $0 desktop-entry|metainfo|icons|manual|install|versions|mirror|build|deb|testbed" >&2
    exit 2
    ;;
esac
echo "PASS: $1"
