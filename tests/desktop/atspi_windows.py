#!/usr/bin/python3
"""Mirvane as assistive tools see it on the accessibility bus, the same under X11 and Wayland.

  atspi_windows.py              prints its top-level windows that show, one line each,
                                "<pid> <width>x<height> <name>", sorted
  atspi_windows.py press NAME   presses the button NAME in every Mirvane window; exits 1 when
                                there is none
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


def press(name):
    pressed = 0
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Mirvane":
            for button in buttons(app, name):
                button.queryAction().doAction(0)
                pressed += 1
    return 0 if pressed else 1


def main():
    if sys.argv[1:2] == ["press"] and len(sys.argv) == 3:
        return press(sys.argv[2])
    lines = []
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != "Mirvane":
            continue
        pid = app.get_process_id()
        for window in app:
            if window is None or not window.getState().contains(pyatspi.STATE_SHOWING):
                continue
            size = window.queryComponent().getSize()
            lines.append(f"{pid} {size[0]}x{size[1]} {window.name}")
    print("\n".join(sorted(lines)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
