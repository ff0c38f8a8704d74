"""A drag source for the desktop tests: a small undecorated GTK 3 window at
a given place (on Wayland an ordinary window where the compositor puts it) whose whole area starts a drag of the given URIs as
text/uri-list (and text/plain), the way a file manager offers files. It
prints "ready" once mapped, "begin" when a drag begins and, when it ends, "end <action>" with the
action the target took (0 when it refused). Run by the Debian Python that
has python3-gi."""

import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def main():
    x, y = int(sys.argv[1]), int(sys.argv[2])
    uris = sys.argv[3:]
    # On Wayland a popup needs a parent, and no client places its windows:
    # there the source is an ordinary window that the compositor places.
    wayland = "Wayland" in type(Gdk.Display.get_default()).__name__
    window = Gtk.Window(type=Gtk.WindowType.TOPLEVEL if wayland else Gtk.WindowType.POPUP)
    window.set_default_size(80, 80)
    window.move(x, y)
    box = Gtk.EventBox()
    box.add(Gtk.Label(label="drag me"))
    window.add(box)
    targets = [Gtk.TargetEntry.new("text/uri-list", 0, 0), Gtk.TargetEntry.new("text/plain", 0, 1)]
    box.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, targets,
                        Gdk.DragAction.COPY | Gdk.DragAction.MOVE | Gdk.DragAction.LINK)

    def data_get(_widget, _context, selection, info, _time):
        if info == 0:
            selection.set_uris(uris)
        else:
            selection.set_text("\n".join(uris), -1)

    def end(_widget, context):
        print("end", int(context.get_selected_action()), flush=True)

    def failed(_widget, _context, result):
        print("failed", int(result), flush=True)
        return False

    box.connect("drag-begin", lambda *_: print("begin", flush=True))
    box.connect("drag-failed", failed)
    box.connect("drag-data-get", data_get)
    box.connect("drag-end", end)
    window.connect("map-event", lambda *_: print("ready", flush=True))
    window.show_all()
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, 15, Gtk.main_quit)
    Gtk.main()


if __name__ == "__main__":
    main()
