# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sends WM_DELETE_WINDOW to a window, through Xlib as a window manager does. With --self-test it
# sends the message to a window of its own and checks that what arrives is that message.
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
