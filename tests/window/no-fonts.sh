# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Without Tahoma (the fonts-wine folders hidden by empty folders mounted over them, in a mount
# namespace of this test's own) the program still starts and draws the menu's texts in the
# fallback font. The namespace needs root, or a user namespace of the test's own; a chroot allows
# neither a private mount namespace nor a user namespace. Where none can be had, the test is
# skipped.
if [ -z "${CORVALLO_NO_FONTS:-}" ]; then
    export CORVALLO_NO_FONTS=1
    if [ "$(id -u)" = 0 ]; then
        namespace=(unshare --mount --propagation private)
    else
        namespace=(unshare --user --map-root-user --mount --propagation private)
    fi
    if ! why=$("${namespace[@]}" true 2>&1); then
        echo "skipped: no mount namespace of its own to hide the font folders in: ${why:-unshare failed}"
        exit 77
    fi
    exec "${namespace[@]}" bash "$0" "$@"
fi
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

mkdir "$work/empty"
for folder in /usr/share/wine/fonts /usr/share/fonts/truetype/wine; do
    if [ -d "$folder" ] && ! why=$(mount --bind "$work/empty" "$folder" 2>&1); then
        skip "$folder cannot be hidden: $why"
    fi
done
[ ! -e /usr/share/wine/fonts/tahoma.ttf ] || fail "Tahoma is still there"

start_x
start_app

# Pixels of a label's text colour inside it, its border left out, are its text.
expect_text() {
    local n
    n=$(import -window root -crop "$1+$2" -depth 8 txt:- | grep -c "($3)" || true)
    [ "$n" -ge 50 ] || fail "no text drawn in $4 ($n pixels of its colour)"
    echo "$4: $n pixels of text"
}
expect_text 258x48 237+102 "192,255,192" "Livello 1"
expect_text 258x48 237+351 "255,0,0" "Livello 5"
expect_text 178x44 277+436 "192,192,255" "Basta!"
click_at 366 438
wait_exit 2
[ "$exit_status" = 0 ] || fail "after Basta! the program gave '$exit_status', expected 0"
echo "PASS: the menu is drawn in the fallback font"
