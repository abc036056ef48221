#!/usr/bin/python3
"""A launcher's notice of a launch, as the desktop's launcher gives it before it starts a program.

  launch_notice.py ID    tells the X server's window manager, over startup notification, that a
                         launch with the id ID begins; under mutter (through Xwayland) the id is
                         then also an activation token mutter honours for its Wayland clients
"""
import sys

from Xlib import X, display
from Xlib.protocol import event


def main():
    screen_display = display.Display()
    root = screen_display.screen().root
    # The messages go out from a window of ours, which the window manager never sees.
    sender = root.create_window(-1, -1, 1, 1, 0, X.CopyFromParent, X.InputOnly,
                                X.CopyFromParent, override_redirect=True)
    begin = screen_display.intern_atom("_NET_STARTUP_INFO_BEGIN")
    more = screen_display.intern_atom("_NET_STARTUP_INFO")
    launch_id = sys.argv[1].replace("\\", "\\\\").replace('"', '\\"')
    message = f'new: ID="{launch_id}" NAME="Mirvane" SCREEN={screen_display.get_default_screen()}'
    message = message.encode() + b"\0"
    # In pieces of 20 bytes, the first marked as the beginning.
    for offset in range(0, len(message), 20):
        piece = message[offset:offset + 20].ljust(20, b"\0")
        root.send_event(event.ClientMessage(window=sender, client_type=begin if offset == 0 else more,
                                            data=(8, piece)),
                        event_mask=X.PropertyChangeMask)
    sender.destroy()
    screen_display.sync()
    return 0


if __name__ == "__main__":
    sys.exit(main())
