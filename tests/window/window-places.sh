# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Places of the window at its design size that the X11 and the Wayland tests both look at: the
# digit pad and the message. Sourced by the session scripts, which give pixel and area_text.

# Whether the digit pad is up: a point on the top border of the "8" key, light blue while shown.
pad_shown() {
    [ "$(pixel 580 187)" = "128,128,255" ]
}

# wait_for_pad WHAT: waits up to 20 s for the digit pad.
wait_for_pad() {
    local i
    for i in $(seq 400); do
        pad_shown && return 0
        sleep 0.05
    done
    fail "$1: the digit pad did not appear"
}

# await WHAT shown|hidden: waits up to 20 s for the digit pad to be shown or hidden.
await() {
    local what=$1 want=$2 i
    for i in $(seq 400); do
        if pad_shown; then [ "$want" = shown ] && return 0; else [ "$want" = hidden ] && return 0; fi
        sleep 0.05
    done
    fail "$what: the digit pad is not $want"
}

# digit_back D: the lower left inside corner of digit D's key (its back colour); digit_centre D: a
# point in the middle of the key.
digit_back() {
    local col row
    case $1 in
    0) col=0 row=3 ;;
    *) col=$((($1 - 1) % 3)) row=$((2 - ($1 - 1) / 3)) ;;
    esac
    echo "$((443 + col * 96)) $((265 + row * 88))"
}
digit_centre() {
    local x y
    read -r x y < <(digit_back "$1")
    echo "$((x + 42)) $((y - 37))"
}

# Pure red pixels where "NO!" and "Tempo!" are written.
red_pixels() {
    area_text 150 190 280 110 | grep -c '(255,0,0)' || true
}

# expect_menu [N]: the borders of the level menu in their colours where the centred menu puts them,
# and black around it and where "Stop" hides until a lesson; N device pixels make each logical
# pixel (1, or 4 at scale 2).
expect_menu() {
    local n=${1:-1} x y colour what count
    while read -r x y colour what; do
        count=$(area_text "$x" "$y" 1 1 | grep -c "($colour)" || true)
        [ "$count" = "$n" ] || fail "$count of the $n pixels of $x,$y ($what) are $colour"
    done <<'POINTS'
235 100 192,255,192 the left edge of Livello 1
497 100 192,255,192 the right edge of Livello 1
235 349 255,0,0 the left edge of Livello 5
275 434 192,192,255 the left edge of Basta!
20 20 0,0,0 the background
700 535 0,0,0 where Stop hides until a lesson
POINTS
}
