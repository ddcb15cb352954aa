#!/usr/bin/env python3
# A DDE server for Ordwell: serves the topic "System" of the application
# "Shop" and prints every execute string. Needs python3-dbus and python3-gi.
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib


class Topic(dbus.service.Object):
    @dbus.service.method("org.ordwell.Dde", in_signature="s")
    def Execute(self, command):
        print(command, flush=True)
        if command == "[Fail]":  # an error answer makes DdeCommand FALSE
            raise dbus.exceptions.DBusException("cannot do " + command)


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.ordwell.dde.Shop", bus)
Topic(bus, "/System")
print("serving Shop|System", flush=True)
GLib.MainLoop().run()
