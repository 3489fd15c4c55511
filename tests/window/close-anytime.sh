# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The window is closed as a window manager's close button closes it (the WM_DELETE_WINDOW
# message of WM_PROTOCOLS), twenty times at different moments: in the menu, with a lesson armed,
# while the question fades in, while the dots are drawn, while an answer is awaited or a key is
# held, while "NO!" shows, in the pauses that end a question. Each time the program must end with
# status 0 within one second and leave no process behind.
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

wm_close() {
    /usr/bin/python3 "$CORVALLO_TESTS/wm-close.py" "$@"
}

# Whether a process of the program that this test started is still there: such a process alone
# carries the test's runtime folder in its environment, where another run of the suite, on this
# machine at the same time, has its own.
program_left() {
    local pid
    for pid in $(pgrep -f "^$corvallo_bin|[\\/]$(basename "$corvallo_bin")( |$)" || true); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "XDG_RUNTIME_DIR=$work/runtime" \
            && return 0
    done
    return 1
}

closes=0
# close_now MOMENT: closes the window and expects the program gone with status 0 within 1 s.
close_now() {
    local moment=$1 pid=$app_pid started took
    kill -0 "$pid" 2>/dev/null || fail "$moment: the program ended before the close"
    started=$(date +%s.%N)
    wm_close "$window"
    wait_exit 1
    took=$(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }')
    [ "$exit_status" = 0 ] || fail "$moment: status '$exit_status' $took s after the close (allowed: 1 s + $exit_allowance s), expected 0"
    ! program_left || fail "$moment: a process of the program is left"
    expect_quiet "$moment"
    closes=$((closes + 1))
    echo "closed $moment, ended in $took s"
}

start_x
wm_close --self-test || fail "the close helper does not send WM_DELETE_WINDOW"
numlock_on() {
    xset q | grep -q 'Num Lock: *on' || xdotool key 77
}
numlock_on
export CORVALLO_SEED=1

# In the menu, at once and after a while.
start_app
close_now "in the menu"
start_app
sleep 0.7
close_now "in the menu after a while"

# A level armed from the command line, its lesson not yet started.
start_app 1
close_now "with a lesson armed"

# Level 1 runs at 10 ms per pause unit: the factors fade in during the first seconds, then the
# dots are drawn row by row, then the product, the fade-out, the blink and the pauses.
for delay in 1.2 1.7 2.3 3.0 4.0 5.5 7.0 8.5 10.0 11.5 13.0; do
    start_app 1
    sleep "$delay"
    close_now "level 1, $delay s into the lesson"
done

# Level 3 shows its first question at 6 ms per unit, without asking.
for delay in 2.5 4.5; do
    start_app 3
    sleep "$delay"
    close_now "level 3, $delay s into the lesson"
done

# Level 4: as soon as the answer is awaited, in the middle of the wait, with a key held down.
start_app 4
wait_for_pad "answer wait"
close_now "as the answer wait begins"
start_app 4
wait_for_pad "answer wait"
sleep 2
close_now "in the middle of the answer wait"
start_app 4
wait_for_pad "held key"
xdotool keydown "$(kp 3)"
sleep 0.8
close_now "while a keypad key is held"
xdotool keyup "$(kp 3)"

# "NO!": the first question (6 x 7) answered 11. The lesson is chosen in the menu, which then
# hides (a level from the command line leaves the menu over the message).
start_app
click_at 366 296
wait_for_pad "NO!"
xdotool key "$(kp 1)"
sleep 0.3
xdotool key "$(kp 1)"
for _ in $(seq 20); do
    [ "$(red_pixels)" -ge 50 ] && break
    sleep 0.05
done
[ "$(red_pixels)" -ge 50 ] || fail "NO! did not show"
close_now "while NO! shows"

[ "$closes" = 20 ] || fail "$closes closes tried, expected 20"
echo "PASS: 20 closes, each ended with status 0 within 1 s"
