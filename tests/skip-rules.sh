#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A skip is a skip only when the test says so and exits well, and the suite names every skip with
# its reason, failing on one that has none registered where it runs strictly. A small project of
# scripted tests, registered as the suite registers its own, is run by CTest and judged by the
# suite's own reader of skips.
#   tests/skip-rules.sh [SOURCE_FOLDER]     default: the tree this script is in
set -euo pipefail
source_dir=$(realpath "${1:-$(dirname "$(realpath "$0")")/..}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what" >&2
        failures=$((failures + 1))
    fi
}

# Each row: a test's name, what it prints, how it exits, and the result CTest must record, as
# its JUnit report names it ("run", "fail", "notrun" for a skip).
rows=(
    "passes|Totals: 3 passed, 0 failed, 0 skipped, 0 blacklisted, 5ms|exit 0|run"
    "only skips|Totals: 0 passed, 0 failed, 1 skipped, 0 blacklisted, 5ms|exit 0|notrun"
    "skips and exits 1|Totals: 0 passed, 0 failed, 1 skipped, 0 blacklisted, 5ms|exit 1|fail"
    "skips and crashes|Totals: 0 passed, 0 failed, 1 skipped, 0 blacklisted, 5ms|kill -SEGV \$\$|fail"
    "fails and exits 77|Totals: 0 passed, 1 failed, 0 skipped, 0 blacklisted, 5ms|exit 77|fail"
    "passes and skips|Totals: 2 passed, 0 failed, 1 skipped, 0 blacklisted, 5ms|exit 0|notrun"
)
{
    echo "cmake_minimum_required(VERSION 3.25)"
    echo "project(skip_rules NONE)"
    echo "enable_testing()"
    echo "include($source_dir/tests/support/TestRegistration.cmake)"
    for row in "${rows[@]}"; do
        IFS='|' read -r name says ends _ <<<"$row"
        # (No semicolon in the command: CMake would split the argument there.)
        echo "corvallo_add_test_run(\"$name\" COMMAND bash -c \"echo '$says' && $ends\")"
    done
    # Scripts that skip: one with a registered reason, one whose message is another.
    for name in registered unregistered; do
        echo "add_test(NAME $name COMMAND bash -c \"echo 'skipped: no X server could be started'; exit 77\")"
        echo "set_tests_properties($name PROPERTIES SKIP_RETURN_CODE 77)"
    done
    # A test that skips twice, with leave for its first skip only.
    echo "add_test(NAME partly COMMAND bash -c \"echo 'SKIP   : T::a() no X server' && echo 'SKIP   : T::b() no font' && exit 77\")"
    echo "set_tests_properties(partly PROPERTIES SKIP_RETURN_CODE 77)"
    echo "corvallo_may_skip(partly \"no X server\" \"a test of the rules\")"
    echo "corvallo_may_skip(registered \"no X server\" \"a test of the rules\")"
    echo "corvallo_may_skip(unregistered \"no mount namespace\" \"a test of the rules\")"
    echo "corvallo_not_applicable(elsewhere \"it runs on another system\")"
} >"$work/CMakeLists.txt"
cmake -S "$work" -B "$work/build" >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log" >&2; exit 1; }
ctest --test-dir "$work/build" --output-junit junit.xml >"$work/ctest.log" 2>&1 || true

# result NAME: the result CTest recorded for the test.
result() {
    python3 - "$work/build/junit.xml" "$1" <<'PYTHON'
import sys, xml.etree.ElementTree as ElementTree
for case in ElementTree.parse(sys.argv[1]).getroot().iter("testcase"):
    if case.get("name") == sys.argv[2]:
        print(case.get("status"))
PYTHON
}
for row in "${rows[@]}"; do
    IFS='|' read -r name _ _ expected <<<"$row"
    recorded=$(result "$name")
    check "$name: $expected (recorded: ${recorded:-nothing})" test "$recorded" = "$expected"
done

# The reader of skips: strictly it fails and names the unregistered skip; otherwise it names it
# and passes. Either way it names the registered skip and the test that does not apply, with their
# reasons, and gives the totals with what the set-up lacked.
reader=$source_dir/scripts/lib/skips.py
status=0
python3 "$reader" "$work/build" "$work/build/junit.xml" --strict --lacking "sway" >"$work/strict.log" \
    || status=$?
check "strictly, an unregistered skip fails (exit $status)" test "$status" = 1
check "strictly, the unregistered skip is named" \
    grep -q '^skipped with no registered reason (FAIL): unregistered: skipped: no X server' "$work/strict.log"
check "a second skip with no leave of its own is named" \
    grep -q '^skipped with no registered reason (FAIL): partly: SKIP   : T::b() no font$' "$work/strict.log"
check "the registered skip is named with its reason" \
    grep -q '^skipped: registered: skipped: no X server could be started (may skip: a test of the rules)$' \
    "$work/strict.log"
check "the test that does not apply is named with its reason" \
    grep -q '^not applicable: elsewhere: it runs on another system$' "$work/strict.log"
check "the totals count each result" grep -q \
    '^1 passed, 3 failed, 6 skipped (4 with no registered reason); the set-up could not install sway$' \
    "$work/strict.log"
status=0
python3 "$reader" "$work/build" "$work/build/junit.xml" >"$work/lenient.log" || status=$?
check "not strictly, an unregistered skip passes (exit $status)" test "$status" = 0
check "not strictly, the unregistered skip is still named" \
    grep -q '^skipped with no registered reason (not allowed where everything is installed): unregistered:' \
    "$work/lenient.log"
if [ "$failures" -gt 0 ]; then
    echo "The reader said:" >&2
    cat "$work/strict.log" >&2
    exit 1
fi
