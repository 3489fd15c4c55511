# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Places of the window at its design size that the X11 and the Wayland tests both look at, read
# from places.txt, which the browser's tests read too: the menu, the digit pad and the message.
# Sourced by the session scripts, which give pixel and area_text.

places_file=$(dirname "${BASH_SOURCE[0]}")/places.txt

# place KIND NAME: the fields after the name of the first such line.
place() {
    awk -v kind="$1" -v name="$2" '$1 == kind && $2 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print; exit }' \
        "$places_file"
}

read -r pad_x pad_y pad_colour _ < <(place point pad)
read -r keys_x keys_y keys_dx keys_dy < <(awk '$1 == "keys" { print $2, $3, $4, $5 }' "$places_file")
read -r message_area < <(place area message)

# Whether the digit pad is up: a point on the top border of the "8" key, light blue while shown.
pad_shown() {
    [ "$(pixel "$pad_x" "$pad_y")" = "$pad_colour" ]
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
    echo "$((keys_x + col * keys_dx)) $((keys_y + row * keys_dy))"
}
digit_centre() {
    local x y
    read -r x y < <(digit_back "$1")
    echo "$((x + 42)) $((y - 37))"
}

# Pure red pixels where "NO!" and "Tempo!" are written.
red_pixels() {
    # shellcheck disable=SC2086
    area_text $message_area | grep -c '(255,0,0)' || true
}

# expect_menu [N]: the borders of the level menu in their colours where the centred menu puts them,
# and black around it and where "Stop" hides until a lesson; N device pixels make each logical
# pixel (1, or 4 at scale 2).
expect_menu() {
    local n=${1:-1} x y colour what count
    while read -r x y colour what; do
        count=$(area_text "$x" "$y" 1 1 | grep -c "($colour)" || true)
        [ "$count" = "$n" ] || fail "$count of the $n pixels of $x,$y ($what) are $colour"
    done < <(awk '$1 == "point" && $2 == "menu" { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' "$places_file")
}
