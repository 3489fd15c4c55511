# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Places of the window at its design size that the X11 and the Wayland tests both look at: the
# digit pad and the message. Sourced by the session helpers, which give pixel, area_text and fail.

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
