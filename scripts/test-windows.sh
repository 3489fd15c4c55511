#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The suite of the Windows program, run under Wine on Debian:
#   scripts/test-windows.sh
# Builds Qt for Windows (once, then cached), the program and its unit tests for Windows; runs every
# unit test under Wine, then the real-window tests that apply to Windows, from the same scripts as
# on Linux, under Wine on an X server of their own. Each program starts with neither DISPLAY nor
# WAYLAND_DISPLAY set on its Windows side (scripts/wine-run.sh). Names the tests that do not apply
# under Wine and why, and ends with "N passed, N failed, N skipped"; exits 0 only when none failed.
# Installs what it needs with apt-get (sudo when not root).
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
source scripts/lib/packages.sh
source scripts/lib/windows.sh
hold_wine_prefix "$self" "$@"
started=$(date +%s)

# Wine's Tahoma (fonts-wine) is only recommended by Wine; the zip and the installer are packed
# and read back with the tools of the last line.
packages=(wine wine64 fonts-wine fonts-dejavu-core xvfb xdotool x11-utils x11-xserver-utils imagemagick python3 procps
    wixl msitools zip unzip icoutils faketime)
install_missing "${packages[@]}"

scripts/build-windows.sh --tests
build=build/windows
runner=$PWD/scripts/wine-run.sh
log=$build/test-windows.log
: >"$log"

passed=0
failed=0
skipped=0
failures=()
# The failures by name, then the summary line; the suite passes only when none failed.
finish() {
    local name
    for name in "${failures[@]}"; do
        echo "FAILED: $name (see $log)"
    done
    echo "Windows suite under Wine: $(($(date +%s) - started)) s"
    echo "$passed passed, $failed failed, $skipped skipped"
    [ "$failed" -eq 0 ]
}
# A failure, named.
failure() {
    failed=$((failed + 1))
    failures+=("$*")
}
# A step that the rest of the suite needs failed: it counts, and the suite ends there.
stop() {
    echo "$*" >&2
    failure "$*"
    finish || true
    exit 1
}
# Counts the results of one ctest run of the tests labelled $2 from its output $1. Everything they
# need is installed above: a test that skips, or does not run, or is missing from the output, fails.
count() {
    local line name seen=0 expected
    while read -r line; do
        seen=$((seen + 1))
        name=$(sed -E 's/^.*Test +#[0-9]+: (.+[^ ]) +\.+.*$/\1/' <<<"$line")
        case $line in
        *" Passed "*) passed=$((passed + 1)) ;;
        *) failure "$name ($(sed -E 's/.*\.+ *\**([^0-9]*[^ 0-9]).*/\1/' <<<"$line"))" ;;
        esac
    done < <(grep -E '^ *[0-9]+/[0-9]+ Test +#' "$1")
    expected=$(ctest --test-dir "$build" -N -L "$2" | sed -nE 's/^Total Tests: ([0-9]+)$/\1/p' || true)
    if [ "$seen" != "$expected" ]; then
        failure "$2 tests: $seen of ${expected:-?} ran"
    fi
}

# No Windows program of the suite outlives it, whatever a test left behind.
WINEPREFIX=$(wine_prefix)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true' EXIT

# The Wine prefix is made once, before tests run side by side, at Windows' display density of
# 100 % (a high-density test killed at its time-out could not set it back).
export WINEDEBUG=-all
CORVALLO_WINDOWS_DPI=96 "$runner" --prepare || stop "the Wine prefix $WINEPREFIX could not be made ready"
wineserver -w
# Its server then runs for the unit tests, which run side by side: a server that a test's first
# Windows program started would hold that test's output open, and ctest would wait for it until the
# server ended. Wine's own background programs (its services and desktop) start with the first
# program that the server runs, and live as long as it: here that is the density read back.
wineserver -p >/dev/null 2>&1 </dev/null
wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels >"$build/prefix.log" 2>&1 </dev/null \
    || { cat "$build/prefix.log" >&2; stop "the Wine prefix $WINEPREFIX runs no program"; }
grep -qE 'LogPixels\s+REG_DWORD\s+0x60\b' "$build/prefix.log" \
    || { cat "$build/prefix.log" >&2; stop "the Wine prefix $WINEPREFIX is not at 100 %"; }

echo "Unit tests under Wine"
# They run on Qt's offscreen platform, as on Linux; Wine itself wants an X server to start on.
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    ctest --test-dir "$build" -L unit --timeout 300 -j2 --output-on-failure >"$build/unit.log" 2>&1 || true
cat "$build/unit.log" >>"$log"
count "$build/unit.log" unit
# A Qt Test whose functions skip shows as skipped in ctest (its runner exits 77): any skip that
# ctest counted as passed fails too.
if grep -aq '^SKIP   :' "$build/Testing/Temporary/LastTest.log" && ! grep -q '\*\*\*Skipped' "$build/unit.log"; then
    failure "a unit test skipped, although ctest counted it passed: $(grep -a -m 1 '^SKIP   :' \
        "$build/Testing/Temporary/LastTest.log" | tr -d '\r')"
fi
# The real-window tests start an X server each: their programs get a server and a desktop of their
# own, not the ones kept for the unit tests.
wineserver -k 2>/dev/null || true
wineserver -w
grep -E '^ *[0-9]+/[0-9]+ Test +#' "$build/unit.log" | sed 's/^ *//' || true

# Wine takes about two seconds to end any process after its window's close request: the close
# tests allow what a bare Qt window built the same way takes here, up to a ceiling.
ceiling=4
allowance=$(CORVALLO_BIN="$(find "$build-bench" -name 'bare_window.exe' | head -n 1)" \
    CORVALLO_RUNNER="$runner" CORVALLO_TESTS="$PWD/tests/window" bash tests/window/bare-close-time.sh) \
    || { echo "$allowance"; stop "the bare window's close time could not be measured"; }
echo "A bare Qt window ends ${allowance} s after its close request under Wine"
if awk -v a="$allowance" -v c="$ceiling" 'BEGIN { exit !(a > c) }'; then
    failure "a bare Qt window took ${allowance} s to end after its close request, more than the ${ceiling} s allowed"
    allowance=$ceiling
fi
echo "The close tests allow ${allowance} s more"

echo "Real-window tests under Wine"
CORVALLO_EXIT_ALLOWANCE=$allowance ctest --test-dir "$build" -L window --output-on-failure \
    >"$build/window.log" 2>&1 || true
cat "$build/window.log" >>"$log"
count "$build/window.log" window
grep -E '^ *[0-9]+/[0-9]+ Test +#' "$build/window.log" | sed 's/^ *//' || true
# Why a window test failed, where only this output is kept (as in CI): its own failure line and
# what follows it.
grep -A 12 '^FAIL: ' "$build/window.log" | sed 's/^/    /' || true

echo "The zip and the installer under Wine"
CORVALLO_EXIT_ALLOWANCE=$allowance tests/windows/installer.sh build/windows/Corvallo \
    >"$build/installer.log" 2>&1 || true
cat "$build/installer.log" >>"$log"
grep -E '^(ok|FAIL|skipped)' "$build/installer.log" || true
# Its last line counts its cases; a test that could not run at all is one failure.
if totals=$(tail -n 1 "$build/installer.log" | grep -E '^[0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$'); then
    read -r p _ f _ s _ <<<"$totals"
    # Everything it needs is installed above: a case it skips counts as failed.
    passed=$((passed + p)) failed=$((failed + f + s))
    [ "$((f + s))" -eq 0 ] || failures+=("installer")
else
    failure "installer"
fi

# What does not apply to the Windows program, as its build registers it, with the reason; the
# names as ctest lists them, disabled tests marked so.
tests_of() {
    ctest --test-dir "$1" -N "${@:2}" | sed -nE 's/^ *Test +#[0-9]+: (.+)$/\1/p' | sed -E 's/ \(Disabled\)$//' | sort
}
if not_applicable=$(tests_of "$build" -L not-applicable); then
    while read -r name; do
        reason=$(awk -v name="$name: " 'index($0, name) == 1' "$build/not-applicable.txt" | head -n 1)
        if [ -n "$reason" ]; then
            echo "skipped: $reason"
            skipped=$((skipped + 1))
        else
            failure "$name: registered as not applicable with no reason"
        fi
    done < <(grep . <<<"$not_applicable")
else
    failure "the tests that do not apply: ctest could not list them"
fi
# Every test is in both builds: in the Windows build a test of the Linux build is run or registered
# as not applicable there, and the other way round.
if linux_tests=$(tests_of build/host) && windows_tests=$(tests_of "$build") \
    && [ -n "$linux_tests" ] && [ -n "$windows_tests" ]; then
    while read -r name; do
        failure "$name: a test of the Linux build that the Windows build leaves out with no reason"
    done < <(comm -23 <(echo "$linux_tests") <(echo "$windows_tests") | grep .)
    while read -r name; do
        failure "$name: a test of the Windows build that the Linux build leaves out with no reason"
    done < <(comm -13 <(echo "$linux_tests") <(echo "$windows_tests") | grep .)
else
    failure "the lists of tests of the Linux and the Windows build: not both there"
fi

finish
