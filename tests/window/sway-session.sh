# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the Wayland real-window tests: starts a headless sway of their own, with an output of
# the window's design size, and offers a few helpers. Sway refuses to run as root, so as root the
# compositor and the program run as the unprivileged user "nobody". Where none of this can be
# set up, the test is skipped (exit 77) with the reason; a missing tool fails it under autopkgtest.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
corvallo_bin=${CORVALLO_BIN:?CORVALLO_BIN names the program under test}
require sway swaymsg grim wtype python3 convert setpriv

# Qt's Wayland platform plugin, where Qt keeps its plugins next to its libraries: with Qt 6.4.2
# and 6.8.2 a few plugins named libqwayland-generic.so and the like, with Qt 6.11.2 one
# libqwayland.so.
qt_core=$(ldd "$corvallo_bin" 2>/dev/null | awk '/libQt6Core/ { print $3 }')
platforms=$(dirname "${qt_core:-/nonexistent}")/qt6/plugins/platforms
if [ -d "$platforms" ] && ! compgen -G "$platforms/libqwayland*.so" >/dev/null; then
    missing "Qt's Wayland platform plugin is not installed (qt6-wayland)"
fi

work=$(mktemp -d)
app_err=$work/app.err
pids=() # every process started here, killed on the way out
app_pid=
cleanup() {
    local pid
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    exec 7>&- 8<&-
    for pid in "$app_pid" "${pids[@]}"; do
        [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# as_user COMMAND...: runs a command in the session's clean environment, as "nobody" when root.
# A UTF-8 locale, as every desktop session has.
session_env=(PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
    LANG=C.UTF-8)
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS QT_NO_XDG_DESKTOP_PORTAL; do
    [ -z "${!name:-}" ] || session_env+=("$name=${!name}")
done
drop=()
mkdir -m 700 "$work/home" "$work/runtime"
if [ "$(id -u)" = 0 ]; then
    uid=$(getent passwd nobody | cut -d: -f3) || skip "there is no user nobody to run sway as"
    gid=$(getent passwd nobody | cut -d: -f4)
    drop=(setpriv --reuid="$uid" --regid="$gid" --clear-groups --)
    "${drop[@]}" true 2>/dev/null || skip "privileges cannot be dropped to the user nobody"
    chmod 711 "$work"
    chown "$uid:$gid" "$work/home" "$work/runtime"
fi
as_user() {
    "${drop[@]}" env -i "${session_env[@]}" "$@"
}
# spawn OUT ERR COMMAND...: as as_user, in the background; spawned is the command's own process
# (setpriv and env exec it), so that killing it leaves nothing behind.
spawn() {
    local out=$1 err=$2
    shift 2
    "${drop[@]}" env -i "${session_env[@]}" "$@" >"$out" 2>"$err" &
    spawned=$!
}
as_user test -x "$corvallo_bin" || skip "$corvallo_bin cannot be run by $(as_user id -un)"

# Starts sway with one output of 731 x 544 pixels, so that the tiled window has the design size,
# and a virtual keyboard that lives through the test (the seat has no keyboard without it).
start_sway() {
    cat >"$work/sway.conf" <<'EOF'
output HEADLESS-1 mode 731x544 position 0 0
default_border none
default_floating_border none
xwayland disable
EOF
    chmod 644 "$work/sway.conf"
    spawn "$work/sway.log" "$work/sway.err" env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman sway -c "$work/sway.conf"
    pids+=("$spawned")
    local i socket ipc
    for i in $(seq 100); do
        socket=$(find "$work/runtime" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | head -n 1)
        ipc=$(find "$work/runtime" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n 1)
        [ -n "$socket" ] && [ -n "$ipc" ] && break
        kill -0 "${pids[-1]}" 2>/dev/null || break
        sleep 0.05
    done
    if [ -z "$socket" ] || [ -z "$ipc" ]; then
        tail -n 5 "$work/sway.err" >&2
        skip "sway did not start"
    fi
    session_env+=(WAYLAND_DISPLAY="$socket" SWAYSOCK="$ipc")
    for i in $(seq 100); do
        as_user swaymsg -t get_outputs 2>/dev/null | grep -q '"width": 731' && break
        sleep 0.05
    done
    as_user swaymsg -t get_outputs | grep -q '"width": 731' || fail "sway's output is not 731 pixels wide"
    spawn /dev/null "$work/wtype.err" wtype -s 600000
    pids+=("$spawned")
    sleep 0.3
}

# Starts the program with the given arguments, natively on Wayland, and waits until sway shows
# its window, and a moment more for the first paint.
start_app() {
    spawn "$work/app.out" "$app_err" env QT_QPA_PLATFORM=wayland \
        ${CORVALLO_SEED:+CORVALLO_SEED=$CORVALLO_SEED} "$corvallo_bin" "$@"
    app_pid=$spawned
    local i
    for i in $(seq 200); do
        if as_user swaymsg -t get_tree | grep -q '"app_id": "corvallo"'; then
            sleep 0.3
            return 0
        fi
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.05
    done
    if grep -q 'no Qt platform plugin could be initialized' "$app_err"; then
        missing "Qt's Wayland platform plugin cannot be loaded"
    fi
    fail "no window with app_id corvallo appeared"
}

# Closes the window as sway's kill binding does, and waits up to one second for the program to
# end: sets exit_status to its status or to "running", close_ms to the time taken.
close_window() {
    local start i
    start=$(date +%s%N)
    as_user swaymsg -q '[app_id="corvallo"] kill'
    exit_status=running
    for i in $(seq 100); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            exit_status=0
            wait "$app_pid" || exit_status=$?
            app_pid=
            break
        fi
        [ $((($(date +%s%N) - start) / 1000000)) -ge 1000 ] && break
        sleep 0.01
    done
    close_ms=$((($(date +%s%N) - start) / 1000000))
}

# The colour of one output pixel as "r,g,b".
pixel() {
    as_user grim -g "$1,$2 1x1" -t ppm - | tail -c 3 | od -An -tu1 | awk '{ print $1 "," $2 "," $3 }'
}

# area_text X Y W H: the pixels of that area of the output, one a line, as ImageMagick's text.
area_text() {
    as_user grim -g "$1,$2 ${3}x${4}" -t ppm - | convert ppm:- txt:-
}

# screenshot FILE [X Y W H]: the output, or part of it, as a PPM picture.
screenshot() {
    if [ $# -gt 1 ]; then
        as_user grim -g "$2,$3 $4x$5" -t ppm - >"$1"
    else
        as_user grim -t ppm - >"$1"
    fi
}

# Input devices of the seat besides wtype's keyboard, through the virtual-keyboard and
# virtual-pointer protocols. The keyboard behaves as a physical one: the standard evdev keymap
# (pc105, us), keys sent by their evdev codes, NumLock a locked modifier, so that the keypad's keys
# mean digits or navigation by NumLock, as on a real desk (wtype's keyboard instead uploads a
# keymap made of the very keysyms it sends). The pointer clicks at output pixels. Commands on
# standard input, one a line: "numlock on|off", "press CODE", "release CODE", "key CODE",
# "move X Y", "click X Y"; each is answered "ok" once the compositor has it.
cat >"$work/devices.py" <<'EOF'
import array, os, socket, struct, sys, time

KEYMAP = b"""xkb_keymap {
    xkb_keycodes { include "evdev+aliases(qwerty)" };
    xkb_types { include "complete" };
    xkb_compat { include "complete" };
    xkb_symbols { include "pc+us+inet(evdev)" };
};
"""
NUMLOCK = 1 << 4  # Mod2 in that keymap

sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
sock.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
next_id = 2
incoming = b""

def new_id():
    global next_id
    next_id += 1
    return next_id - 1

def send(obj, opcode, args=b"", fds=()):
    message = struct.pack("<II", obj, ((8 + len(args)) << 16) | opcode) + args
    ancillary = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, array.array("i", fds))] if fds else []
    sock.sendmsg([message], ancillary)

def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)

def roundtrip(on_event=lambda obj, opcode, body: None):
    global incoming
    callback = new_id()
    send(1, 0, struct.pack("<I", callback))  # wl_display.sync
    while True:
        while len(incoming) >= 8:
            obj, word = struct.unpack("<II", incoming[:8])
            if len(incoming) < word >> 16:
                break
            body, incoming = incoming[8:word >> 16], incoming[word >> 16:]
            if obj == callback:
                return
            if obj == 1 and (word & 0xffff) == 0:
                sys.exit("protocol error: %r" % body[12:])
            on_event(obj, word & 0xffff, body)
        data = sock.recv(65536)
        if not data:
            sys.exit("the compositor closed the connection")
        incoming += data

registry = new_id()
send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
offered = {}
def on_global(obj, opcode, body):
    if obj == registry and opcode == 0:
        name, length = struct.unpack("<II", body[:8])
        offered[body[8:8 + length - 1].decode()] = name
roundtrip(on_global)

def bind(interface):
    if interface not in offered:
        sys.exit("the compositor offers no " + interface)
    obj = new_id()
    send(registry, 0, struct.pack("<I", offered[interface]) + string(interface) + struct.pack("<II", 1, obj))
    return obj

# New object ids must be used in the order they are made.
seat = bind("wl_seat")
keyboards = bind("zwp_virtual_keyboard_manager_v1")
pointers = bind("zwlr_virtual_pointer_manager_v1")
keyboard = new_id()
send(keyboards, 0, struct.pack("<II", seat, keyboard))
pointer = new_id()
send(pointers, 0, struct.pack("<II", seat, pointer))
BUTTON_LEFT = 0x110
WIDTH, HEIGHT = int(sys.argv[1]), int(sys.argv[2])
keymap = os.memfd_create("keymap")
os.write(keymap, KEYMAP + b"\0")
send(keyboard, 0, struct.pack("<II", 1, len(KEYMAP) + 1), [keymap])  # xkb v1 keymap
roundtrip()
print("ok", flush=True)

start = time.monotonic()
for line in sys.stdin:
    words = line.split()
    now = int((time.monotonic() - start) * 1000)
    if words[0] == "numlock":
        send(keyboard, 2, struct.pack("<IIII", 0, 0, NUMLOCK if words[1] == "on" else 0, 0))
    if words[0] in ("press", "key"):
        send(keyboard, 1, struct.pack("<III", now, int(words[1]), 1))
    if words[0] in ("release", "key"):
        send(keyboard, 1, struct.pack("<III", now, int(words[1]), 0))
    if words[0] in ("move", "click"):
        x, y = int(words[1]), int(words[2])
        send(pointer, 1, struct.pack("<IIIII", now, x, y, WIDTH, HEIGHT))  # motion_absolute
        send(pointer, 4)  # frame
    if words[0] == "click":
        for state in (1, 0):
            send(pointer, 2, struct.pack("<III", now, BUTTON_LEFT, state))
            send(pointer, 4)
    roundtrip()
    print("ok", flush=True)
EOF
chmod 644 "$work/devices.py"

start_devices() {
    mkfifo "$work/devices.in" "$work/devices.out"
    "${drop[@]}" env -i "${session_env[@]}" python3 "$work/devices.py" 731 544 \
        <"$work/devices.in" >"$work/devices.out" 2>"$work/devices.err" &
    pids+=($!)
    exec 7>"$work/devices.in" 8<"$work/devices.out"
    local reply
    read -r -t 5 reply <&8 && [ "$reply" = ok ] || {
        cat "$work/devices.err" >&2
        fail "the keyboard and pointer did not start"
    }
}
device() {
    local reply
    echo "$*" >&7
    read -r -t 5 reply <&8 && [ "$reply" = ok ] || fail "the input devices did not take '$*'"
}

source "$(dirname "${BASH_SOURCE[0]}")/window-places.sh"
