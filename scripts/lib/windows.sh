# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What the scripts that build, pack, run and test the Windows program share, each said once here.
# Sourced; it sets nothing but its functions.

# The Wine prefix the program runs in unless the caller names one: the user's cache, or
# CORVALLO_WINEPREFIX.
wine_prefix() {
    echo "${CORVALLO_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/wine}"
}

# hold_wine_prefix SCRIPT ARGUMENT...: the calling script (its absolute path) runs again, with its
# arguments, holding the Wine prefix alone until it ends: a second run of the Windows suite or benchmark waits for the first,
# which ends the prefix's Wine server, and every program of the second with it. (flock -o: the
# lock stays with flock, not with the Wine server that outlives a program.)
hold_wine_prefix() {
    [ "${CORVALLO_WINE_HELD:-}" != 1 ] || return 0
    local lock
    lock=$(wine_prefix).lock
    mkdir -p "$(dirname "$lock")"
    flock -n "$lock" true || echo "Another run holds the Wine prefix $(wine_prefix): waiting for it to end"
    CORVALLO_WINE_HELD=1 exec flock -o "$lock" "$@"
}

# The project's version (project_version), and the places that name it.
source "$(dirname "${BASH_SOURCE[0]}")/version.sh"

# What the files under FOLDER hold, in KiB rounded up, as Add/Remove Programs gives a size.
size_kib() {
    find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print int((n + 1023) / 1024) }'
}

# The DLLs that a program or DLL imports, as it names them; a failure where objdump fails or the
# file names none (every program imports from Windows' kernel at least).
dll_imports() {
    local header
    header=$(x86_64-w64-mingw32-objdump -p "$1") \
        || { echo "could not read the imports of $1" >&2; return 1; }
    grep -q 'DLL Name: ' <<<"$header" || { echo "$1 names no DLL it imports" >&2; return 1; }
    sed -n 's/^\s*DLL Name: //p' <<<"$header"
}

# Whether a DLL is one that every Windows 10 and 11 has (any case): the system's own libraries
# that Qt, the MinGW-w64 runtime and the program import, and the API sets.
windows_own_dll() {
    local name=${1,,} own
    [[ $name == api-ms-win-* ]] && return 0
    for own in advapi32 authz comdlg32 d2d1 d3d11 d3d9 dwmapi dwrite dxgi gdi32 imm32 kernel32 mpr \
        msvcrt netapi32 ole32 oleaut32 setupapi shcore shell32 shlwapi user32 userenv uxtheme version \
        winmm ws2_32 wtsapi32; do
        [ "$name" = "$own.dll" ] && return 0
    done
    return 1
}

# The DLLs that the programs and DLLs under FOLDER import and that are neither beside the program,
# in FOLDER itself, nor Windows' own: one a line, sorted, none when the folder runs as it is; a
# failure where the folder has no program or a file's imports cannot be read.
missing_dlls() {
    local folder=$1 file dll imports=
    local -a files
    mapfile -d '' files < <(find "$folder" \( -iname '*.exe' -o -iname '*.dll' \) -print0)
    [ "${#files[@]}" -gt 0 ] || { echo "no program or DLL in $folder" >&2; return 1; }
    for file in "${files[@]}"; do
        imports+=$(dll_imports "$file")$'\n' || return 1
    done
    while IFS= read -r dll; do
        windows_own_dll "$dll" && continue
        [ -n "$(find "$folder" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
        echo "$dll"
    done < <(grep . <<<"$imports" | sort -fu)
}
