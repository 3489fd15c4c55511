# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The program starts with its level menu centred in the black window, and a real click on
# "Basta!" ends it with status 0.
source "$(dirname "$0")/xvfb-session.sh"

start_x
start_app

[ "$(xdotool getwindowname "$window")" = "Corvallo" ] || fail "title is not Corvallo"
read -r width height < <(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
[ "$width" = 731 ] && [ "$height" = 544 ] || fail "window is ${width}x${height}, not 731x544"

expect_menu

click_at 366 438
wait_exit 2
[ "$exit_status" = 0 ] || fail "after Basta! the program gave '$exit_status', expected exit status 0"
expect_quiet "after Basta!"
echo "menu centred, Basta! ended the program with status 0"
