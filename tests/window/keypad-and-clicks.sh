# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Digits given through the numeric keypad, as physical keys with NumLock on and off, through a
# held key, and through two quick clicks on one digit label, during the first questions of a
# level-4 lesson. A lost digit keeps the digit pad up until the wait runs out; a doubled one
# turns a right answer into "NO!". With seed 1 the first questions are 6 x 7, 5 x 5, 7 x 9 and
# 6 x 6.
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

numlock() {
    local want=$1 now
    now=$(xset q | sed -nE 's/.*Num Lock: *(on|off).*/\1/p')
    [ "$now" = "$want" ] || xdotool key 77
    now=$(xset q | sed -nE 's/.*Num Lock: *(on|off).*/\1/p')
    [ "$now" = "$want" ] || fail "NumLock could not be turned $want"
}

# The pad goes down within two seconds of the last digit, and no "NO!" or "Tempo!" follows.
expect_right() {
    local question=$1 i gone=
    for i in $(seq 20); do
        pad_shown || { gone=1; break; }
        sleep 0.1
    done
    [ -n "$gone" ] || fail "$question: still waiting for a digit (one was lost)"
    for i in $(seq 10); do
        [ "$(red_pixels)" -lt 50 ] || fail "$question: the answer was judged wrong (a digit doubled or misread)"
        sleep 0.1
    done
}

start_x
xset r on
xset r rate 250 30
xset q | grep -q 'auto repeat: *on' || fail "auto-repeat is off"

CORVALLO_SEED=1 start_app
click_at 366 296 # "Livello 4"
xdotool mousemove 60 450

# 6 x 7 with NumLock on: Qt sees keypad 4 and 2.
numlock on
wait_for_pad "6 x 7"
xdotool key "$(kp 4)"
sleep 0.3
pad_shown || fail "6 x 7: the pad closed after one digit"
xdotool key "$(kp 2)"
expect_right "6 x 7, NumLock on"

# 5 x 5 with NumLock off: Qt sees the keypad's Down and Clear.
numlock off
wait_for_pad "5 x 5"
xdotool key "$(kp 2)"
sleep 0.3
pad_shown || fail "5 x 5: the pad closed after one digit"
xdotool key "$(kp 5)"
expect_right "5 x 5, NumLock off"

# 7 x 9: keypad 6 held for well over the auto-repeat delay lights its label and gives one digit.
numlock on
wait_for_pad "7 x 9"
read -r x y < <(digit_back 6)
xdotool keydown "$(kp 6)"
sleep 0.4
[ "$(pixel "$x" "$y")" = "0,0,255" ] || fail "7 x 9: the 6 is not lit while its key is held"
sleep 0.8
[ "$(pixel "$x" "$y")" = "0,0,255" ] || fail "7 x 9: the 6 went dark while its key was still held"
pad_shown || fail "7 x 9: the held key gave more than one digit"
xdotool keyup "$(kp 6)"
sleep 0.3
[ "$(pixel "$x" "$y")" = "0,0,0" ] || fail "7 x 9: the 6 stayed lit after its key was released"
pad_shown || fail "7 x 9: the held key gave more than one digit"
xdotool key "$(kp 3)"
expect_right "7 x 9, held key"

# 6 x 6: two quick clicks on the "3" (Qt reports the second as a double click) answer 33 at
# once; had the second click been lost, the pad would wait for a second digit.
wait_for_pad "6 x 6"
read -r x y < <(digit_centre 3)
xdotool mousemove "$x" "$y"
sleep 0.2
xdotool click --repeat 2 --delay 150 1
answered=
for _ in $(seq 20); do
    if ! pad_shown && [ "$(red_pixels)" -ge 50 ]; then
        answered=1
        break
    fi
    sleep 0.1
done
[ -n "$answered" ] || fail "6 x 6: two quick clicks on the 3 did not give two digits"
expect_quiet "after the answers"

echo "PASS"
