#!/usr/bin/python3
"""A notification panel for the tests: a StatusNotifierWatcher and host on
the session bus named by DBUS_SESSION_BUS_ADDRESS, as a desktop's panel
provides them. It records the items that register and, on command, reads
their properties and calls their methods as a panel does on a click.

Runs under Debian's Python with python3-dbus and python3-gi. It speaks one
JSON object per line: commands on stdin, events on stdout.
  events:   {"event": "ready"}  the watcher's name is ours
            {"event": "registered", "service": S, "sender": S}
            {"event": "signal", "name": N}  NewIcon, NewTitle, NewToolTip
            {"event": "reply", "value": V}  or {"event": "error", "message": M}
  commands: {"get": PROPERTY}  {"call": METHOD, "args": [...]}
"""

import json
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"


def emit(**event):
    sys.stdout.write(json.dumps(event) + "\n")
    sys.stdout.flush()


def plain(value):
    """A D-Bus value as JSON: byte arrays as hex text."""
    if isinstance(value, dbus.Array) and value.signature == "y":
        return bytes(value).hex()
    if isinstance(value, (list, tuple)):
        return [plain(v) for v in value]
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (int, dbus.Int32, dbus.UInt32)):
        return int(value)
    return str(value)


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.bus = bus
        self.items = []  # (bus name, object path)

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        if service.startswith("/"):
            self.items.append((sender, service))
        else:
            self.items.append((service, "/StatusNotifierItem"))
        emit(event="registered", service=str(service), sender=str(sender))
        self.StatusNotifierItemRegistered(service)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"RegisteredStatusNotifierItems": dbus.Array([f"{n}{p}" for n, p in self.items], signature="s"),
                "IsStatusNotifierHostRegistered": True, "ProtocolVersion": dbus.Int32(0)}

    def item(self):
        name, path = self.items[-1]
        return self.bus.get_object(name, path)


def on_command(watcher, line):
    command = json.loads(line)
    try:
        item = watcher.item()
        if "get" in command:
            value = item.Get(ITEM, command["get"], dbus_interface=dbus.PROPERTIES_IFACE)
        else:
            value = item.get_dbus_method(command["call"], ITEM)(*[dbus.Int32(a) if isinstance(a, int) else a
                                                                 for a in command.get("args", [])])
        emit(event="reply", value=plain(value))
    except (dbus.DBusException, IndexError) as e:
        emit(event="error", message=str(e))


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus)
    for signal in ("NewIcon", "NewTitle", "NewToolTip"):
        bus.add_signal_receiver(lambda name=signal: emit(event="signal", name=name), signal, ITEM)
    bus.request_name(WATCHER, dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
    emit(event="ready")
    loop = GLib.MainLoop()

    def on_input(source, condition):
        line = sys.stdin.readline()
        if not line:
            loop.quit()
            return False
        on_command(watcher, line)
        return True
    GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, on_input)
    loop.run()


if __name__ == "__main__":
    main()
