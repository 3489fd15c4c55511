# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A short seeded monkey on the real window: clicks anywhere above the quit labels, keypad keys by
# keycode with NumLock on and off, main-row digits and other keys, held keys, resizes down to one
# pixel and up to the screen. The program must stay alive throughout, write no sanitizer report,
# give the menu back after "Stop", and end with status 0 on "Basta!".
# CORVALLO_MONKEY_SEED picks the seed, CORVALLO_MONKEY_SECONDS the play time (default 45).
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

seed=${CORVALLO_MONKEY_SEED:-1}
RANDOM=$seed
seconds=${CORVALLO_MONKEY_SECONDS:-45}
keypad=(90 87 88 89 83 84 85 79 80 81)
mainrow=(19 10 11 12 13 14 15 16 17 18)
others=(38 65 36 9 104 86 82 91 23 22 110 111 113 114 116)
events=0

alive() {
    kill -0 "$app_pid" 2>/dev/null || {
        fail "the program ended after $events events (seed $seed)"
    }
}
# failed_on_screen WHY: fails, keeping the screen as it was in monkey-failed.png.
failed_on_screen() {
    import -window root monkey-failed.png
    fail "$1 (seed $seed; the screen is in $PWD/monkey-failed.png)"
}
design_size() {
    xdotool windowsize "$window" 731 544
    sleep 0.3
}

start_x
xset r on
xset r rate 250 30
CORVALLO_SEED=${CORVALLO_MONKEY_SEED:-1} start_app
click_at 366 296 # "Livello 4"

end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ]; do
    case $((RANDOM % 10)) in
    0 | 1 | 2) xdotool mousemove $((RANDOM % 731)) $((RANDOM % 400)) click $((RANDOM % 3 == 0 ? 3 : 1)) ;;
    3 | 4) xdotool key "${keypad[RANDOM % 10]}" ;;
    5) xdotool key 77 ;; # NumLock
    6) xdotool key "${mainrow[RANDOM % 10]}" "${others[RANDOM % ${#others[@]}]}" ;;
    7)
        code=${keypad[RANDOM % 10]}
        xdotool keydown "$code"
        sleep 0.$((RANDOM % 9 + 1))
        xdotool keyup "$code"
        ;;
    8) xdotool mousemove $((RANDOM % 731)) $((RANDOM % 400)) click --repeat 2 --delay 80 1 ;;
    9)
        xdotool windowsize "$window" $((RANDOM % 3 == 0 ? 1 : RANDOM % 1024 + 1)) $((RANDOM % 3 == 0 ? 1 : RANDOM % 768 + 1))
        sleep 0.$((RANDOM % 5))
        design_size
        ;;
    esac
    events=$((events + 1))
    sleep 0.0$((RANDOM % 10))
    alive
done

# Whether "Stop" is drawn: any pixel of its box not black (grep reads to the end: a pipe cut short
# would fail the pipeline).
stop_shown() {
    # shellcheck disable=SC2046
    [ "$(area_text $(place area stop) | tail -n +2 | grep -c -v '#000000')" != 0 ]
}
stop_hidden() {
    ! stop_shown
}
# Whether the menu is drawn: the border of "Livello 1".
menu_shown() {
    [ "$(pixel 235 100)" = 192,255,192 ]
}
# until_screen WHY COMMAND...: waits up to 20 s for COMMAND to hold (a busy machine may take some
# seconds), and fails with WHY and the screen where it never does.
until_screen() {
    local why=$1 i
    shift
    for i in $(seq 200); do
        "$@" && return 0
        sleep 0.1
    done
    failed_on_screen "$why"
}

# What the monkey did last and the program holds within a pause is taken first: the longest pause
# lasts 3 s, at level 1 (a level clicked now would hide the menu that the resize below shows).
sleep 4
# A resize shows the menu; "Livello 1" (no digit pad to cover "Stop") stops whatever runs and
# starts a lesson, "Stop" ends it and the menu comes back. Each size is given the time to reach the
# program: two sizes in one go may reach it as one, the same as before, which is no resize.
xdotool windowsize "$window" 700 500
sleep 0.3
design_size
until_screen "the menu did not come with the resize" menu_shown
# Past the double-click interval: a click within 400 ms of the monkey's last one, near it, would be
# taken as the second half of a double click, which starts no lesson.
sleep 0.5
menu_shown || failed_on_screen "the menu went away before it was clicked"
click_at 366 100
# The lesson that ran returns first, then "Stop" hides until the new one starts a second later; a
# click before that would find nothing to press. A busy machine may take some seconds for both.
until_screen '"Stop" is not hidden' stop_hidden
until_screen '"Stop" is not shown' stop_shown
alive
! menu_shown || fail "the menu stays up while a lesson runs"
click_at 700 530
# Within a pause the window takes no input.
until_screen "the menu did not come back after Stop" menu_shown
alive
click_at 366 438 # "Basta!"
wait_exit 5
[ "$exit_status" = 0 ] || fail "after Basta! the program gave '$exit_status', expected 0"
expect_quiet "after the monkey"
echo "PASS: $events events, program alive throughout, menu back after Stop, status 0"
