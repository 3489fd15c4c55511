# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the real-window tests: starts an X server of their own (no window manager) and
# offers a few helpers. Needs Xvfb, xdotool, xset and ImageMagick's import and convert.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
corvallo_bin=${CORVALLO_BIN:?CORVALLO_BIN names the program under test}
# A program built for another system runs through CORVALLO_RUNNER (for Windows, Wine), which also
# takes longer to end a process: CORVALLO_EXIT_ALLOWANCE seconds, as it takes for a bare Qt window.
runner=${CORVALLO_RUNNER:-}
exit_allowance=${CORVALLO_EXIT_ALLOWANCE:-0}
require Xvfb xdotool xdpyinfo xset xwininfo import convert
work=$(mktemp -d)
app_err=$work/app.err
xvfb_pid=
app_pid=

# The program runs in a process group of its own, with whatever its runner started.
cleanup() {
    [ -n "$app_pid" ] && { kill -- "-$app_pid" 2>/dev/null || kill "$app_pid" 2>/dev/null; } || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Whether an X server already has display :$1. Its lock file shows only in this file system; in a
# chroot, a server outside it is seen only by its abstract socket, which clients try first.
display_taken() {
    [ -e "/tmp/.X$1-lock" ] || grep -qF "@/tmp/.X11-unix/X$1" /proc/net/unix 2>/dev/null
}

# Starts Xvfb, with a screen of $xvfb_screen and the options in $xvfb_options if set, on the first
# free display number from 90 on, and makes sure that the server which answers there is this one.
# Where no X server can be started at all, the test is skipped.
start_x() {
    local n
    for n in $(seq 90 140); do
        display_taken "$n" && continue
        Xvfb ":$n" -screen 0 "${xvfb_screen:-1024x768x24}" ${xvfb_options:-} -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            if xdpyinfo >/dev/null 2>&1; then
                sleep 0.2
                kill -0 "$xvfb_pid" 2>/dev/null || break
                # What a runner keeps between programs (Wine's server and desktop) belongs to
                # the X server of an earlier test: this test's programs start without it.
                [ -z "$runner" ] || "$runner" --fresh
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    done
    cat "$work/xvfb.log" >&2
    skip "no X server could be started"
}

# kp D: the X keycode of keypad digit D (evdev); what it means depends on NumLock, not on xdotool.
kp() {
    local codes=(90 87 88 89 83 84 85 79 80 81)
    echo "${codes[$1]}"
}

# area_text X Y W H: the pixels of that area of the screen, one a line, as ImageMagick's text.
area_text() {
    import -window root -crop "${3}x${4}+${1}+${2}" -depth 8 txt:-
}

# Starts the program with the given arguments and waits for its window, titled window_title
# (Corvallo unless set), to be mapped.
start_app() {
    # The program runs on this X server even when the tests are started from a Wayland desktop;
    # through a runner it is another system's program, and takes that system's Qt platform.
    if [ -z "$runner" ]; then
        export QT_QPA_PLATFORM=xcb
    else
        unset QT_QPA_PLATFORM
    fi
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    # A UTF-8 locale, as every desktop session has.
    LC_ALL=C.UTF-8 setsid -w ${runner:+"$runner"} "$corvallo_bin" "$@" >"$work/app.out" 2>"$app_err" &
    app_pid=$!
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name "^${window_title:-Corvallo}\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$window" ] && [ -n "$runner" ]; then
            # Another system places a new window itself: the tests expect it at the origin.
            xdotool windowmove "$window" 0 0
        fi
        [ -n "$window" ] && { sleep 0.3; return 0; }
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "display $DISPLAY; program $(kill -0 "$app_pid" 2>/dev/null && echo running || echo ended)" >&2
    xwininfo -root -tree 2>&1 | head -n 20 >&2 || true
    fail "the window did not appear"
}

# Waits up to $1 seconds, and the runner's allowance, for the program to end; sets exit_status to
# its exit status, or to "running" if it is still running. (Not in a subshell: only this shell can
# wait for the program.)
wait_exit() {
    local limit=$1 i
    exit_status=running
    for i in $(seq "$(awk -v l="$limit" -v a="$exit_allowance" 'BEGIN { print int((l + a) * 20) }')"); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            exit_status=0
            wait "$app_pid" || exit_status=$?
            app_pid=
            return 0
        fi
        sleep 0.05
    done
}

# The colour of one screen pixel as "r,g,b".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 \
        | sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

# Clicks at window pixel ($1, $2); the window sits at the screen's origin without a window manager.
click_at() {
    xdotool mousemove "$1" "$2" click 1
}

source "$(dirname "${BASH_SOURCE[0]}")/window-places.sh"
