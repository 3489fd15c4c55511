# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What a screen reader finds of Corvallo on the accessibility bus.

  atspi-menu.py bus     waits up to 5 s for the accessibility bus; exit 77 if it never comes
  atspi-menu.py menu    lists the window, checks the level menu's buttons and presses "Basta!"
"""

import sys
import time

import pyatspi
from gi.repository import Gio, GLib

MENU = ["Livello 1", "Livello 2", "Livello 3", "Livello 4", "Livello 5", "Basta!"]


def wait_for_bus():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus", "NameHasOwner",
                              GLib.Variant("(s)", ("org.a11y.Bus",)), None,
                              Gio.DBusCallFlags.NONE, 1000, None)
        if reply.unpack()[0]:
            return 0
        time.sleep(0.1)
    print("skipped: the accessibility bus did not start within 5 s")
    return 77


def descendants(node):
    found = []
    for child in node:
        if child is not None:
            found.append(child)
            found.extend(descendants(child))
    return found


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def find_program():
    """The program's objects once its window's controls are on the bus (up to 10 s), or None."""
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "corvallo":
                objects = [app] + descendants(app)
                if len(objects) > 2:
                    return objects
        time.sleep(0.2)
    return None


def press(node):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if "Press" not in names:
        raise SystemExit(f"FAIL: {node.name} offers {names}, no Press")
    try:
        actions.doAction(names.index("Press"))
    except GLib.Error as error:
        # The program may end before its answer to the press arrives.
        print(f"the press got no answer: {error.message}")


def check_menu():
    objects = find_program()
    if objects is None:
        raise SystemExit("FAIL: no window of corvallo on the accessibility bus within 10 s")
    print(f"{len(objects)} objects:")
    for node in objects:
        print(f"  {node.getRoleName()} {node.name!r}{'' if showing(node) else ' (not showing)'}")
    buttons = {o.name: o for o in objects if o.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    for name in MENU:
        if name not in buttons or not showing(buttons[name]):
            raise SystemExit(f"FAIL: no push button {name!r} showing")
    # "Stop" is hidden until the first lesson.
    if "Stop" not in buttons or showing(buttons["Stop"]):
        raise SystemExit("FAIL: Stop is not a hidden push button at the first menu")
    press(buttons["Basta!"])
    return 0


if __name__ == "__main__":
    sys.exit(wait_for_bus() if sys.argv[1:] == ["bus"] else check_menu())
