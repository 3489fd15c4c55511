# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A whole level-5 lesson played in the real window: every answer through the keypad, one
# through clicks on the digit pad, two answered wrongly and asked again at the end in their
# order. Then the menu comes back with the status line, and "Stop" ends the program.
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

export CORVALLO_SEED=5
# The X server first: under Wine, the first Windows program of a session sets the desktop that
# the next ones draw on, and the question order is one.
start_x
mapfile -t questions < <(${runner:+"$runner"} "${CORVALLO_QUESTION_ORDER:?}" | tr -d '\r')
[ "${#questions[@]}" = 64 ] || fail "the question order has ${#questions[@]} questions"

# give N DIGITS [clicks]: the digits one tick apart at least, by keypad or by clicks.
give() {
    local digits=$1 how=${2:-keys} d x y
    for ((i = 0; i < ${#digits}; i++)); do
        d=${digits:i:1}
        if [ "$how" = clicks ]; then
            read -r x y < <(digit_centre "$d")
            click_at "$x" "$y"
        else
            xdotool key "$(kp "$d")"
        fi
        sleep 0.2
    done
}

xset q | grep -q 'Num Lock: *on' || xdotool key 77
start_app
click_at 366 356 # "Livello 5"

asked=("${questions[@]}" "${questions[0]}" "${questions[9]}")
for n in "${!asked[@]}"; do
    read -r a b <<<"${asked[$n]}"
    await "question $((n + 1)), $a x $b" shown
    answer=$((a * b))
    how=keys
    case $n in
    0 | 9) answer=$((answer > 9 ? 11 : 1)) ;;
    2) how=clicks ;;
    esac
    give "$answer" "$how"
    await "question $((n + 1)) answered $answer" hidden
    if [ "$n" = 0 ] || [ "$n" = 9 ]; then
        [ "$(red_pixels)" -ge 50 ] || fail "question $((n + 1)): no NO! for the wrong answer"
    fi
done

# The menu comes back once every question was answered right, and asks nothing more.
for _ in $(seq 200); do
    [ "$(pixel 235 100)" = "192,255,192" ] && break
    sleep 0.05
done
[ "$(pixel 235 100)" = "192,255,192" ] || fail "the menu did not come back after the lesson"
sleep 1.5
! pad_shown || fail "a question was asked after the last one"
# shellcheck disable=SC2046
green=$(area_text $(place area status) | grep -c '(0,128,0)' || true)
[ "$green" -ge 20 ] || fail "the status line is not shown after the lesson"

click_at 700 534 # "Stop" in the menu ends the program
wait_exit 2
[ "$exit_status" = 0 ] || fail "Stop after the lesson gave '$exit_status', expected 0"
expect_quiet "after the lesson"
echo "66 questions answered, 2 wrong ones asked again, menu back, Stop ended the program"
