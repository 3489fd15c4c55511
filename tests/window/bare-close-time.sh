# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Prints how many seconds a bare Qt window (CORVALLO_BIN, through CORVALLO_RUNNER) takes to end
# after a window manager's close request, the longest of three: what the runner itself adds to an
# ending, and so what the close tests allow beyond their limits under it.
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

start_x
longest=0
for _ in 1 2 3; do
    window_title=Bare start_app
    sleep 0.2
    start=$(date +%s.%N)
    /usr/bin/python3 "$CORVALLO_TESTS/wm-close.py" "$window"
    wait_exit 10
    [ "$exit_status" = 0 ] || fail "the bare window gave '$exit_status' after the close"
    longest=$(awk -v a="$longest" -v b="$(date +%s.%N)" -v s="$start" 'BEGIN { d = b - s; print (d > a ? d : a) }')
done
printf '%.2f\n' "$longest"
