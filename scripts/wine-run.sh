#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a Windows program of the build under Wine as Windows would start it:
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]
#   scripts/wine-run.sh --prepare      only makes the prefix ready, as below, and says what failed
#   scripts/wine-run.sh --fresh        ends the prefix's Wine server and all it runs, and waits
# With CORVALLO_FOLDER_ONLY=1 the program finds its DLLs in its own folder and Windows' alone.
# With CORVALLO_NO_STD_HANDLES=1 it starts as from Explorer or a shortcut, with no standard handles
# and no console; the title and text of each message box it shows are written to standard output.
# Neither DISPLAY nor WAYLAND_DISPLAY is in its environment, as on every Windows machine (Wine
# itself still draws on the X server that DISPLAY names). Paths and arguments may hold blanks. Wine's
# own prefix is in the user's cache (CORVALLO_WINEPREFIX overrides it); standard output, error and
# the exit status are the program's.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
program=${1:?usage: scripts/wine-run.sh PROGRAM.exe [ARGUMENT...] | --prepare}
shift
fail() {
    echo "wine-run: $*" >&2
    exit 125
}

source "$here/lib/windows.sh"
WINEPREFIX=$(wine_prefix)
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
# Wine's server outlives a program by a few seconds and keeps its desktop on the X server it first
# met, with the display density it read then: a program of the next test, on another X server,
# would join that old desktop. A real-window test starts with none left.
if [ "$program" = --fresh ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w
    exit 0
fi
# No dialog offers to install Mono or Gecko when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || fail "could not make the Wine prefix $WINEPREFIX (wineboot --init)"
fi
# Debian's Wine offers its desktop only the fonts that fontconfig finds, and not its own Tahoma,
# Windows' font that every Windows has. It is installed as Windows installs a font: the file in the
# Fonts folder, where Wine's text drawing looks, and its name in the registry, where FreeType's
# font list on Windows finds the file.
fonts_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
for font in tahoma.ttf:Tahoma tahomabd.ttf:'Tahoma Bold'; do
    file=${font%%:*} name="${font#*:} (TrueType)"
    [ -f "/usr/share/wine/fonts/$file" ] || continue
    if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/$file" ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp "/usr/share/wine/fonts/$file" "$WINEPREFIX/drive_c/windows/Fonts/$file.$$"
        mv -f "$WINEPREFIX/drive_c/windows/Fonts/$file.$$" "$WINEPREFIX/drive_c/windows/Fonts/$file"
    fi
    # (A prefix just made may have its registry only in Wine's server yet, not in the file.)
    grep -qsF "\"$name\"=\"$file\"" "$WINEPREFIX/system.reg" \
        || wine reg add "$fonts_key" /v "$name" /d "$file" /f >/dev/null 2>&1 \
        || fail "could not register $file in the Wine prefix $WINEPREFIX"
done

# CORVALLO_WINDOWS_DPI sets Windows' display density for the prefix before the program starts (96
# for 100 %, 144 for 150 %, 192 for 200 %): the system density of Windows' display settings, not
# the per-monitor scaling that Wine lacks. It stays set for later programs.
if [ -n "${CORVALLO_WINDOWS_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$CORVALLO_WINDOWS_DPI" /f >/dev/null 2>&1 \
        || fail "could not set the display density $CORVALLO_WINDOWS_DPI"
fi

# The launcher clears DISPLAY and WAYLAND_DISPLAY on the Windows side and passes on the program's
# standard handles and exit status; built once for each version of its source, named by its hash
# in the user's cache, which every clone shares.
launcher_hash=$(sha256sum <"$here/wine-launch.c" | cut -c1-16)
launcher=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/wine-launch-$launcher_hash.exe
if [ ! -e "$launcher" ]; then
    command -v x86_64-w64-mingw32-gcc >/dev/null \
        || fail "x86_64-w64-mingw32-gcc is needed to build the launcher"
    mkdir -p "$(dirname "$launcher")"
    x86_64-w64-mingw32-gcc -municode -O2 -s -o "$launcher.$$" "$here/wine-launch.c"
    mv -f "$launcher.$$" "$launcher"
fi
[ "$program" != --prepare ] || exit 0

windows_path() {
    local path
    path=$(realpath "$1")
    printf 'Z:%s' "${path//\//\\}"
}
# The Qt built here is linked into every program. Another Qt for Windows, built as DLLs and named by
# CORVALLO_QT_WINDOWS, lends them only where the program's folder has none, so that a DLL missing
# from a folder that ships them is not hidden; with CORVALLO_FOLDER_ONLY=1, never: a shipped
# folder runs on what it holds, as on a Windows machine without Qt.
program_folder=$(dirname "$(realpath "$program")")
if [ "${CORVALLO_FOLDER_ONLY:-}" != 1 ] && [ -n "${CORVALLO_QT_WINDOWS:-}" ] && [ ! -e "$program_folder/Qt6Core.dll" ]; then
    export WINEPATH="$(windows_path "$CORVALLO_QT_WINDOWS/bin")"
fi
# Qt writes its messages, and Qt Test its results, to the debugger unless a console is attached;
# here they go to the standard error and output that the caller reads, as on Linux.
export QT_FORCE_STDERR_LOGGING=1
# Qt's offscreen platform for Windows reads fonts only from a folder of its own: there Wine's fonts,
# which its desktop offers as Windows' own, and DejaVu Sans for the sans-serif faces that every
# Windows has beside Tahoma, stand in for Windows' fonts.
if [ "${QT_QPA_PLATFORM:-}" = offscreen ] && [ -z "${QT_QPA_FONTDIR:-}" ] && [ -d /usr/share/wine/fonts ]; then
    offscreen_fonts=${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/offscreen-fonts
    if [ ! -d "$offscreen_fonts" ]; then
        mkdir -p "$offscreen_fonts.$$"
        ln -s /usr/share/wine/fonts/* /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf "$offscreen_fonts.$$/" 2>/dev/null || true
        mv -T "$offscreen_fonts.$$" "$offscreen_fonts" 2>/dev/null || rm -rf "$offscreen_fonts.$$"
    fi
    export QT_QPA_FONTDIR=$(windows_path "$offscreen_fonts")
fi
# Wine keeps the Unix variables whose names begin with QT_ from Windows programs, and hands on
# WINEQT_... as QT_...: Qt's settings of the caller (the platform, the scale factor) reach the program.
while IFS= read -r name; do
    export "WINE$name=${!name}"
done < <(compgen -e | grep '^QT_')
# Wine has no per-monitor DPI awareness of the second kind: Qt's Windows platform says so in these
# two lines at every start, where Windows 10 and 11 say nothing. Only they are left out of the
# program's standard error, so that a test that expects it quiet checks everything else.
wine_only=$'^(SetProcessDpiAwarenessContext\(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2\) failed: COM error 0x57 |EnableNonClientDpiScaling\(\) failed for HWND 0x[0-9a-f]+ \(120\) \(Call not implemented\.\)\r?$)'
# The program writes into files, which are handed on as they grow until it has ended: Wine's
# server can hold a program's standard handles after its end (seen with two tests started side by
# side), and a pipe of the caller's held there would keep the caller waiting (a unit test of one
# second took two and a half minutes).
status=0
launch=("$launcher")
[ "${CORVALLO_NO_STD_HANDLES:-}" != 1 ] || launch+=(--no-std-handles)
output=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
wine "${launch[@]}" "$(windows_path "$program")" "$@" >"$output" 2>"$errors" &
wine_pid=$!
tail -q -s 0.02 -n +1 -f --pid="$wine_pid" "$output" &
copying=$!
tail -q -s 0.02 -n +1 -f --pid="$wine_pid" "$errors" | grep --line-buffered -Ev "$wine_only" >&2 &
wait "$wine_pid" || status=$?
wait "$copying" $! || true
exit "$status"
