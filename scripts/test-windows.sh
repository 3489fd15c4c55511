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
cd "$(dirname "$(realpath "$0")")/.."
source scripts/lib/packages.sh
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
# Counts the results of one ctest run of the tests labelled $2 from its output $1. Everything they
# need is installed above: a test that skips, or does not run, or is missing from the output, fails.
count() {
    local line name seen=0 expected
    while read -r line; do
        seen=$((seen + 1))
        name=$(sed -E 's/^.*Test +#[0-9]+: (.+[^ ]) +\.+.*$/\1/' <<<"$line")
        case $line in
        *" Passed "*) passed=$((passed + 1)) ;;
        *) failed=$((failed + 1)); failures+=("$name ($(sed -E 's/.*\.+ *\**([^0-9]*[^ 0-9]).*/\1/' <<<"$line"))") ;;
        esac
    done < <(grep -E '^ *[0-9]+/[0-9]+ Test +#' "$1")
    expected=$(ctest --test-dir "$build" -N -L "$2" | sed -nE 's/^Total Tests: ([0-9]+)$/\1/p' || true)
    if [ "$seen" != "$expected" ]; then
        failed=$((failed + 1))
        failures+=("$2 tests: $seen of ${expected:-?} ran")
    fi
}

# No Windows program of the suite outlives it, whatever a test left behind.
export WINEPREFIX=${CORVALLO_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/corvallo/wine}
trap 'wineserver -k 2>/dev/null || true' EXIT

# The Wine prefix is made once, before tests run side by side, at Windows' display density of
# 100 % (a high-density test killed at its time-out could not set it back). Its server then runs
# for the unit tests, which run side by side: a server that a test's first Windows program started
# would hold that test's output open, and ctest would wait for it until the server ended.
CORVALLO_WINDOWS_DPI=96 "$runner" "$build/TestQuestionPool.exe" >"$build/prefix.log" 2>&1 \
    || { cat "$build/prefix.log" >&2; echo "the Wine prefix $WINEPREFIX could not be made" >&2; exit 1; }
wineserver -w
wineserver -p >/dev/null 2>&1 </dev/null
# Wine's own background programs (its services and desktop) start with the first program that the
# server runs, and live as long as it: they are started here, not with a test's output.
"$runner" "$build/TestQuestionPool.exe" >/dev/null 2>&1 </dev/null \
    || { echo "the Wine prefix $WINEPREFIX does not run a test program" >&2; exit 1; }

echo "Unit tests under Wine"
# They run on Qt's offscreen platform, as on Linux; Wine itself wants an X server to start on.
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    ctest --test-dir "$build" -L unit --timeout 300 -j2 --output-on-failure >"$build/unit.log" 2>&1 || true
cat "$build/unit.log" >>"$log"
count "$build/unit.log" unit
# The real-window tests start an X server each: their programs get a server and a desktop of their
# own, not the ones kept for the unit tests.
wineserver -k 2>/dev/null || true
wineserver -w
grep -E '^ *[0-9]+/[0-9]+ Test +#' "$build/unit.log" | sed 's/^ *//' || true

# Wine takes about two seconds to end any process after its window's close request: the close
# tests allow what a bare Qt window built the same way takes here.
allowance=$(CORVALLO_BIN="$(find "$build-bench" -name 'bare_window.exe' | head -n 1)" \
    CORVALLO_RUNNER="$runner" CORVALLO_TESTS="$PWD/tests/window" bash tests/window/bare-close-time.sh) \
    || { echo "$allowance"; echo "the bare window's close time could not be measured" >&2; exit 1; }
echo "A bare Qt window ends ${allowance} s after its close request under Wine: the close tests allow that much more"

echo "Real-window tests under Wine"
CORVALLO_EXIT_ALLOWANCE=$allowance ctest --test-dir "$build" -L window --output-on-failure \
    >"$build/window.log" 2>&1 || true
cat "$build/window.log" >>"$log"
count "$build/window.log" window
grep -E '^ *[0-9]+/[0-9]+ Test +#' "$build/window.log" | sed 's/^ *//' || true

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
    failed=$((failed + 1)); failures+=("installer")
fi

# What does not apply to the Windows program under Wine.
not_applicable=(
    "no-fonts: it hides Debian's Tahoma files from the program; Windows has its own Tahoma, and the program loads no font file there"
    "screen-reader: it reads the program through Linux's AT-SPI bus; Windows' UI Automation, which Narrator and NVDA use, cannot be driven under Wine (the accessible interface's unit tests run on Linux and here)"
    "wayland-menu-and-close: Windows has no Wayland"
    "wayland-keypad: Windows has no Wayland"
    "package-*: the Debian package is Linux's; the Windows zip and installer are tested above"
)
for reason in "${not_applicable[@]}"; do
    echo "skipped: $reason"
    skipped=$((skipped + 1))
done

for name in "${failures[@]}"; do
    echo "FAILED: $name (see $log)"
done
echo "Windows suite under Wine: $(($(date +%s) - started)) s"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
