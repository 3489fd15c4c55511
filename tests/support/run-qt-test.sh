#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs one Qt Test and tells CTest its result by the exit status alone. A Qt Test whose functions
# skip still exits 0: when its totals count a skip and no failure, this exits 77, which CTest
# takes for a skip. Any other status stands as the test gave it, so a test that fails or crashes
# after its totals fails whatever they said; a test's own 77 becomes 1, lest it pass for a skip.
#   run-qt-test.sh COMMAND [ARGUMENT...]     COMMAND with the build's emulator first, where any
set -uo pipefail

output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
case $status in
0)
    totals=$(grep -E '^Totals: ' "$output" | tail -n 1)
    if [[ $totals =~ ^Totals:\ [0-9]+\ passed,\ 0\ failed,\ [1-9][0-9]*\ skipped ]]; then
        exit 77
    fi
    exit 0
    ;;
77)
    echo "The test exited with 77, which CTest would count as a skip: it failed."
    exit 1
    ;;
*) exit "$status" ;;
esac
