#!/usr/bin/python3
"""Prints the top-level windows of every application named Mirvane on the accessibility bus, as
assistive tools see them: one line per window, "<pid> <width>x<height> <name>", sorted. Works
the same under X11 and Wayland."""
import sys

import pyatspi


def main():
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
