#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Packs the Windows program for schools and homes:
#   scripts/package-windows.sh [PROGRAM_FOLDER [OUTPUT_FOLDER]]
# writes corvallo-VERSION-windows-x64.zip (a folder that runs where it is unpacked) and
# corvallo-VERSION-x64.msi (Windows Installer, for all users) into OUTPUT_FOLDER (default
# build/windows-packages). PROGRAM_FOLDER holds corvallo.exe, with Qt linked in, or with the
# DLLs and plugins it needs; by default it is the Windows build's, built first where it is
# missing. CORVALLO_QT_WINDOWS names the Qt for Windows it was built with (default: the one
# scripts/build-qt-windows.sh keeps), whose source and options the licence notes give. The
# installer's version is the project's major and minor version and the program's build number,
# which its version resource carries: a build of a later commit upgrades an earlier one.
# CORVALLO_VERSION and CORVALLO_BUILD_NUMBER pack under another version or build than the
# program's own (for the installer test's later build only: the program would not say it).
# Every time in the zip and the installer is the last commit's (SOURCE_DATE_EPOCH), so two runs
# from the same commit give the same files, byte for byte.
set -euo pipefail
# Folders named on the command line are where the caller is.
program=${1:+$(realpath -m "$1")}
output=${2:+$(realpath -m "$2")}
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/windows.sh
source=$PWD

say() { printf '[package] %s\n' "$*"; }
fail() {
    echo "package-windows: $*" >&2
    exit 1
}

# The Windows build: its script, and the folder it leaves the program in.
windows_build=scripts/build-windows.sh
windows_program=build/windows/Corvallo

default_output=$(realpath -m build/windows-packages)
output=${output:-$default_output}

say "Packages: wixl and msitools, zip and advzip, the icon extractor, the MinGW-w64 tools and licences, faketime, pefile"
packages=(wixl msitools zip advancecomp icoutils qt6-base-dev binutils-mingw-w64-x86-64 mingw-w64-common gcc-mingw-w64-base git faketime
    python3 python3-pefile)
install_missing "${packages[@]}"

if [ -z "$program" ]; then
    program=$windows_program
    if [ ! -f "$program/corvallo.exe" ]; then
        say "No Windows program in $program: building it with $windows_build"
        [ -x "$windows_build" ] || fail "$windows_build is missing: name the program's folder"
        "$windows_build"
    fi
fi
program=$(realpath "$program")
[ -f "$program/corvallo.exe" ] || fail "$program holds no corvallo.exe"
# Qt's Windows platform, without which the program shows no window: linked into the program (its
# plugin's class name is then in it), or beside it as a DLL.
[ -f "$program/platforms/qwindows.dll" ] || grep -aqF QWindowsIntegrationPlugin "$program/corvallo.exe" \
    || fail "neither corvallo.exe nor $program/platforms holds Qt's Windows platform"

qt=${CORVALLO_QT_WINDOWS:-}
[ -n "$qt" ] || [ ! -x scripts/build-qt-windows.sh ] || qt=$(scripts/build-qt-windows.sh --print)
[ -n "$qt" ] && [ -s "$qt/configure-line.txt" ] \
    || fail "no Qt for Windows with its configure-line.txt: run scripts/build-qt-windows.sh or set CORVALLO_QT_WINDOWS"
qt_source=$(sed -n 's/.*(source: \(qt6-base [^;)]*\).*)$/\1/p' "$qt/configure-line.txt")
# Where Qt carries Corvallo's own changes, the line names them by a digest of packaging/qt-patches.
qt_changes=$(sed -n 's/.*(source: qt6-base [^;)]*; changes: \([0-9a-f]*\).*/\1/p' "$qt/configure-line.txt")
[ -n "$qt_source" ] || fail "$qt/configure-line.txt does not say which qt6-base it was built from"

version=${CORVALLO_VERSION:-$(project_version)}
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no project version in CMakeLists.txt"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$SOURCE_DATE_EPOCH" ] || fail "not a git clone: set SOURCE_DATE_EPOCH"
export TZ=UTC LC_ALL=C

name=corvallo-$version-windows-x64
# The folder is packed in a stage of its own, which goes with the script: only the zip and the
# installer are left.
mkdir -p "$output"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# Where earlier versions of this script left their stage.
[ "$output" != "$default_output" ] || rm -rf "$output/stage"
folder=$stage/$name
mkdir -p "$folder/LICENSES"

say "Gathering the program, and any DLL and plugin it needs, from $program"
# A DLL that the folder lacks: beside the program, then in Qt's and the MinGW runtime's folders.
find_dll() {
    local dir found
    for dir in "$program" "$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib; do
        found=$(find "$dir" -maxdepth 1 -iname "$1" -print -quit 2>/dev/null)
        [ -n "$found" ] && { echo "$found"; return 0; }
    done
    return 1
}
cp "$program/corvallo.exe" "$folder/"
while IFS= read -r plugin; do
    mkdir -p "$folder/$(dirname "$plugin")"
    cp "$program/$plugin" "$folder/$plugin"
done < <(cd "$program" && find . -mindepth 2 -iname '*.dll' | sed 's|^\./||' | sort)
# Until every DLL that the folder's files import is in the folder or Windows' own; a DLL found
# brings its own imports.
while :; do
    missing=$(missing_dlls "$folder") || fail "the DLLs that $folder needs could not be read"
    [ -n "$missing" ] || break
    while IFS= read -r dll; do
        found=$(find_dll "$dll") \
            || fail "$dll is needed, and is neither Windows' own nor found beside the program, in Qt for Windows or in the MinGW-w64 runtime"
        cp "$found" "$folder/"
    done <<<"$missing"
done
echo "          $(cd "$folder" && find . -iname '*.dll' | wc -l) DLLs shipped"
# strip writes the time of stripping into a Windows program's header, or SOURCE_DATE_EPOCH where
# it is set: stripping again (what was stripped stays as it was) gives every build the same
# header. A time that the linker wrote elsewhere, as into a DLL's export table, stays: a file
# linked with one is not packed.
find "$folder" \( -iname '*.exe' -o -iname '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
while IFS= read -r file; do
    stamp=$(x86_64-w64-mingw32-objdump -p "$folder/$file" | sed -n 's|^Time/Date stamp\s*||p')
    [ -z "$stamp" ] || [ "$stamp" = 0 ] \
        || fail "$file carries its link time ($stamp): link it again with --no-insert-timestamp (scripts/build-windows.sh does; for a Qt DLL, scripts/build-qt-windows.sh)"
done < <(cd "$folder" && find . \( -iname '*.exe' -o -iname '*.dll' \) -printf '%P\n' | sort)

say "Licences: the program's, Qt's with its source, the MinGW-w64 runtime's"
commit=$(git -C "$source" rev-parse --short=12 HEAD 2>/dev/null || true)
# A tree with changes not committed is not that commit's source.
[ -z "$commit" ] || [ -z "$(git -C "$source" status --porcelain --untracked-files=normal 2>/dev/null)" ] \
    || commit="$commit, with changes not committed"
cp LICENSES/GPL-3.0-or-later.txt "$folder/LICENSES/"
cp /usr/share/doc/qt6-base-dev/copyright "$folder/LICENSES/qt-and-its-third-party-code.txt"
cp /usr/share/common-licenses/LGPL-3 "$folder/LICENSES/LGPL-3.0-only.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$folder/LICENSES/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$folder/LICENSES/gcc-runtime.txt"
# The configure line's options, one a line (a value may hold blanks), less the ones naming folders
# of the machine that built it.
qt_options=$(awk '{ for (i = 1; i <= NF && $i != "(source:"; i++) if ($i ~ /^-D/) printf "%s%s", (n++ ? "\n" : ""), $i; else if (n) printf " %s", $i }' \
    "$qt/configure-line.txt" | grep -v -e '_PREFIX=' -e '_FILE=' -e '_PATH' | sed -E 's/^(-D[^=]+=)(.* .*)$/\1"\2"/' || true)
# Qt linked into the program, or shipped beside it as DLLs.
if [ -e "$folder/Qt6Core.dll" ]; then
    qt_shipped="Qt (Qt6*.dll and the plugins in the folders beside them) is used under
the GNU Lesser General Public License version 3: LGPL-3.0-only.txt, which
builds on the GPL (GPL-3.0-or-later.txt). These DLLs were built"
    qt_replaced="They are separate files: you may replace them with your own build of Qt,
or link Corvallo again:"
else
    qt_shipped="Qt is linked into corvallo.exe and used under the GNU Lesser General Public
License version 3: LGPL-3.0-only.txt, which builds on the GPL
(GPL-3.0-or-later.txt). It was built"
    qt_replaced="To run Corvallo with another Qt, changed or not, link it again:"
fi
if [ -n "$qt_changes" ]; then
    qt_changed="Corvallo's own changes to it are the files in packaging/qt-patches of
Corvallo's source, each saying what it changes and why, applied in their
names' order."
else
    qt_changed="Corvallo made no changes to it."
fi
cat >"$folder/LICENSES/README.txt" <<EOF
Corvallo $version for 64-bit Windows

Corvallo (corvallo.exe) is free software under the GNU General Public License,
version 3 or any later version: GPL-3.0-or-later.txt. Its source is the Corvallo
repository at version $version${commit:+ (commit $commit)}, and the source
package corvallo_$version.tar.xz that each release offers beside this file.

$qt_shipped from Debian's source package
$qt_source; on Debian, "apt-get source $(echo "$qt_source" | tr ' ' '=')" fetches that exact
source. $qt_changed It was configured for x86_64-w64-mingw32 with:
$(sed 's/^/    /' <<<"$qt_options")
Qt's own copyright notices, with those of the code it bundles (FreeType,
HarfBuzz, PCRE2, zlib, libpng and others) and their licences, are in
qt-and-its-third-party-code.txt.

$qt_replaced
the whole source of Corvallo is offered above, under the GPL. In that source,
scripts/build-windows.sh links corvallo.exe with the Qt for Windows that
CORVALLO_QT_WINDOWS names (your own build, static or as DLLs), or else with
the one scripts/build-qt-windows.sh builds from Debian's source with the
options above. docs/windows.md says how, step by step.

The C and C++ runtime of the MinGW-w64 compiler is part of the program:
mingw-w64-runtime.txt and gcc-runtime.txt (the GCC Runtime Library
Exception) give their licences.
EOF

say "The icon, as corvallo.exe carries it"
icon=$stage/corvallo.ico
wrestool -x -t 14 "$folder/corvallo.exe" >"$icon" 2>/dev/null || true
[ -s "$icon" ] || fail "corvallo.exe carries no icon"

# The same modes and times whatever the umask and the clock.
chmod -R u=rwX,go=rX "$folder"
find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

zip_file=$output/$name.zip
say "Zip: $zip_file"
rm -f "$zip_file"
(cd "$stage" && find "$name" -type f | sort | zip -q -X -D -9 "$zip_file" -@)
# Deflated again, harder (7-Zip's Deflate): still Deflate, which Windows' own unzip reads, 4 %
# smaller.
advzip -q -z -3 "$zip_file" || fail "advzip could not recompress $zip_file"

# Every file of the folder is one component; wixl derives its GUID from the file's place, so
# a file keeps its GUID from build to build and version to version.
wix_id() {
    local id=${1//[^A-Za-z0-9_.]/_}
    [ ${#id} -le 60 ] || id=h$(printf '%s' "$1" | sha1sum | cut -c1-40)
    [[ $id =~ ^[A-Za-z_] ]] || id=_$id
    echo "${2:-}$id"
}
xml_text() {
    sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"
}
components=()
write_folder() { # RELATIVE_FOLDER INDENT
    local rel=$1 indent=$2 entry path id
    while IFS= read -r entry; do
        path=${rel:+$rel/}$entry
        id=$(wix_id "$path")
        components+=("c_$id")
        printf '%s\t%s\n' "$id" "$path" >>"$file_ids"
        printf '%s<Component Id="%s" Guid="*" Win64="yes">\n' "$indent" "c_$id"
        printf '%s  <File Id="%s" Name="%s" Source="$(var.SourceDir)/%s" KeyPath="yes"/>\n' \
            "$indent" "$id" "$(xml_text "$entry")" "$(xml_text "$path")"
        printf '%s</Component>\n' "$indent"
    done < <(cd "$folder/$rel" && find . -mindepth 1 -maxdepth 1 -type f | sed 's|^\./||' | sort)
    while IFS= read -r entry; do
        path=${rel:+$rel/}$entry
        printf '%s<Directory Id="%s" Name="%s">\n' "$indent" "$(wix_id "$path" d_)" "$(xml_text "$entry")"
        write_folder "$path" "$indent  "
        printf '%s</Directory>\n' "$indent"
    done < <(cd "$folder/$rel" && find . -mindepth 1 -maxdepth 1 -type d | sed 's|^\./||' | sort)
}
files_wxs=$stage/files.wxs
file_ids=$stage/file-ids
: >"$file_ids"
{
    printf '<?xml version="1.0" encoding="utf-8"?>\n'
    printf '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">\n  <Fragment>\n'
    printf '    <DirectoryRef Id="INSTALLDIR">\n'
    write_folder "" "      "
    printf '    </DirectoryRef>\n    <ComponentGroup Id="ProgramFiles">\n'
    printf '      <ComponentRef Id="%s"/>\n' "${components[@]}"
    printf '    </ComponentGroup>\n  </Fragment>\n</Wix>\n'
} >"$files_wxs"
# IDs made from paths must not meet.
duplicate=$(printf '%s\n' "${components[@]}" | sort | uniq -d | head -n 1)
[ -z "$duplicate" ] || fail "two files make the same installer ID $duplicate"

# A name-based GUID (RFC 4122 version 5) in the namespace of the upgrade code, which the package's
# source names.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9A-F-]\{36\}\)".*/\1/p' packaging/windows/corvallo.wxs)
[ -n "$upgrade_code" ] || fail "packaging/windows/corvallo.wxs names no upgrade code"
uuid5() {
    local hex
    hex=$({
        printf "$(tr -d - <<<"$upgrade_code" | sed 's/../\\x&/g')"
        printf '%s' "$1"
    } | sha1sum | cut -c1-32)
    printf '%s-%s-5%s-%x%s-%s\n' "${hex:0:8}" "${hex:8:4}" "${hex:13:3}" \
        $(((16#${hex:16:1} & 3) | 8)) "${hex:17:3}" "${hex:20:12}" | tr a-f A-F
}
# The installer's version: Windows Installer compares the first three numbers only, so the third
# is the build number, which grows with every commit; the program's version resource has it as
# its fourth. wixl leaves every file's version empty, so Windows Installer would take each program
# and DLL for an unversioned file, which a repair compares by date and hash and passes over when
# changed: each gets the version and languages of its version resource (below).
versions=$(/usr/bin/python3 scripts/lib/pe-versions.py "$folder") \
    || fail "could not read the version resources of the files in $folder"
program_version=$(awk -F'\t' '$1 == "corvallo.exe" { print $2 }' <<<"$versions")
[[ $program_version =~ ^([0-9]+\.[0-9]+\.[0-9]+)\.([0-9]+)$ ]] \
    || fail "corvallo.exe carries no version resource of four numbers"
[ -n "${CORVALLO_VERSION:-}" ] || [ "${BASH_REMATCH[1]}" = "$version" ] \
    || fail "corvallo.exe is version ${BASH_REMATCH[1]}, the project $version: build it again"
build=${CORVALLO_BUILD_NUMBER:-${BASH_REMATCH[2]}}
[[ $build =~ ^[0-9]+$ ]] && [ "$build" -le 65535 ] || fail "no build number of 0 to 65535: $build"
# Without one, every build would be the same version, and none would replace another.
[ "$build" -gt 0 ] || fail "corvallo.exe has no build number (built outside a clone, or from a \
shallow one): build it from a full clone, or configure it with -DCORVALLO_BUILD_NUMBER=N"
msi_version=${version%.*}.$build
say "Installer version $msi_version (version $version, build $build)"
# The product code names the installer's version: installing a package of that version again finds
# it installed, and a package of another version is another product of the same upgrade code,
# which replaces an earlier one and is refused by a later one. The package code names the exact
# contents and the way they are packed.
contents=$(cat "$zip_file" "$files_wxs" packaging/windows/corvallo.wxs "$icon" scripts/package-windows.sh \
    scripts/lib/windows.sh scripts/lib/pe-versions.py | sha256sum | cut -c1-64)
product_code=$(uuid5 "Corvallo product $msi_version")
package_code=$(uuid5 "Corvallo $msi_version package $contents")

msi_file=$output/corvallo-$version-x64.msi
say "Installer: $msi_file"
rm -f "$msi_file"
# wixl finds sources only by relative paths. It and msibuild write the time of writing into the
# summary; a clock stopped at the last commit (-f: it does not run on from there) makes that the
# same in every build.
clock=(faketime -f "$(date -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')")
(cd "$stage" && "${clock[@]}" wixl -a x64 -o "$msi_file" \
    -D Version="$msi_version" -D ProductCode="$product_code" -D IconFile=corvallo.ico -D SourceDir="$name" \
    -D SizeKiB="$(size_kib "$folder")" \
    "$source/packaging/windows/corvallo.wxs" files.wxs)
queries=()
while IFS=$'\t' read -r path file_version languages; do
    id=$(awk -F'\t' -v path="$path" '$2 == path { print $1 }' "$file_ids")
    [ -n "$id" ] || fail "$path is not in the installer's file list"
    queries+=(-q "UPDATE \`File\` SET \`Version\` = '$file_version', \`Language\` = '$languages' WHERE \`File\` = '$id'"
        -q "DELETE FROM \`MsiFileHash\` WHERE \`File_\` = '$id'")
done <<<"$versions"
[ ${#queries[@]} -gt 0 ] || fail "no program or DLL in $folder carries a version resource"
"${clock[@]}" msibuild "$msi_file" "${queries[@]}"
# wixl draws a random package code; this one is the contents'.
"${clock[@]}" msibuild "$msi_file" -s "Corvallo $version (build $build)" "The Corvallo developers" "x64;1033" "{$package_code}"

say "Done: $(du -k "$zip_file" | cut -f1) KiB zip, $(du -k "$msi_file" | cut -f1) KiB installer, $(printf '%s\n' "${components[@]}" | wc -l) files"
