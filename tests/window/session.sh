# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the real-window tests and their session scripts, whatever desktop they start: how a
# test fails, skips or finds what it needs missing, and how the program's standard error is
# judged. A session that starts the program keeps its standard error in the file $app_err.

# fail WHY: the test fails, and the program's standard error, where it said anything, is shown.
fail() {
    echo "FAIL: $*" >&2
    if [ -s "${app_err:-}" ]; then
        echo "The program's stderr:" >&2
        tail -n 60 "$app_err" >&2
    fi
    exit 1
}

# skip WHY: what the test needs cannot be set up here.
skip() {
    echo "skipped: $*"
    exit 77
}

# missing WHAT: something the test needs is not installed. Under autopkgtest (AUTOPKGTEST_TMP set)
# the test's dependencies bring it, so its absence is a fault of the package; elsewhere it is only
# missing from this machine.
missing() {
    [ -z "${AUTOPKGTEST_TMP:-}" ] || fail "$*, although the test's dependencies bring it"
    skip "$*"
}

# require TOOL...: each tool is on the path.
require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || missing "$tool is not installed"
    done
}

# Lines that Qt itself writes to stderr and that say nothing about the program, by their exact
# text. Anything else the program writes fails the test.
# - Qt 6.8.2 under a headless sway with wtype's keyboard: the seat announces a keyboard whose keymap
#   is "no keymap" (format 0) before wtype has uploaded its own; Qt takes the real keymap that
#   follows, and every key of the tests is then read right.
qt_harmless_lines=(
    'qt.qpa.wayland: unknown keymap format: 0'
)

# expect_quiet WHAT: fails unless all the program wrote to stderr is Qt's harmless lines.
expect_quiet() {
    [ -r "${app_err:-}" ] || fail "$1: the program's stderr was not kept"
    if grep -q -v -x -F -f <(printf '%s\n' "${qt_harmless_lines[@]}") "$app_err"; then
        fail "$1: the program wrote to stderr"
    fi
}
