#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a Windows program of the build under Wine as Windows would start it:
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]
# Neither DISPLAY nor WAYLAND_DISPLAY is in its environment, as on every Windows machine (Wine
# itself still draws on the X server that DISPLAY names). Qt's libraries come from the build of Qt
# for Windows, unless they are beside the program. Wine's own prefix is in the user's cache
# (CORVALLO_WINEPREFIX overrides it); standard output, error and the exit status are the
# program's.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
program=${1:?usage: scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]}
shift

export WINEPREFIX=${CORVALLO_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No dialog offers to install Mono or Gecko when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
fi

windows_path() {
    local path
    path=$(realpath "$1")
    printf 'Z:%s' "${path//\//\\}"
}
qt=$("$here/build-qt-windows.sh" --print 2>/dev/null || true)
[ -z "$qt" ] || export WINEPATH="$(windows_path "$qt/bin")"

# cmd.exe clears the variables on the Windows side, then starts the program; its status is cmd's.
# Wine hands cmd its command line with inner quotes escaped, which cmd does not undo: words with
# blanks or cmd's special characters cannot be passed through it.
command="set DISPLAY=& set WAYLAND_DISPLAY=& $(windows_path "$program")"
# This Qt for Windows has no offscreen platform: tests meant for it use the Windows platform on the
# X server that Wine draws on.
if [ "${QT_QPA_PLATFORM:-}" = offscreen ] && [ -n "$qt" ] && [ ! -e "$qt/plugins/platforms/qoffscreen.dll" ]; then
    command="set QT_QPA_PLATFORM=& $command"
fi
for word in "$@" "$(windows_path "$program")"; do
    case $word in
    *[[:space:]\"\&\|\<\>\^\%]*)
        echo "wine-run: cannot pass \"$word\" through cmd" >&2
        exit 125
        ;;
    esac
done
for argument in "$@"; do
    command+=" $argument"
done
exec wine cmd /c "$command"
