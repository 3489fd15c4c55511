# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The first five questions of a level-4 lesson under Wayland, answered through wtype's virtual
# keyboard and through a keyboard with the standard keymap, NumLock on and off, one of them
# wrongly, one through clicks on the digit pad; main-row digits given on the way do nothing, and
# a key held for over a second gives one digit. After each answer the status line must have
# counted it: a right one changes the remaining and right counts and leaves the wrong count, a
# wrong one the reverse.
source "${CORVALLO_TESTS:?}/sway-session.sh"

# The status line is read word by word from its pixels, which the design's font spaces apart.
[ -e /usr/share/wine/fonts/tahoma.ttf ] || [ -e /usr/share/fonts/truetype/wine/tahoma.ttf ] \
    || skip "Tahoma (fonts-wine) is not installed: the status line is read in it alone"

export CORVALLO_SEED=1
mapfile -t questions < <("${CORVALLO_QUESTION_ORDER:?}")
[ "${#questions[@]}" = 64 ] || fail "the question order has ${#questions[@]} questions"

# Keysyms of the keypad's digits with NumLock off, and evdev codes of the keypad's and the main
# row's digit keys.
numlock_off_keysym=(KP_Insert KP_End KP_Down KP_Next KP_Left KP_Begin KP_Right KP_Home KP_Up KP_Prior)
keypad_code=(82 79 80 81 75 76 77 71 72 73)
main_row_code=(11 2 3 4 5 6 7 8 9 10)

# The status line as words ("Rimanenti:", its count, "Giusti:", its count, ...), each given as a
# fingerprint of its pixels. A count's fingerprint changes when its text changes; the labels'
# stay put, as the digits of the counts are all equally wide.
cat >"$work/words.py" <<'EOF'
import hashlib, sys
data = sys.stdin.buffer.read()
fields = data.split(maxsplit=4)  # P6 width height 255 pixels
width, height = int(fields[1]), int(fields[2])
pixels = fields[4][len(fields[4]) - width * height * 3:]
def lit(x, y):
    r, g, b = pixels[3 * (y * width + x):3 * (y * width + x) + 3]
    return g >= 64 and r < 64 and b < 64
words, word, gap = [], [], 0
for x in range(width + 3):
    column = tuple(y for y in range(height) if x < width and lit(x, y))
    gap = 0 if column else gap + 1
    if column:
        word.append(column)
    elif word and gap >= 3:
        words.append(word)
        word = []
print(" ".join(hashlib.md5(repr(w).encode()).hexdigest()[:10] for w in words))
EOF
status_words() {
    screenshot "$work/status.ppm" 0 526 440 18
    python3 "$work/words.py" <"$work/status.ppm"
}
# counted WHAT BEFORE AFTER right|wrong: checks how the status line changed with one answer.
counted() {
    local what=$1 outcome=$4
    local -a before after
    read -ra before <<<"$2"
    read -ra after <<<"$3"
    [ "${#after[@]}" -ge 7 ] || fail "$what: the status line shows ${#after[@]} words"
    [ "${after[0]} ${after[2]} ${after[4]}" = "${before[0]} ${before[2]} ${before[4]}" ] \
        || fail "$what: the status line's labels moved"
    local remaining=same right=same wrong=same
    [ "${after[1]}" = "${before[1]}" ] || remaining=changed
    [ "${after[3]}" = "${before[3]}" ] || right=changed
    [ "${after[5]}" = "${before[5]}" ] || wrong=changed
    local got="remaining $remaining, right $right, wrong $wrong"
    case $outcome in
    right) [ "$got" = "remaining changed, right changed, wrong same" ] ;;
    wrong) [ "$got" = "remaining same, right same, wrong changed" ] ;;
    esac || fail "$what: counted as '$got', expected a $outcome answer"
    echo "$what: status line $got"
}
# The answer is judged: the pad goes down, "NO!" shows for a wrong answer only, and the next
# question's pad comes up with the status line rewritten.
judged() {
    local what=$1 outcome=$2 words
    await "$what" hidden
    sleep 0.3
    if [ "$outcome" = wrong ]; then
        [ "$(red_pixels)" -ge 50 ] || fail "$what: no NO! for the wrong answer"
    else
        [ "$(red_pixels)" -lt 50 ] || fail "$what: judged wrong"
    fi
    await "the question after $what" shown
    words=$(status_words)
    counted "$what" "$status" "$words" "$outcome"
    status=$words
}
question() {
    read -r a b <<<"${questions[$1]}"
    answer=$((a * b))
    [ "$answer" -gt 9 ] || fail "question $(($1 + 1)), $a x $b, has a one-digit answer"
    first=${answer:0:1} second=${answer:1:1}
}
# lit_while_held DIGIT WHAT: the digit's label is blue while its key is held for 1.5 s, and
# the pad still waits for the second digit.
lit_while_held() {
    local x y
    read -r x y < <(digit_back "$1")
    sleep 0.4
    [ "$(pixel "$x" "$y")" = "0,0,255" ] || fail "$2: the $1 is not lit while its key is held"
    sleep 1.1
    [ "$(pixel "$x" "$y")" = "0,0,255" ] || fail "$2: the $1 went dark while its key was held"
    pad_shown || fail "$2: the held key gave more than one digit"
}
released() {
    local x y
    read -r x y < <(digit_back "$1")
    sleep 0.3
    [ "$(pixel "$x" "$y")" = "0,0,0" ] || fail "$2: the $1 stayed lit after its key was released"
    pad_shown || fail "$2: the held key gave more than one digit"
}

start_sway
start_devices
start_app
device click 366 296 # "Livello 4"
device move 10 300

# 1: wtype's keypad digits, after main-row digits from both keyboards.
question 0
await "question 1" shown
status=$(status_words)
as_user wtype -k "$second"
device key "${main_row_code[$second]}"
sleep 0.3
as_user wtype -k "KP_$first"
sleep 0.2
as_user wtype -k "KP_$second"
judged "question 1 ($a x $b), wtype's keypad after main-row digits" right

# 2: wtype's keypad keys as NumLock off names them, a wrong answer.
question 1
wrong=$((answer == 11 ? 12 : 11))
as_user wtype -k "${numlock_off_keysym[${wrong:0:1}]}"
sleep 0.2
as_user wtype -k "${numlock_off_keysym[${wrong:1:1}]}"
judged "question 2 ($a x $b), answered $wrong with NumLock off through wtype" wrong

# 3: the standard keymap with NumLock on; the first digit held for 1.5 s.
question 2
device numlock on
device press "${keypad_code[$first]}"
lit_while_held "$first" "question 3"
device release "${keypad_code[$first]}"
released "$first" "question 3"
device key "${keypad_code[$second]}"
judged "question 3 ($a x $b), standard keymap with NumLock on, a held key" right

# 4: wtype holds the first digit as NumLock off names it; the standard keymap with NumLock off.
question 3
# (wtype holds it for 2.5 s, well past the last look at 1.5 s.)
spawn /dev/null "$work/held.err" wtype -P "${numlock_off_keysym[$first]}" -s 2500 \
    -p "${numlock_off_keysym[$first]}"
held=$spawned
pids+=("$held")
lit_while_held "$first" "question 4"
wait "$held"
released "$first" "question 4"
device numlock off
device key "${keypad_code[$second]}"
judged "question 4 ($a x $b), wtype held, standard keymap with NumLock off" right

# 5: clicks on the digit pad.
question 4
for digit in "$first" "$second"; do
    read -r x y < <(digit_centre "$digit")
    device click "$x" "$y"
    sleep 0.3
done
device move 10 300
judged "question 5 ($a x $b), clicks on the digit pad" right

close_window
[ "$exit_status" = 0 ] || fail "sway's close gave '$exit_status' within ${close_ms} ms, expected 0"
expect_quiet "after the lesson"
echo "PASS: five questions answered under Wayland, closed in the sixth after ${close_ms} ms"
