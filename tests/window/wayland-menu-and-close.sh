# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Under Wayland the program opens its window with app_id "corvallo", draws the level menu centred
# in it, and ends with status 0 within one second of sway's close: five times in the menu, and in
# a level-4 lesson as the question fades in, while an answer is awaited, while a keypad key is
# held, and while "NO!" shows; and at output scale 2 the menu is at the same logical places.
source "${CORVALLO_TESTS:?}/sway-session.sh"

closes=()
# close_now MOMENT: sway's close ends the program with status 0 within one second.
close_now() {
    kill -0 "$app_pid" 2>/dev/null || fail "$1: the program ended before the close"
    close_window
    [ "$exit_status" = 0 ] || fail "$1: status '$exit_status' ${close_ms} ms after the close, expected 0"
    expect_quiet "$1"
    closes+=("$1 ${close_ms} ms")
}

start_sway
start_devices
export CORVALLO_SEED=1

start_app
as_user swaymsg -t get_tree | grep -q '"name": "Corvallo"' || fail "the window's title is not Corvallo"
screenshot "$work/menu.ppm"
[ "$(head -c 2 "$work/menu.ppm")" = P6 ] || fail "grim took no screenshot"
expect_menu
close_now "in the menu"
for delay in 0.1 0.4 0.7 1.0; do
    start_app
    sleep "$delay"
    close_now "in the menu after $delay s"
done

# A level-4 lesson chosen in the menu; its first question (6 x 7) fades in after about a second.
start_lesson() {
    start_app
    device click 366 296
    device move 10 300
}
start_lesson
sleep 1.5
pad_shown && fail "the pad is up 1.5 s into the lesson, before the question has faded in"
close_now "as the question fades in"
start_lesson
wait_for_pad "answer wait"
sleep 1
close_now "while an answer is awaited"
start_lesson
wait_for_pad "held key"
spawn /dev/null "$work/held.err" wtype -P KP_3 -s 3000 -p KP_3
held=$spawned
pids+=("$held")
sleep 0.8
close_now "while a keypad key is held"
wait "$held"
start_lesson
wait_for_pad "NO!"
as_user wtype -k KP_1 -s 200 -k KP_1
for _ in $(seq 40); do
    [ "$(red_pixels)" -ge 50 ] && break
    sleep 0.05
done
[ "$(red_pixels)" -ge 50 ] || fail "NO! did not show"
close_now "while NO! shows"

# At output scale 2 the menu stands at the same logical places, each logical pixel of a border two
# by two device pixels of its colour.
as_user swaymsg -q output HEADLESS-1 mode 1462x1088 scale 2
for _ in $(seq 100); do
    as_user swaymsg -t get_outputs | grep -q '"scale": 2' && break
    sleep 0.05
done
as_user swaymsg -t get_outputs | grep -q '"scale": 2' || fail "sway's output did not take scale 2"
start_app
screenshot "$work/menu-2x.ppm"
[ "$(head -n 2 "$work/menu-2x.ppm" | tail -n 1)" = "1462 1088" ] || fail "the output at scale 2 is not 1462 x 1088 device pixels"
expect_menu 4
close_now "in the menu at scale 2"

printf 'closed %s\n' "${closes[@]}"
echo "PASS: menu drawn, ${#closes[@]} closes each ended with status 0 within 1 s"
