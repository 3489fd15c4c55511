#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Measures Corvallo against a bare Qt window under one X server of its own (Xvfb, no window
# manager), runs alternated, and prints a table of medians and ratios. See docs/performance.md.
#
#   bench/run.sh [--runs N] [--idle SECONDS] [--questions N] [--no-pace] [--build-dir DIR]
#                [--program-build DIR]
#
#   --runs N        start each program N times, alternately (default 5). --runs 1 is the quick
#                   check: unless given, the idle period is then 2 s and one question is timed.
#   --idle SECONDS  how long each program is watched idle at its window (default 10)
#   --questions N   level-1 questions timed on the real window (default 4)
#   --no-pace       skip the pace: the questions and the animation steps
#   --build-dir DIR where to build (default build/bench)
#   --program-build DIR  measure the program of a build of this source with its tests that is
#                   already there (any build type) instead of building a Release one: to keep the
#                   benchmark working on a suite's build, not for figures
#
# Installs what it needs first with scripts/setup.sh (a compiler, CMake, Qt 6, Xvfb, Tahoma).
# Builds with one job per core unless JOBS says otherwise.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=5
idle=
questions=
pace=1
build=$root/build/bench
program_build=

while [ $# -gt 0 ]; do
    case $1 in
    --runs) runs=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    --questions) questions=$2; shift 2 ;;
    --no-pace) pace=0; shift ;;
    --build-dir) build=$2; shift 2 ;;
    --program-build) program_build=$2; shift 2 ;;
    -h | --help) awk '/^set / { exit } /^# / && !/SPDX/ { p = 1 } p { sub(/^# ?/, ""); print }' "$0"; exit 0 ;;
    *) echo "bench/run.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
for value in "$runs" "${idle:-1}" "${questions:-1}"; do
    [[ $value =~ ^[0-9]+$ && $value -ge 1 ]] || { echo "bench/run.sh: counts are whole numbers from 1" >&2; exit 2; }
done
if [ "$runs" -eq 1 ]; then
    idle=${idle:-2}
    questions=${questions:-1}
fi
idle=${idle:-10}
questions=${questions:-4}
jobs=${JOBS:-$(nproc)}
case $build in /*) ;; *) build=$PWD/$build ;; esac
case $program_build in /* | "") ;; *) program_build=$PWD/$program_build ;; esac

"$root/scripts/setup.sh" bench
for tool in cmake Xvfb; do
    command -v "$tool" >/dev/null || { echo "bench/run.sh: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# --- Build: the program as it ships, the animation-step measurement and the repaint check, the
# bare window and the probe.
echo "Building in $build ..." >&2
if [ -z "$program_build" ]; then
    program_build=$build/corvallo
    cmake -S "$root" -B "$program_build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >"$work/cmake.log" 2>&1 \
        || { cat "$work/cmake.log" >&2; exit 1; }
fi
cmake --build "$program_build" -j"$jobs" --target corvallo bench_animation_step TestLabelRepaint >"$work/build.log" 2>&1 \
    || { cat "$work/build.log" >&2; exit 1; }
cmake -S "$root/bench" -B "$build/tools" -DCMAKE_BUILD_TYPE=Release >"$work/cmake.log" 2>&1 \
    || { cat "$work/cmake.log" >&2; exit 1; }
cmake --build "$build/tools" -j"$jobs" >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }
corvallo=$program_build/src/corvallo
steps=$program_build/tests/presentation/bench_animation_step
bare=$build/tools/bare/bare_window
probe=$build/tools/probe/window_probe
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# Labels repaint only where their text is: the screen must still show what a full repaint draws,
# or the figures below measure a faster wrong picture.
QT_QPA_PLATFORM=offscreen "$program_build/tests/widgets/TestLabelRepaint" >"$work/check.log" 2>&1 \
    || { cat "$work/check.log" >&2; exit 1; }

# --- One X server for everything, black root, on the first free display from 90 on.
for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -br -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    # Up when the display's lock names this server and its socket is there.
    for _ in $(seq 50); do
        kill -0 "$xvfb_pid" 2>/dev/null || break
        if [ "$(tr -d ' ' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb_pid" ] && [ -e "/tmp/.X11-unix/X$n" ]; then
            break 2
        fi
        sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
done
[ -n "$xvfb_pid" ] || { echo "bench/run.sh: no X server could be started" >&2; exit 1; }
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# --- Start-up, memory and idle CPU, alternated. The probe reads the top edge of the "Livello 1"
# border, which the bare window draws at the same place.
menu_edge=236,89,40,1
settle_ms=500
for i in $(seq "$runs"); do
    for program in bare corvallo; do
        binary=$bare
        [ "$program" = corvallo ] && binary=$corvallo
        echo "run $i/$runs: $program" >&2
        line=$("$probe" start "$menu_edge" "$settle_ms" "$((idle * 1000))" -- "$binary" 2>"$work/probe.err") \
            || { cat "$work/probe.err" >&2; exit 1; }
        echo "$program $line" >>"$work/start.txt"
        echo "  $line" >&2
    done
done

# --- The pace on the real window: level 1 from the command line, timed from the screen. A
# question starts when its first factor lights up after the long dark of the closing pause
# (the blink's dark gaps are 300 ms, the closing pause alone 3000 ms at level 1).
if [ "$pace" -eq 1 ]; then
    echo "pace: $questions level-1 question(s) on the real window" >&2
    factor_strip=142,0,20,181
    "$probe" pace "$factor_strip" 2000 "$((questions + 1))" -- "$corvallo" 1 >"$work/pace.txt" 2>"$work/probe.err" \
        || { cat "$work/probe.err" >&2; exit 1; }
    echo "animation steps on the real window" >&2
    "$steps" >"$work/steps.txt" 2>"$work/steps.err" || { cat "$work/steps.err" >&2; exit 1; }
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# --- The table.
field() { # field PROGRAM NAME: the values of NAME, one a line
    awk -v p="$1" -v n="$2" '$1 == p { for (i = 2; i <= NF; i++) { split($i, kv, "="); if (kv[1] == n) print kv[2] } }' \
        "$work/start.txt"
}
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

row() { # row LABEL NAME SCALE FORMAT TARGET_RATIO
    local b c
    b=$(field bare "$2" | median)
    c=$(field corvallo "$2" | median)
    awk -v l="$1" -v b="$b" -v c="$c" -v s="$3" -v f="$4" -v t="$5" 'BEGIN {
        b /= s; c /= s
        ratio = (b > 0) ? sprintf("%.2f", c / b) : "-"
        verdict = "-"
        if (t != "" && b > 0) verdict = (c / b <= t) ? "met (<= " t ")" : "MISSED (> " t ")"
        printf "| %s | " f " | " f " | %s | %s |\n", l, b, c, ratio, verdict }'
}

echo
echo "Corvallo against a bare Qt window: medians of $runs alternated run(s), idle period ${idle} s."
echo
echo "| Figure | bare window | corvallo | ratio | target |"
echo "|---|---|---|---|---|"
row "exec to window mapped (ms)" mapped_ms 1 "%.1f" ""
row "exec to first paint of the menu (ms)" painted_ms 1 "%.1f" 1.3
row "CPU used until that paint (ms)" start_cpu_ms 1 "%.1f" ""
row "peak RSS (MiB)" peak_rss_kib 1024 "%.1f" 1.3
cpu=$(field corvallo idle_cpu_pct | sort -g | tail -n 1)
bare_cpu=$(field bare idle_cpu_pct | sort -g | tail -n 1)
awk -v b="$bare_cpu" -v c="$cpu" 'BEGIN { printf "| CPU idle at the menu, worst run (%%) | %.3f | %.3f | - | %s |\n",
    b, c, (c + 0 < 0.05) ? "met (0.0 %)" : "MISSED (0.0 %)" }'
row "wake-ups idle at the menu" idle_wakeups 1 "%.0f" ""
poll=$(awk '{ for (i = 2; i <= NF; i++) if ($i ~ /^poll_us=/) { split($i, kv, "="); print kv[2] } }' "$work/start.txt" | median)
echo
echo "The screen is read every ${poll} us (median poll period of the probe); mapped is the X server's MapNotify."

if [ "$pace" -eq 1 ]; then
    echo
    echo "| Level-1 question | its pauses, 10 x (1216 + 30 b) + 900 (ms) | measured (ms) | deviation | target |"
    echo "|---|---|---|---|---|"
    grep '^edge=' "$work/pace.txt" | cut -d= -f2 | awk '
        NR > 1 { b = (NR - 2) % 8 + 2; paused = 10 * (1216 + 30 * b) + 900; measured = $1 - last
                 dev = 100 * (measured - paused) / paused
                 printf "| 2 x %d | %d | %.1f | %+.2f %% | %s |\n", b, paused, measured, dev,
                        (dev <= 2 && dev >= -2) ? "met (within 2 %)" : "MISSED (within 2 %)" }
        { last = $1 }'
    echo
    echo "| Animation step: write, then one pump | median (us) | p99 (us) | target |"
    echo "|---|---|---|---|"
    awk '/^(empty pump|product at 200 pt|factor at 200 pt|9x9 grid)/ {
        for (i = 1; i <= NF; i++) { if ($i == "median") m = $(i + 1); if ($i == "p99") p = $(i + 1) }
        name = $0; sub(/ +first .*/, "", name)
        verdict = (name == "empty pump") ? "-" : ((m + 0 <= 500) ? "met (median <= 500)" : "MISSED (median <= 500)")
        printf "| %s | %.0f | %.0f | %s |\n", name, m, p, verdict }' "$work/steps.txt"
fi
echo
echo "Load average before: $load_before; after: $load_after ($(nproc) cores)."
