# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# As a screen reader finds it on the accessibility bus (AT-SPI): the level menu shows its six
# buttons by name, and pressing "Basta!" with its action ends the program with status 0.
source "${CORVALLO_TESTS:?}/session.sh"
launcher=/usr/libexec/at-spi-bus-launcher
require dbus-run-session
[ -x "$launcher" ] || missing "$launcher is not installed (at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing "pyatspi is not installed (python3-pyatspi)"

# Everything runs on a session bus of this test's own.
if [ -z "${CORVALLO_BUS_MARK:-}" ]; then
    export CORVALLO_BUS_MARK
    CORVALLO_BUS_MARK=$(mktemp)
    rm -f "$CORVALLO_BUS_MARK"
    status=0
    timeout -k 5 120 dbus-run-session -- bash "$0" "$@" || status=$?
    started=no
    [ -e "$CORVALLO_BUS_MARK" ] && started=yes
    rm -f "$CORVALLO_BUS_MARK"
    [ "$started" = yes ] || skip "the session bus could not start (dbus-run-session gave $status)"
    exit "$status"
fi
touch "$CORVALLO_BUS_MARK"
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

launcher_pid=
trap '[ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null; cleanup' EXIT
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
launcher_pid=$!
status=0
timeout 20 /usr/bin/python3 "$CORVALLO_TESTS/atspi-menu.py" bus || status=$?
[ "$status" = 0 ] || { cat "$work/bus.log"; exit "$status"; }

start_x
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
timeout 60 /usr/bin/python3 "$CORVALLO_TESTS/atspi-menu.py" menu || fail "the menu as a screen reader finds it"
wait_exit 3
[ "$exit_status" = 0 ] || fail "after pressing Basta! the program gave '$exit_status', expected 0"
echo "PASS: the six menu buttons by name, and Basta! pressed through AT-SPI ended the program with 0"
