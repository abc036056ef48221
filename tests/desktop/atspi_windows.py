#!/usr/bin/python3
"""Mirvane as assistive tools see it on the accessibility bus, the same under X11 and Wayland.

  atspi_windows.py              prints its top-level windows that show, one line each,
                                "<pid> <width>x<height> <name>", sorted
  atspi_windows.py press NAME [PID]
                                presses the button NAME in every Mirvane window (of process PID
                                only, if given); exits 1 when there is none
  atspi_windows.py active       prints the process id of the Mirvane whose window is active
"""
import sys

import pyatspi


def buttons(node, name):
    if node is None:
        return
    if node.getRoleName() == "push button" and node.name == name:
        yield node
    for child in node:
        yield from buttons(child, name)


def press(name, pid=None):
    pressed = 0
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Mirvane" and pid in (None, app.get_process_id()):
            for button in buttons(app, name):
                button.queryAction().doAction(0)
                pressed += 1
    return 0 if pressed else 1


def windows():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Mirvane":
            for window in app:
                if window is not None:
                    yield app.get_process_id(), window


def main():
    if sys.argv[1:2] == ["press"] and len(sys.argv) in (3, 4):
        return press(sys.argv[2], int(sys.argv[3]) if len(sys.argv) == 4 else None)
    if sys.argv[1:] == ["active"]:
        for pid, window in windows():
            if window.getState().contains(pyatspi.STATE_ACTIVE):
                print(pid)
        return 0
    lines = []
    for pid, window in windows():
        if window.getState().contains(pyatspi.STATE_SHOWING):
            size = window.queryComponent().getSize()
            lines.append(f"{pid} {size[0]}x{size[1]} {window.name}")
    print("\n".join(sorted(lines)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
