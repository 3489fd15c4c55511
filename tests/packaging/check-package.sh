#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks what the program installs on a desktop and what its Debian package holds.
# Usage: check-package.sh desktop-entry|metainfo|icons|manual|install|deb|testbed
# Needs CORVALLO_SOURCE and CORVALLO_BUILD (a built build directory), CORVALLO_ICON_TOOL and
# CORVALLO_APP_ID; desktop-file-utils, appstream, man-db and ImageMagick. deb builds the Debian
# package from a copy of the source tree: it needs dpkg-dev, debhelper and the build
# dependencies, and lintian to check the result; without them it is skipped. testbed runs the
# package's own tests on that package in a clean testbed (autopkgtest, uidmap, debootstrap).
set -euo pipefail

source_dir=${CORVALLO_SOURCE:?CORVALLO_SOURCE names the source directory}
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

check_metainfo() {
    local issues
    issues=$(appstream_issues validate --pedantic --no-net "$source_dir/packaging/$app_id.metainfo.xml")
    [ -z "$issues" ] || fail "the metainfo has errors, warnings or notes:"$'\n'"$issues"
    # Its newest release is the program's version.
    local version
    version=$("$program" --version | sed -n 's/^corvallo //p')
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
    version=$("$program" --version | sed -n 's/^corvallo //p')
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
    issues=$(appstream_issues validate-tree --no-net "$work/stage")
    issues=$(grep -E '^ *[EW]:' <<<"$issues" || true)
    [ -z "$issues" ] || fail "the installed tree has AppStream errors or warnings:"$'\n'"$issues"
}

# Skips the test, saying why: the surroundings lack what it needs.
skip() {
    echo "skipped: $*"
    exit 77
}

# A copy of the source tree as a clean clone holds it: what git tracks or would track, without
# build folders and without the package build's own leftovers.
copy_tree() {
    local to=$1
    mkdir -p "$to"
    if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        local file
        while IFS= read -r -d '' file; do
            if [ -e "$source_dir/$file" ]; then printf '%s\0' "$file"; fi
        done < <(git -C "$source_dir" ls-files -z --cached --others --exclude-standard) \
            | tar -C "$source_dir" --null -T - -cf - | tar -C "$to" -xf -
    else
        tar -C "$source_dir" --exclude-vcs --exclude='./build*' --exclude='./obj-*' \
            --exclude=./debian/.debhelper --exclude=./debian/corvallo -cf - . | tar -C "$to" -xf -
    fi
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
# its own build. Sets tree, version, arch, deb and changes; skips where the tools or the build
# dependencies are missing.
build_package() {
    local tool
    for tool in dpkg-buildpackage dh dpkg-checkbuilddeps readelf; do
        command -v "$tool" >/dev/null || skip "$tool is not installed (dpkg-dev, debhelper, binutils)"
    done
    tree=$work/build/corvallo
    copy_tree "$tree"
    [ -f "$tree/debian/control" ] || fail "the source tree has no debian/control"
    local missing
    missing=$(cd "$tree" && dpkg-checkbuilddeps -Pnocheck 2>&1) \
        || skip "the build dependencies are not installed: $missing"
    (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" \
        dpkg-buildpackage -us -uc --build-profiles=nocheck) >"$work/build.log" 2>&1 \
        || fail "dpkg-buildpackage failed:"$'\n'"$(tail -n 40 "$work/build.log")"
    version=$("$program" --version | sed -n 's/^corvallo //p')
    arch=$(dpkg --print-architecture)
    deb=$work/build/corvallo_${version}_${arch}.deb
    changes=$work/build/corvallo_${version}_${arch}.changes
    [ -f "$deb" ] || fail "no corvallo_${version}_${arch}.deb: $(ls "$work/build")"
    [ -f "$changes" ] || fail "no corvallo_${version}_${arch}.changes: $(ls "$work/build")"
}

check_deb() {
    local tree version arch deb changes
    build_package
    [ -f "$work/build/corvallo_${version}.dsc" ] || fail "no source package: $(ls "$work/build")"
    grep -qF "corvallo ($version)" "$tree/debian/changelog" \
        || fail "debian/changelog does not name version $version"

    dpkg-deb -I "$deb" >"$work/info" || fail "dpkg-deb cannot read the package"
    [ "$(dpkg-deb -f "$deb" Package)" = corvallo ] || fail "wrong package name"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong package version"
    [ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "wrong architecture"
    [ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "wrong section"
    local depends wanted
    depends=$(dpkg-deb -f "$deb" Depends)
    for wanted in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
        # From Debian 13 on, Qt's libraries carry the 64-bit time suffix in their names.
        tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qxF -e "$wanted" -e "${wanted}t64" \
            || fail "Depends lacks $wanted: $depends"
    done
    # Qt then runs natively on Wayland desktops, where the keypad works as under X11, and the
    # labels are drawn in the design's font. apt installs both with the program where the release
    # has them; without Tahoma the program draws in a sans-serif font, which Qt's font library
    # always brings.
    [ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland, fonts-wine" ] \
        || fail "Recommends is '$(dpkg-deb -f "$deb" Recommends)', expected qt6-wayland, fonts-wine"

    dpkg-deb -c "$deb" >"$work/contents" || fail "dpkg-deb cannot list the package"
    awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sed 's|^\./usr/||' | LC_ALL=C sort \
        >"$work/packaged"
    local override=
    if dpkg --compare-versions "$(dpkg-query -W -f '${Version}' appstream 2>/dev/null)" ge 1.0; then
        override=share/lintian/overrides/corvallo
    fi
    diff -u <( (expected_files; printf '%s\n' share/doc/corvallo/changelog.gz \
        share/doc/corvallo/copyright $override) | LC_ALL=C sort) \
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

    # Debian's own checker finds no error and no warning in the upload.
    command -v lintian >/dev/null || skip "lintian is missing: the package was built but not checked"
    local status=0
    lintian --pedantic --info "$changes" >"$work/lintian.log" 2>&1 || status=$?
    ! grep -E '^Skipping |^No packages selected' "$work/lintian.log" || fail "lintian checked nothing"
    if grep -E '^[EW]:' "$work/lintian.log"; then
        fail "lintian reports errors or warnings"
    fi
    # 2 means an error tag, reported above; 1 means lintian itself failed.
    [ "$status" = 0 ] || fail "lintian gave status $status:"$'\n'"$(tail -n 20 "$work/lintian.log")"
    echo "lintian: $(grep -cE '^[IP]:' "$work/lintian.log" || true) info and pedantic tags"
}

# The package's own tests (debian/tests) on the built package, in a clean testbed of this release
# as the distribution's CI runs them: a minimal root, unpacked in a user namespace, into which
# autopkgtest installs the package and each test's dependencies. The root is made once with
# debootstrap and kept in the user's cache. Where no testbed can be had (no user namespace, no
# subordinate ids, no root to make it, no network), the test is skipped.
check_testbed() {
    command -v autopkgtest >/dev/null || skip "autopkgtest is not installed"
    command -v autopkgtest-virt-unshare >/dev/null || skip "autopkgtest has no unshare testbed"
    local suite release_id
    release_id=$(. /etc/os-release && echo "${ID:-}")
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ "$release_id" = debian ] && [ -n "$suite" ] || skip "not a Debian release with a code name"
    grep -q "^$(id -un):" /etc/subuid 2>/dev/null && grep -q "^$(id -un):" /etc/subgid 2>/dev/null \
        || skip "$(id -un) has no subordinate ids in /etc/subuid and /etc/subgid"
    unshare --user --map-root-user true 2>/dev/null || skip "no user namespace can be made here"

    local cache=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo
    local tarball=$cache/testbed-$suite-$(dpkg --print-architecture).tar
    if [ ! -s "$tarball" ]; then
        [ "$(id -u)" = 0 ] || skip "no testbed at $tarball, and only root can make one"
        command -v debootstrap >/dev/null || skip "no testbed at $tarball, and debootstrap is missing"
        local mirror
        mirror=$(grep -h '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{ print $2; exit }' || true)
        [ -n "$mirror" ] || mirror=$(grep -h '^deb ' /etc/apt/sources.list 2>/dev/null \
            | awk '{ for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' || true)
        [ -n "$mirror" ] || skip "no Debian mirror in the apt sources to make a testbed from"
        mkdir -p "$cache"
        debootstrap --variant=minbase "$suite" "$work/root" "$mirror" >"$work/debootstrap.log" 2>&1 \
            || skip "debootstrap $suite failed (no network?): $(tail -n 3 "$work/debootstrap.log")"
        tar -C "$work/root" -cf "$tarball.new" . && mv "$tarball.new" "$tarball"
        rm -rf "$work/root"
    fi

    local tree version arch deb changes
    build_package
    local status=0
    autopkgtest --output-dir "$work/autopkgtest" "$deb" "$tree/" \
        -- unshare --release "$suite" --tarball "$tarball" >"$work/autopkgtest.log" 2>&1 || status=$?
    # What each real-window test did, and the verdict of each autopkgtest.
    grep -E '^(== |skipped: |SKIP: |[0-9]+ passed, )' "$work/autopkgtest.log" || true
    cat "$work/autopkgtest/summary" 2>/dev/null || true
    # 16: the testbed could not be set up or could not install what the tests depend on.
    if [ "$status" = 16 ] && grep -qE 'Temporary failure|Could not resolve|Unable to fetch' \
        "$work/autopkgtest.log"; then
        skip "the testbed cannot reach the package archive"
    fi
    [ "$status" = 0 ] || fail "autopkgtest gave status $status:"$'\n'"$(tail -n 60 "$work/autopkgtest.log")"
    # Every autopkgtest passed. The real-window scripts one of them skipped are named above.
    ! grep -vE '^[^ ]+ +PASS' "$work/autopkgtest/summary" || fail "not every test passed"
}

case ${1:-} in
desktop-entry) check_desktop_entry ;;
metainfo) check_metainfo ;;
icons) check_icons ;;
manual) check_manual ;;
install) check_install ;;
deb) check_deb ;;
testbed) check_testbed ;;
*)
    echo "usage: $0 desktop-entry|metainfo|icons|manual|install|deb|testbed" >&2
    exit 2
    ;;
esac
echo "PASS: $1"
