# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the real-window tests: starts an X server of their own (no window manager) and
# offers a few helpers. Needs Xvfb, xdotool, xset and ImageMagick's import and convert.
set -euo pipefail

corvallo_bin=${CORVALLO_BIN:?CORVALLO_BIN names the program under test}
work=$(mktemp -d)
xvfb_pid=
app_pid=

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb, with a screen of $xvfb_screen if set, on a display number that the server finds
# free itself: a server of another session (another mount namespace, another /tmp) shows no lock
# file here but still holds its display's abstract socket, and a display chosen by the lock files
# alone would connect this test to that server.
start_x() {
    local n
    Xvfb -displayfd 3 -screen 0 "${xvfb_screen:-1024x768x24}" -nolisten tcp -noreset \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        n=$(cat "$work/display")
        if [ -n "$n" ]; then
            export DISPLAY=":$n"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$work/xvfb.log" >&2
    fail "no X server could be started"
}

# Starts the program with the given arguments and waits for its window to be mapped.
start_app() {
    unset QT_QPA_PLATFORM
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    "$corvallo_bin" "$@" >"$work/app.out" 2>"$work/app.err" &
    app_pid=$!
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name '^Corvallo$' 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && { sleep 0.3; return 0; }
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "display $DISPLAY; program $(kill -0 "$app_pid" 2>/dev/null && echo running || echo ended)" >&2
    xwininfo -root -tree 2>&1 | head -n 20 >&2 || true
    cat "$work/app.err" >&2
    fail "the window did not appear"
}

# Waits up to $1 seconds for the program to end; sets exit_status to its exit status, or to
# "running" if it is still running. (Not in a subshell: only this shell can wait for the program.)
wait_exit() {
    local limit=$1 i
    exit_status=running
    for i in $(seq $((limit * 20))); do
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
