#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows packages under Wine, as a school's IT and a parent would use them:
#   tests/windows/installer.sh PROGRAM_FOLDER
# packs the Windows program of PROGRAM_FOLDER twice with scripts/package-windows.sh, once more
# rebuilt at another time and once as a later build, checks the installer's tables against the
# rules of Windows Installer's validation, then in a Wine prefix of its own installs the MSI
# silently, starts the installed program, repairs it, tries the rebuilt package over it,
# upgrades to the later build and refuses the earlier one over that, uninstalls, and starts the
# program from the zip unpacked into a folder with a blank and an accented letter in its name.
# Every program runs on what its folder holds, with no Qt of the build's. Each case says ok, FAIL or skipped, and
# the last line counts them. Skipped (77) where Wine, wixl, zip or the X tools are missing.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source_dir=$(realpath "$here/../..")
program=$(realpath "${1:?usage: tests/windows/installer.sh PROGRAM_FOLDER}")
source "$source_dir/scripts/lib/windows.sh"

for tool in wine wineserver wineboot winepath wixl msiinfo msibuild msidiff zip unzip wrestool strings \
    faketime x86_64-w64-mingw32-objdump python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
[ -f "$program/corvallo.exe" ] || { echo "FAIL: $program holds no corvallo.exe" >&2; exit 1; }

# The X server, the program's start and the checks of the menu are the real-window tests' own;
# the program to start is set for each case (corvallo_bin). CORVALLO_EXIT_ALLOWANCE gives the
# seconds Wine takes to end a process after its window closed (about 2 for a bare Qt window).
export CORVALLO_BIN=corvallo.exe CORVALLO_EXIT_ALLOWANCE=${CORVALLO_EXIT_ALLOWANCE:-3} CORVALLO_FOLDER_ONLY=1
source "$source_dir/tests/window/xvfb-session.sh"
# No dialog offers Mono or Gecko, and Wine's menu builder writes no shortcut into the desktop's
# menus outside the prefix.
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

passed=0 failed=0 skipped=0
# run_case NAME FUNCTION: one case in a subshell of its own, so that its fail ends only the case.
run_case() {
    local status=0
    set +e
    (
        set -e
        "$2"
    )
    status=$?
    set -e
    case $status in
    0) passed=$((passed + 1)) && echo "ok: $1" ;;
    77) skipped=$((skipped + 1)) && echo "skipped: $1" ;;
    *)
        failed=$((failed + 1)) && echo "FAIL: $1"
        # What a failed case left running must not answer for the next.
        wineserver -k 2>/dev/null || true
        ;;
    esac
}

# Outside a clone the packing takes its times from here.
git -C "$source_dir" rev-parse >/dev/null 2>&1 || export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-0}
version=$(project_version)
pack() { # OUTPUT [BUILD]
    CORVALLO_BUILD_NUMBER=${2:-} "$source_dir/scripts/package-windows.sh" "$program" "$1" >"$1.log" 2>&1 \
        || { cat "$1.log" >&2; fail "packing into $1"; }
}
# The Qt that the packing takes, found while HOME is still the user's.
qt=${CORVALLO_QT_WINDOWS:-$("$source_dir/scripts/build-qt-windows.sh" --print)}
pack "$work/first"
pack "$work/second"
# The program's build number, as its version resource carries it (the installed program's
# --version must say the same); the packing has installed what reads it.
build=$(/usr/bin/python3 "$source_dir/scripts/lib/pe-versions.py" "$program" \
    | awk -F'\t' '$1 == "corvallo.exe" { n = split($2, part, "."); print part[n] }')
[[ $build =~ ^[1-9][0-9]*$ ]] || fail "corvallo.exe carries no build number in its version resource"
later=$((build + 1))
pack "$work/later" "$later"
# The same version packed again a day later, as a fix in the packing or a rebuilt Qt would be.
SOURCE_DATE_EPOCH=$((${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct)} + 86400)) \
    pack "$work/rebuilt"
rebuilt_msi=$work/rebuilt/corvallo-$version-x64.msi
msi=$work/first/corvallo-$version-x64.msi
later_msi=$work/later/corvallo-$version-x64.msi
# The installer's version: the version's major and minor, and the build.
msi_version=${version%.*}.$build
later_version=${version%.*}.$later
zip_file=$work/first/corvallo-$version-windows-x64.zip
# unpacked OUTPUT: the folder that OUTPUT's zip holds, unpacked into OUTPUT/unpacked once.
unpacked() {
    [ -d "$1/unpacked" ] || unzip -q "$1/corvallo-$version-windows-x64.zip" -d "$1/unpacked"
    echo "$1/unpacked/corvallo-$version-windows-x64"
}
folder=$(unpacked "$work/first")

echo "zip: $(stat -c %s "$zip_file") bytes; MSI: $(stat -c %s "$msi") bytes"
echo "Making a Wine prefix"
# Wine makes the desktop's menu and file-type folders under the home folder: the test's own.
export HOME=$work/home
mkdir -p "$HOME"
wineboot --init >/dev/null 2>&1
start_x

installed=$WINEPREFIX/drive_c/Program\ Files/Corvallo
# msiexec ARGUMENT...: Windows Installer's status, its verbose log in $work/msi.log, the seconds
# it took in $took. (A process's status on Linux is Windows' modulo 256.)
msiexec() {
    local start=$EPOCHREALTIME status=0
    wine msiexec "$@" /l*v "$(winepath -w "$work/msi.log")" || status=$?
    took=$(awk -v from="$start" -v to="$EPOCHREALTIME" 'BEGIN { printf "%.1f", to - from }')
    return "$status"
}
reg_value() { # KEY NAME: the value's data, empty where it is missing
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
product_code() { # MSI
    msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'
}
# The form in which Windows Installer keys its registry entries: the first three groups of the
# code written backwards, and each pair of hexadecimal digits of the last two swapped.
packed() {
    tr -d '{}' <<<"$1" | awk -F- '{ r = ""; for (i = 1; i <= 3; i++) for (j = length($i); j > 0; j--) r = r substr($i, j, 1)
        g = $4 $5; for (j = 1; j < length(g); j += 2) r = r substr(g, j + 1, 1) substr(g, j, 1); print r }'
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Names of the Add/Remove Programs entries that say Corvallo.
arp_entries() {
    wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName *REG_SZ *Corvallo$' || true
}
# The Start menu's program folder where Windows Installer put the shortcut. Wine resolves it to
# the user's menu even for a package for all users; Windows, to the menu of all users.
start_menu() {
    local folder
    folder=$(sed -n 's/^Property(S): ProgramMenuFolder = //p' "$work/msi.log" | tr -d '\r' | tail -n 1)
    [ -n "$folder" ] || fail "the install log names no ProgramMenuFolder"
    winepath -u "$folder"
}

silent_install() {
    msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i /qn gave $?"
    echo "   installed in $took s"
    start_menu >"$work/start-menu"
    # The one per-user value, in the installing user's hive.
    [ -n "$(reg_value 'HKCU\Software\Corvallo' StartMenuShortcut)" ] \
        || fail "no HKCU\\Software\\Corvallo\\StartMenuShortcut for the installing user"
}

# Every file of the packed folder is in Program Files, the same, and nothing else is.
expect_installed_files() {
    local from=$1 file count=0
    while IFS= read -r file; do
        cmp -s "$from/$file" "$installed/$file" || fail "$file is not installed as packed"
        count=$((count + 1))
    done < <(cd "$from" && find . -type f | sort)
    [ "$(find "$installed" -type f | wc -l)" = "$count" ] || fail "Program Files holds other files than the package's"
    echo "   $count files, the same as packed"
}
installed_files() { expect_installed_files "$folder"; }

shortcut() {
    local link texts
    link="$(cat "$work/start-menu")/Corvallo.lnk"
    [ -f "$link" ] || fail "no shortcut $link"
    # A shortcut holds its target as Windows text (UTF-16) or in the local code page.
    texts=$(strings -a "$link"; strings -a -el "$link")
    grep -qixF 'C:\Program Files\Corvallo\corvallo.exe' <<<"$texts" \
        || fail "the shortcut does not start C:\\Program Files\\Corvallo\\corvallo.exe"
    echo "   ${link#"$WINEPREFIX/"}"
}

# What a deployment tool's detection rule reads: the upgrade code, the same for every build, leads
# to the installed build's product code, and to it alone; and that code's Add/Remove entry.
upgrade_codes_key='HKLM\Software\Classes\Installer\UpgradeCodes'
detected() { # MSI
    local upgrade_code products
    upgrade_code=$(table "$1" Property | sed -n 's/^UpgradeCode\t//p')
    products=$(wine reg query "$upgrade_codes_key\\$(packed "$upgrade_code")" 2>/dev/null | tr -d '\r' \
        | awk '$2 ~ /^REG_/ { print $1 }')
    [ "$products" = "$(packed "$(product_code "$1")")" ] \
        || fail "the upgrade code $upgrade_code leads to '${products//$'\n'/ }', not to $(product_code "$1")"
    echo "   upgrade code $upgrade_code: product $(product_code "$1")"
}

arp_entry() { # [MSI VERSION]: the installed package's entry, by default the first's
    local key icon code size bytes
    detected "${1:-$msi}"
    code=$(product_code "${1:-$msi}")
    key="$uninstall_key\\$code"
    [ "$(reg_value "$key" DisplayName)" = Corvallo ] || fail "no entry $code named Corvallo"
    [ "$(reg_value "$key" DisplayVersion)" = "${2:-$msi_version}" ] \
        || fail "the entry's version is $(reg_value "$key" DisplayVersion), not ${2:-$msi_version}"
    [ "$(reg_value "$key" Publisher)" = "The Corvallo developers" ] || fail "the entry names no publisher"
    # The size that the package gives is what Program Files\Corvallo holds, in KiB rounded up.
    # (Windows Installer adds its own estimate, EstimatedSize, which Wine leaves at 0.)
    size=$(reg_value "$key" Size)
    bytes=$(find "$installed" -type f -exec stat -c %s {} + | awk '{ n += $1 } END { print n + 0 }')
    [[ $size =~ ^[0-9]+$ ]] && [ $((size * 1024)) -ge "$bytes" ] && [ $(((size - 1) * 1024)) -lt "$bytes" ] \
        || fail "the entry gives ${size:-no size} KiB, Program Files\\Corvallo holds $bytes bytes"
    # Windows Installer keeps the product's icon under its packed code, and Add/Remove Programs
    # shows it.
    icon=$(reg_value "HKLM\\Software\\Classes\\Installer\\Products\\$(packed "$code")" ProductIcon)
    [ -n "$icon" ] && [ -s "$(winepath -u "$icon")" ] || fail "no product icon for Add/Remove Programs"
    echo "   Corvallo ${2:-$msi_version}, The Corvallo developers, $size KiB for $bytes bytes, icon $icon"
}

# The real-window helpers start the program as the Windows suite does, with blanks and accents of
# its path kept whole, in this test's Wine prefix.
export CORVALLO_WINEPREFIX=$WINEPREFIX
runner=$source_dir/scripts/wine-run.sh

menu_and_basta() { # PROGRAM
    corvallo_bin=$1
    start_app
    expect_menu
    click_at 366 438
    wait_exit 2
    [ "$exit_status" = 0 ] || fail "after Basta! the program gave '$exit_status', expected 0"
    expect_quiet "after Basta!"
}
installed_program() {
    menu_and_basta "$installed/corvallo.exe"
    local said
    said=$("$runner" "$installed/corvallo.exe" --version | tr -d '\r')
    [ "$said" = "corvallo $version (build $build)" ] || fail "--version says '$said', the installer $msi_version"
    echo "   $said"
}

same_version_again() {
    msiexec /i "$(winepath -w "$msi")" /qn || fail "installing the same version again gave $?"
    [ "$(arp_entries)" = 1 ] || fail "$(arp_entries) entries named Corvallo"
    installed_files
}

# Nothing of the program is left: files, folder, shortcut, registry keys and values.
expect_nothing_left() {
    [ ! -e "$installed" ] || fail "Program Files\\Corvallo is still there"
    [ ! -e "$(cat "$work/start-menu")/Corvallo.lnk" ] || fail "the shortcut is still there"
    local left
    left=$(find "$WINEPREFIX/drive_c" -iname '*corvallo*')
    [ -z "$left" ] || fail "left behind: $left"
    wine reg query 'HKLM\Software\Corvallo' >/dev/null 2>&1 && fail "HKLM\\Software\\Corvallo is still there"
    wine reg query 'HKCU\Software\Corvallo' >/dev/null 2>&1 && fail "HKCU\\Software\\Corvallo is still there"
    [ "$(arp_entries)" = 0 ] || fail "Add/Remove Programs still lists Corvallo"
    # The registry as Wine keeps it, written out when the prefix's server ends.
    wineserver -k 2>/dev/null || true
    wineserver -w
    local code words=(-e corvallo)
    for code in "$(product_code "$msi")" "$(product_code "$later_msi")"; do
        words+=(-e "$(tr -d '{}' <<<"$code")" -e "$(packed "$code")")
    done
    left=$(grep -il "${words[@]}" "$WINEPREFIX"/*.reg || true)
    [ -z "$left" ] || fail "the registry still names Corvallo: $(grep -ih corvallo "$WINEPREFIX"/*.reg | head -n 5)"
}
# Reinstalling the same file repairs what was lost: the program and a licence deleted come back.
# (msiexec /fa with the package's path gives 1605 under Wine; this asks the same on Windows.)
repair() {
    rm "$installed/corvallo.exe" "$installed/LICENSES/README.txt"
    msiexec /i "$(winepath -w "$msi")" REINSTALL=ALL REINSTALLMODE=omus /qn || fail "the repair gave $?"
    echo "   repaired in $took s"
    installed_files
}

# A package of the same build rebuilt (another Qt, a fix in the packing) is the same product,
# packed otherwise: it has the product code of its version, and leaves one entry. Windows refuses
# it (1638, another version of this product is already installed); Wine's Windows Installer takes
# it as a repair (0).
same_build_rebuilt() {
    local status=0
    [ "$(product_code "$msi")" = "$(product_code "$rebuilt_msi")" ] \
        || fail "the rebuilt package of the same build has another product code"
    msiexec /i "$(winepath -w "$rebuilt_msi")" /qn || status=$?
    [ "$status" = $((1638 % 256)) ] || [ "$status" = 0 ] \
        || fail "installing the rebuilt package gave $status, neither 1638 nor 0"
    [ "$(arp_entries)" = 1 ] || fail "$(arp_entries) entries named Corvallo"
    arp_entry
}

silent_uninstall() {
    msiexec /x "$(winepath -w "$later_msi")" /qn || fail "msiexec /x /qn gave $?"
    echo "   uninstalled in $took s"
    expect_nothing_left
}

# A later build upgrades the installed one, and leaves one entry.
upgrade() {
    msiexec /i "$(winepath -w "$later_msi")" /qn || fail "upgrading to build $later gave $?"
    echo "   upgraded in $took s"
    [ "$(arp_entries)" = 1 ] || fail "$(arp_entries) entries named Corvallo after the upgrade"
    wine reg query "$uninstall_key\\$(product_code "$msi")" >/dev/null 2>&1 && fail "build $build is still registered"
    arp_entry "$later_msi" "$later_version"
    expect_installed_files "$(unpacked "$work/later")"
}

# An earlier build refuses to install over a later one (1603, the installation failed).
no_downgrade() {
    local status=0
    msiexec /i "$(winepath -w "$msi")" /qn || status=$?
    [ "$status" = $((1603 % 256)) ] || fail "installing build $build over build $later gave $status, not 1603"
    grep -q '^Property(S): WIX_DOWNGRADE_DETECTED = ' "$work/msi.log" \
        || fail "Windows Installer did not find the later build"
    arp_entry "$later_msi" "$later_version"
    expect_installed_files "$(unpacked "$work/later")"
}

# What a user downloads is as small as the program needs: the zip at most 4 MiB, the folder it
# unpacks into at most 10 MB (a Qt shipped as DLLs beside the program makes 5.5 MiB and 13.9 MB).
small_downloads() {
    local zip_bytes folder_bytes
    zip_bytes=$(stat -c %s "$zip_file")
    folder_bytes=$(find "$folder" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    echo "   zip $zip_bytes bytes, folder $folder_bytes bytes"
    [ "$zip_bytes" -le $((4 * 1024 * 1024)) ] || fail "the zip has $zip_bytes bytes, more than 4 MiB"
    [ "$folder_bytes" -le 10000000 ] || fail "the folder holds $folder_bytes bytes, more than 10 MB"
}

# The licence notes are true to what is shipped: they name every licence beside them and nothing
# else, and they say whether Qt carries Corvallo's changes, the very ones in this source where it does.
licence_notes() {
    local notes=$folder/LICENSES/README.txt built_with
    "$source_dir/tests/support/licence-notes.sh" "$folder" || fail "the licence notes and LICENSES disagree"
    built_with=$(sed -n 's/.*(source: qt6-base [^;)]*; changes: \([0-9a-f]*\).*/\1/p' "$qt/configure-line.txt")
    if [ -n "$built_with" ]; then
        grep -q 'packaging/qt-patches' "$notes" || fail "Qt carries changes that the notes do not name"
        [ "$built_with" = "$(source "$source_dir/scripts/lib/qt-source.sh" && qt_patches_id)" ] \
            || fail "Qt was built with other changes than this source's packaging/qt-patches"
        echo "   Qt with the changes of packaging/qt-patches ($built_with), as the notes say"
    else
        grep -q 'made no changes' "$notes" || fail "the notes do not say that Qt is unchanged"
    fi
}

# The packing is reproducible: two runs give the same zip and the same installer.
# msidiff leaves the tables' files in the current folder: it runs in the test's own.
reproducible() {
    cmp "$zip_file" "$work/second/$(basename "$zip_file")" || fail "two packings gave different zips"
    cmp "$msi" "$work/second/$(basename "$msi")" \
        || fail "two packings gave different installers: $(cd "$work" && msidiff "$msi" "$work/second/$(basename "$msi")" 2>/dev/null | grep '^[-+][^-+]')"
    echo "   the same zip and the same installer, byte for byte"
}

# What the packing makes of the folder: one component a file, each with a GUID that the later
# build's has too, so that an upgrade replaces each file in place; and no custom action, so that
# nothing runs at install time but Windows Installer.
table() { # MSI TABLE: its rows, without the three header lines
    msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4
}
installer_tables() {
    local files
    [ -z "$(table "$msi" CustomAction)" ] || fail "the package has custom actions"
    files=$(find "$folder" -type f | wc -l)
    [ "$(table "$msi" File | wc -l)" = "$files" ] || fail "the package does not hold the folder's $files files"
    [ "$(table "$msi" Component | grep -cP '^\S+\t\{[0-9A-F-]{36}\}\t\S+\t(256|260)\t')" = $((files + 1)) ] \
        || fail "not every file is a 64-bit component with a GUID of its own"
    cmp -s <(table "$msi" Component | sort) <(table "$later_msi" Component | sort) \
        || fail "the later build's components have other GUIDs"
    echo "   $files files, $((files + 1)) components; no custom action"
}

# Windows Installer's validation finds nothing to object to in the Start menu's component or the
# upgrades; and it does find each fault planted in a copy: an upgrade that removes the package's
# own version, and a value of the Start menu's component stored per user or per machine as
# ALLUSERS says (root -1).
validation_rules() {
    python3 "$here/ice-check.py" "$msi" || fail "the package breaks the rules above"
    local planted=$work/planted.msi fault said rule upgrade_code
    upgrade_code=$(table "$msi" Property | sed -n 's/^UpgradeCode\t//p')
    for fault in ICE61 ICE57; do
        cp "$msi" "$planted"
        case $fault in
        ICE61) msibuild "$planted" -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`VersionMax\`, \`Language\`, \`Attributes\`, \`Remove\`, \`ActionProperty\`) VALUES ('$upgrade_code', '', '$msi_version', '', 513, '', 'SAMEFOUND')" ;;
        ICE57) msibuild "$planted" -q "INSERT INTO \`Registry\` (\`Registry\`, \`Root\`, \`Key\`, \`Name\`, \`Value\`, \`Component_\`) VALUES ('Planted', -1, 'Software\\Corvallo', 'Planted', '#1', 'StartMenuShortcut')" ;;
        esac
        said=$(python3 "$here/ice-check.py" "$planted") && fail "the planted $fault fault passed"
        case $fault in
        ICE61) rule="^ICE61: SAMEFOUND: this product should remove only older versions of itself" ;;
        ICE57) rule="^ICE57: component StartMenuShortcut has a registry entry that can be either" ;;
        esac
        grep -q "$rule" <<<"$said" || fail "the planted $fault fault was not named: $said"
        echo "   planted: $(grep -m 1 "$rule" <<<"$said")"
    done
}

# Every program and DLL is a versioned file to Windows Installer, with its version resource's
# version and language; only unversioned files keep a hash.
file_versions() {
    local rows versioned
    rows=$(table "$msi" File)
    versioned=$(grep -ciP '^\S+\t\S+\t\S*\.(exe|dll)\t' <<<"$rows")
    [ "$versioned" -gt 0 ] || fail "no program or DLL in the File table"
    [ "$(grep -ciP '^\S+\t\S+\t\S*\.(exe|dll)\t\d+\t\d+\.\d+\.\d+\.\d+\t\d+(,\d+)*\t' <<<"$rows")" = "$versioned" ] \
        || fail "not every program and DLL has a version and a language: $(grep -iP '\.(exe|dll)\t\d+\t\t' <<<"$rows" | cut -f3 | head -n 3)"
    grep -qP '^corvallo\.exe\t.*\t'"$version.$build"'\t1033\t' <<<"$rows" \
        || fail "corvallo.exe is not version $version.$build, language 1033"
    [ -z "$(table "$msi" MsiFileHash | cut -f1 | grep -iE '\.(exe|dll)$')" ] || fail "a versioned file keeps a hash"
    echo "   $versioned programs and DLLs, each with its version and language"
}

# The installer's version is the version's major and minor and the build that the program's
# --version names, and the later build's is one higher.
installer_version() {
    local property
    property=$(table "$msi" Property | sed -n 's/^ProductVersion\t//p')
    [ "$property" = "$msi_version" ] || fail "the installer's version is $property, not $msi_version"
    property=$(table "$later_msi" Property | sed -n 's/^ProductVersion\t//p')
    [ "$property" = "$later_version" ] || fail "the later build's installer is version $property, not $later_version"
    [ "$(product_code "$msi")" != "$(product_code "$later_msi")" ] || fail "two builds have one product code"
    echo "   $msi_version (build $build), and $later_version"
}

unpacked_zip() {
    local school="$work/Scuola Città"
    mkdir -p "$school"
    unzip -q "$zip_file" -d "$school"
    menu_and_basta "$school/corvallo-$version-windows-x64/corvallo.exe"
}

run_case "two packings give the same zip and installer" reproducible
run_case "the zip at most 4 MiB, its folder at most 10 MB" small_downloads
run_case "the licence notes name the licences beside them and Qt's changes" licence_notes
run_case "one component a file, with the later build's GUIDs; no custom action" installer_tables
run_case "Windows Installer's validation rules ICE38, ICE43, ICE57, ICE61 and ICE64" validation_rules
run_case "programs and DLLs are versioned files" file_versions
run_case "the installer's version names the program's build" installer_version
run_case "silent install (msiexec /i /qn)" silent_install
run_case "every file in Program Files\\Corvallo" installed_files
run_case "Start-menu shortcut" shortcut
run_case "Add/Remove Programs entry" arp_entry
run_case "the installed program shows the menu, ends on Basta! with 0 and names its build" installed_program
run_case "the same package again changes nothing" same_version_again
run_case "a repair (REINSTALL=ALL) puts back a deleted program and licence" repair
run_case "the same build rebuilt is the same product, and leaves one entry" same_build_rebuilt
run_case "silent upgrade to build $later leaves one version" upgrade
run_case "build $build does not replace build $later" no_downgrade
run_case "silent uninstall (msiexec /x /qn) leaves nothing" silent_uninstall
run_case "the zip unpacked into \"Scuola Città\" shows the menu" unpacked_zip

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
