#!/usr/bin/env python3
"""A window of a toolkit that writes every character it receives to standard
output, for the typing tests: "ready" and a newline once the window is
mapped, then the characters as they come (U+FFFD for a key that arrived
without a keysym).

    key_receiver.py tk|gtk TITLE
"""
import sys


def emit(text):
    sys.stdout.write(text)
    sys.stdout.flush()


def tk(title):
    import tkinter

    root = tkinter.Tk()
    root.title(title)
    root.geometry("320x120")

    def key(event):
        if event.char:
            emit(event.char)
        elif event.keysym_num == 0:
            emit("\ufffd")

    root.bind("<Key>", key)
    root.bind("<Map>", lambda event: emit("ready\n") if event.widget is root else None)
    root.mainloop()


def gtk(title):
    import gi

    gi.require_version("Gtk", "3.0")
    gi.require_version("Gdk", "3.0")
    from gi.repository import Gdk, Gtk

    window = Gtk.Window(title=title)
    window.set_default_size(320, 120)

    def key(widget, event):
        character = Gdk.keyval_to_unicode(event.keyval)
        if character:
            emit(chr(character))
        elif event.keyval in (0, Gdk.KEY_VoidSymbol):
            emit("\ufffd")
        return True

    window.connect("key-press-event", key)
    window.connect("map-event", lambda *args: emit("ready\n"))
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    {"tk": tk, "gtk": gtk}[sys.argv[1]](sys.argv[2])
