#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Started as from Explorer or a shortcut, with no standard handles and no console, the Windows
# program shows its help, its version and a refused level in a message box titled "Corvallo";
# pressing Enter on it ends the program with the status it has from a console. The box's text is
# read back from the box itself (by the runner); CORVALLO_SCREENSHOTS names a folder for pictures.
source "$(dirname "$0")/xvfb-session.sh"
[ -n "$runner" ] || skip "message boxes are the Windows program's: on Linux the text goes to the terminal"

start_x
# message_box STATUS TEXT ARGUMENT...: the box shows TEXT, and Enter ends the program with STATUS.
message_box() {
    local status=$1 text=$2 box=
    shift 2
    : >"$work/box.out"
    LC_ALL=C.UTF-8 CORVALLO_NO_STD_HANDLES=1 setsid -w "$runner" "$corvallo_bin" "$@" \
        >"$work/box.out" 2>"$app_err" &
    app_pid=$!
    for _ in $(seq 600); do
        grep -q '^message box: ' "$work/box.out" && box=$(xdotool search --onlyvisible --name '^Corvallo$' | head -n 1)
        [ -n "$box" ] && break
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$box" ] || fail "$*: no message box appeared (the runner read: $(cat "$work/box.out"))"
    grep -qx 'message box: Corvallo' "$work/box.out" || fail "$*: the box is not titled Corvallo"
    grep -qF -- "$text" "$work/box.out" || fail "$*: the box does not say '$text': $(cat "$work/box.out")"
    [ -z "${CORVALLO_SCREENSHOTS:-}" ] || import -window root "$CORVALLO_SCREENSHOTS/message-box$(tr -c 'a-z0-9' - <<<"$*").png"
    xdotool windowfocus --sync "$box" key Return
    wait_exit 10
    [ "$exit_status" = "$status" ] || fail "$*: after Enter on the box the program gave '$exit_status', expected $status"
    expect_quiet "$*"
    echo "$*: a message box said '$text'; Enter ended the program with status $status"
}

message_box 0 "Usage: corvallo [LEVEL]" --help
message_box 0 "corvallo 1." --version
message_box 2 '"dieci" is not a level' dieci
