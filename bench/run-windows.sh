#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Measures the Windows program's start under Wine against a bare Qt window built the same way (the
# same Qt for Windows linked in, the same compiler and options; it keeps Qt Widgets' style images,
# 0.35 MB registered at start, which the program leaves out), runs alternated, as bench/run.sh
# does on Linux: exec to window mapped and to the first paint of the menu, read back from an X
# server of its own. Both start through scripts/wine-run.sh, with a Wine server kept running, as a
# desktop keeps Windows running.
#
#   bench/run-windows.sh [--runs N]      (default 5)
#
# Builds the Windows program, its folder and the bare window first (scripts/build-windows.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/windows.sh"
hold_wine_prefix "$(realpath "$0")" "$@"
runs=5
while [ $# -gt 0 ]; do
    case $1 in
    --runs) runs=$2; shift 2 ;;
    -h | --help) sed -n '7,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench/run-windows.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
[[ $runs =~ ^[0-9]+$ && $runs -ge 1 ]] || { echo "bench/run-windows.sh: --runs takes a whole number from 1" >&2; exit 2; }

"$root/scripts/build-windows.sh" --tests >&2
cmake -S "$root/bench" -B "$root/build/bench/tools" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench/tools" --target window_probe -j"${JOBS:-2}" >/dev/null
probe=$root/build/bench/tools/probe/window_probe
corvallo=$root/build/windows/Corvallo/corvallo.exe
bare=$(find "$root/build/windows-bench" -name bare_window.exe | head -n 1)
runner=$root/scripts/wine-run.sh
[ -n "$bare" ] || { echo "bench/run-windows.sh: the build has no bare_window.exe" >&2; exit 1; }
# Both carry Qt linked in; built with a Qt of DLLs, the bare window loads the same stripped DLLs and
# platform plugin as the program, from beside it.
if [ -d "$(dirname "$corvallo")/platforms" ]; then
    cp "$(dirname "$corvallo")"/*.dll "$(dirname "$bare")/"
    cp -r "$(dirname "$corvallo")/platforms" "$(dirname "$bare")/"
fi

# One X server of its own, as the real-window tests have.
export CORVALLO_BIN=$corvallo CORVALLO_RUNNER=$runner
source "$root/tests/window/xvfb-session.sh"
xvfb_options=-br # a black root window, which the probe needs before each start
start_x
WINEPREFIX=$(wine_prefix)
export WINEPREFIX
"$runner" "$corvallo" --version >/dev/null 2>&1 || true # the prefix exists (the bare window takes no option: it would stay open)
# A server that stays, once the one that ran the start above has ended.
wineserver -w
wineserver -p
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

# The top edge of the "Livello 1" border, which both draw at the same place of their window
# (236, 89); with no window manager, Qt centres the 731 x 544 window on Xvfb's 1024 x 768 screen.
menu_edge=$((236 + (1024 - 731) / 2)),$((89 + (768 - 544) / 2)),40,1
for i in $(seq "$runs"); do
    for program in bare corvallo; do
        binary=$bare
        [ "$program" = corvallo ] && binary=$corvallo
        # Into a file: Wine's processes keep the probe's standard output open after it ends.
        "$probe" start "$menu_edge" 500 1000 -- "$runner" "$binary" >"$work/probe.out" 2>"$work/probe.err" \
            || { cat "$work/probe.err" >&2; exit 1; }
        line=$(cat "$work/probe.out")
        echo "run $i/$runs: $program $line" >&2
        echo "$program $line" >>"$work/results"
        # The probe ends Wine's starter; the program itself goes with the server's other processes.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        wineserver -p
        sleep 0.5
    done
done

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}
figure() {
    grep "^$1 " "$work/results" | sed -nE "s/.* $2=([0-9.]+).*/\1/p" | median
}
printf '%-28s %10s %10s %7s\n' "under Wine ($runs runs, median)" bare corvallo ratio
for what in mapped_ms painted_ms; do
    b=$(figure bare "$what")
    c=$(figure corvallo "$what")
    printf '%-28s %10.1f %10.1f %7.2f\n' "exec to $what" "$b" "$c" "$(awk -v b="$b" -v c="$c" 'BEGIN { print c / b }')"
done
