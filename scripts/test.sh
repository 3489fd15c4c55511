#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up, then builds Corvallo twice, warnings as errors, and runs the whole suite on each build:
# once as it ships, once under AddressSanitizer and UndefinedBehaviorSanitizer. Last, a bounded
# fuzzing run of the command line.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the set-up could not install: where it says nothing, or under CI, a test may skip only
# for a reason registered in the build (scripts/lib/skips.py).
lacking_file=$(mktemp)
trap 'rm -f "$lacking_file"' EXIT
CORVALLO_SETUP_LACKING=$lacking_file scripts/setup.sh test
lacking=$(cat "$lacking_file")
strict=()
if [ -z "$lacking" ] || { [ -n "${CI:-}" ] && [ "${CI:-}" != false ] && [ "${CI:-}" != 0 ]; }; then
    strict=(--strict)
fi
jobs=$(nproc)

# run_suite DIR "CTEST OPTIONS" CMAKE OPTIONS...
run_suite() {
    local dir=$1 select=$2
    shift 2
    local started=$SECONDS
    cmake -S . -B "$dir" -DCORVALLO_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    echo "Built $dir in $((SECONDS - started)) s"
    started=$SECONDS
    local status=0
    rm -f "$dir/junit.xml"
    # shellcheck disable=SC2086
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --output-junit junit.xml $select \
        || status=$?
    echo "Ran the tests of $dir in $((SECONDS - started)) s"
    # Each test that did not run, with its reason, and the totals; a skip with no registered
    # reason fails the suite when it runs strictly.
    python3 scripts/lib/skips.py "$dir" "$dir/junit.xml" "${strict[@]}" --lacking "$lacking" \
        || status=1
    return "$status"
}

# Each stage runs whatever the one before gave: a failure in the first hides no fault of the
# others. The script fails if any did.
status=0
echo "== build and tests =="
run_suite build/test "" -DCMAKE_BUILD_TYPE=RelWithDebInfo || status=1

# The package is built and checked from the shipping build only.
echo "== build and tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
# (The path quoted: the sanitizers split their options at blanks and colons.)
export LSAN_OPTIONS="suppressions='$PWD/tests/lsan.supp':print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# At start-up Qt 6.8 asks the desktop portal for its version and frees the pending call only when
# the answer comes. A test session has no portal, and when the program ends first LeakSanitizer
# reports those few hundred bytes as leaked (Debian 13, Qt 6.8.2; not on Qt 6.4.2 or 6.11.2).
export QT_NO_XDG_DESKTOP_PORTAL=1
# The package tests aside, and the whole lesson in a real window: its three and a half minutes
# pass through what the lessons of the unit tests, the keypad test and the monkey run here too. So
# are the layout test's runs in other makes of Tahoma and in the face that stands in for it: they
# draw the same texts through the same code as its run in the installed Tahoma, with other font
# data.
run_suite build/sanitize "-LE package -E ^(whole-lesson|TestFormLayout,.Tahoma.*)$" \
    -DCMAKE_BUILD_TYPE=Debug -DCORVALLO_SANITIZE=ON || status=1

echo "== a bounded fuzzing run of the command line =="
cmake -S . -B build/fuzz -DCORVALLO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALLO_WERROR=ON >/dev/null
cmake --build build/fuzz -j"$jobs" --target FuzzCommandLine
ctest --test-dir build/fuzz --output-on-failure -L fuzz || status=1
exit "$status"
