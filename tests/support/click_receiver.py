#!/usr/bin/env python3
"""A GTK 3 window filled by one big button, for the click tests: "ready" and
the window's X id on a line once the button is drawn, then "click" on a line
for each click of the button and "double" for each double click, as GTK sees
them.

    click_receiver.py TITLE
"""
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
gi.require_version("GdkX11", "3.0")
from gi.repository import Gdk, GdkX11, Gtk  # noqa: E402,F401


def emit(text):
    sys.stdout.write(text + "\n")
    sys.stdout.flush()


def main(title):
    window = Gtk.Window(title=title)
    window.set_default_size(300, 200)
    button = Gtk.Button(label="Click here")
    window.add(button)

    def press(widget, event):
        if event.type == Gdk.EventType.DOUBLE_BUTTON_PRESS:
            emit("double")
        return False

    button.connect("button-press-event", press)
    button.connect("clicked", lambda *args: emit("click"))
    # Ready once a frame has been painted after the window was mapped: the
    # button is placed and takes clicks (before, a press may go to the window
    # behind it).
    def painted(clock):
        clock.disconnect_by_func(painted)
        emit("ready %d" % window.get_window().get_xid())

    def mapped(*args):
        window.get_frame_clock().connect("after-paint", painted)
        window.queue_draw()
        return False

    window.connect("map-event", mapped)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main(sys.argv[1])
