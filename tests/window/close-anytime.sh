# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The window is closed as a window manager's close button closes it (the WM_DELETE_WINDOW
# message of WM_PROTOCOLS), twenty times at different moments: in the menu, with a lesson armed,
# while the question fades in, while the dots are drawn, while an answer is awaited or a key is
# held, while "NO!" shows, in the pauses that end a question. Each time the program must end with
# status 0 within one second and leave no process behind.
source "${CORVALLO_TESTS:?}/xvfb-session.sh"

# Sends WM_DELETE_WINDOW to a window, through Xlib as a window manager does. With --self-test it
# sends the message to a window of its own and checks that what arrives is that message.
cat >"$work/wm-close.py" <<'EOF'
import ctypes, sys
from ctypes import c_int, c_long, c_ulong, c_void_p, c_char_p
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = c_void_p
x.XOpenDisplay.argtypes = [c_char_p]
x.XInternAtom.restype = c_ulong
x.XInternAtom.argtypes = [c_void_p, c_char_p, c_int]
x.XDefaultRootWindow.restype = c_ulong
x.XDefaultRootWindow.argtypes = [c_void_p]
x.XCreateSimpleWindow.restype = c_ulong
x.XCreateSimpleWindow.argtypes = [c_void_p, c_ulong, c_int, c_int, c_int, c_int, c_int, c_ulong, c_ulong]
x.XSendEvent.argtypes = [c_void_p, c_ulong, c_int, c_long, c_void_p]
x.XNextEvent.argtypes = [c_void_p, c_void_p]
x.XFlush.argtypes = [c_void_p]
x.XSync.argtypes = [c_void_p, c_int]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("window", c_ulong), ("message_type", c_ulong), ("format", c_int), ("data", c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", c_long * 24)]

CLIENT_MESSAGE = 33
display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
protocols = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
delete = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)

def send(window):
    event = Event()
    event.xclient.type = CLIENT_MESSAGE
    event.xclient.window = window
    event.xclient.message_type = protocols
    event.xclient.format = 32
    event.xclient.data[0] = delete
    event.xclient.data[1] = 0  # CurrentTime
    x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x.XSync(display, 0)

if sys.argv[1] == "--self-test":
    own = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0)
    send(own)
    got = Event()
    x.XNextEvent(display, ctypes.byref(got))
    ok = (got.xclient.type == CLIENT_MESSAGE and got.xclient.message_type == protocols
          and got.xclient.data[0] == delete and got.xclient.window == own)
    sys.exit(0 if ok else "the message that arrived is not WM_DELETE_WINDOW")
send(int(sys.argv[1]))
EOF
wm_close() {
    /usr/bin/python3 "$work/wm-close.py" "$@"
}

# Whether a process of the program that this test started is still there: such a process alone
# carries the test's runtime folder in its environment, where another run of the suite, on this
# machine at the same time, has its own.
program_left() {
    local pid
    for pid in $(pgrep -f "^$corvallo_bin" || true); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "XDG_RUNTIME_DIR=$work/runtime" \
            && return 0
    done
    return 1
}

closes=0
# close_now MOMENT: closes the window and expects the program gone with status 0 within 1 s.
close_now() {
    local moment=$1 pid=$app_pid
    kill -0 "$pid" 2>/dev/null || fail "$moment: the program ended before the close"
    wm_close "$window"
    wait_exit 1
    [ "$exit_status" = 0 ] || fail "$moment: status '$exit_status' within 1 s of the close, expected 0"
    ! program_left || fail "$moment: a process of the program is left"
    expect_quiet "$moment"
    closes=$((closes + 1))
    echo "closed $moment"
}

start_x
wm_close --self-test || fail "the close helper does not send WM_DELETE_WINDOW"
numlock_on() {
    xset q | grep -q 'Num Lock: *on' || xdotool key 77
}
numlock_on
export CORVALLO_SEED=1

# In the menu, at once and after a while.
start_app
close_now "in the menu"
start_app
sleep 0.7
close_now "in the menu after a while"

# A level armed from the command line, its lesson not yet started.
start_app 1
close_now "with a lesson armed"

# Level 1 runs at 10 ms per pause unit: the factors fade in during the first seconds, then the
# dots are drawn row by row, then the product, the fade-out, the blink and the pauses.
for delay in 1.2 1.7 2.3 3.0 4.0 5.5 7.0 8.5 10.0 11.5 13.0; do
    start_app 1
    sleep "$delay"
    close_now "level 1, $delay s into the lesson"
done

# Level 3 shows its first question at 6 ms per unit, without asking.
for delay in 2.5 4.5; do
    start_app 3
    sleep "$delay"
    close_now "level 3, $delay s into the lesson"
done

# Level 4: as soon as the answer is awaited, in the middle of the wait, with a key held down.
start_app 4
wait_for_pad "answer wait"
close_now "as the answer wait begins"
start_app 4
wait_for_pad "answer wait"
sleep 2
close_now "in the middle of the answer wait"
start_app 4
wait_for_pad "held key"
xdotool keydown "$(kp 3)"
sleep 0.8
close_now "while a keypad key is held"
xdotool keyup "$(kp 3)"

# "NO!": the first question (6 x 7) answered 11. The lesson is chosen in the menu, which then
# hides (a level from the command line leaves the menu over the message).
start_app
click_at 366 296
wait_for_pad "NO!"
xdotool key "$(kp 1)"
sleep 0.3
xdotool key "$(kp 1)"
for _ in $(seq 20); do
    [ "$(red_pixels)" -ge 50 ] && break
    sleep 0.05
done
[ "$(red_pixels)" -ge 50 ] || fail "NO! did not show"
close_now "while NO! shows"

[ "$closes" = 20 ] || fail "$closes closes tried, expected 20"
echo "PASS: 20 closes, each ended with status 0 within 1 s"
