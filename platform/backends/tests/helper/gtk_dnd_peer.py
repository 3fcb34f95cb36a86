#!/usr/bin/python3
"""A GTK 3 program for the drag-and-drop tests, one that no one here wrote the protocol of.

  gtk_dnd_peer.py source OFFER...   a window with a drag source for each offer, one below the other:
                                    file:PATH (a file URI), text:TEXT (UTF-8 text), and hostile ones:
                                    uris:N (a URI list of N entries, a third of another host), badtext
                                    (text that is no UTF-8), huge:MB (a text of MB mebibytes)
  gtk_dnd_peer.py target            a window with a text view that takes dropped text

Each line on standard output is one action: "ready NAME X Y" gives the screen point at the centre of
each part once the window is shown, then "drag-begin", "data-get TARGET", "drag-end" (a source), or
"received TEXT" with the text escaped as Python would (a target). The window stands at (20, 100) and the
program ends after 50 seconds at the latest.
"""

import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import GLib, Gdk, Gtk  # noqa: E402


def say(*words):
    print(*words, flush=True)


def centre_of(widget):
    allocation = widget.get_allocation()
    origin = widget.get_toplevel().get_window().get_origin()
    return origin.x + allocation.x + allocation.width // 2, origin.y + allocation.y + allocation.height // 2


def report(window, parts):
    # The place is known once the window is drawn.
    def ready():
        for name, widget in parts:
            x, y = centre_of(widget)
            say("ready", name, x, y)
        return False

    window.connect("map-event", lambda *args: GLib.timeout_add(200, ready))


def source(offers):
    window = Gtk.Window(title="GTK drag source")
    window.move(20, 100)
    box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL, spacing=4)
    window.add(box)
    parts = []
    for offer in offers:
        name, _, value = offer.partition(":")
        part = Gtk.EventBox()
        part.add(Gtk.Label(label=name))
        part.set_size_request(200, 60)
        box.pack_start(part, True, True, 0)
        part.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
        if name in ("file", "uris"):
            part.drag_source_add_uri_targets()
        else:
            part.drag_source_add_text_targets()
        part.offer = (name, value)
        parts.append((name, part))

    def data_get(widget, context, data, info, time):
        name, value = widget.offer
        say("data-get", data.get_target().name())
        if name == "file":
            data.set_uris([GLib.filename_to_uri(value, None)])
        elif name == "uris":
            # As many local files as asked for, and among them files of other hosts and other schemes.
            count = int(value)
            uris = ["file:///tmp/f%d" % i if i % 3 else "file://elsewhere/f%d" % i for i in range(count)]
            data.set(data.get_target(), 8, ("\r\n".join(uris + ["http://example.org/x"]) + "\r\n").encode())
        elif name == "badtext":
            data.set(data.get_target(), 8, b"ok \xff\xfe end \xc3")
        elif name == "huge":
            data.set(data.get_target(), 8, b"x" * (int(value) << 20))
        else:
            data.set_text(value, -1)

    def drag_end(widget, context):
        say("drag-end", context.get_selected_action().first_value_nick)

    for name, part in parts:
        part.connect("drag-begin", lambda *args: say("drag-begin"))
        part.connect("drag-data-get", data_get)
        part.connect("drag-end", drag_end)
    report(window, parts)
    return window


def target():
    window = Gtk.Window(title="GTK drop target")
    window.move(20, 100)
    view = Gtk.TextView()
    view.set_size_request(300, 200)
    window.add(view)

    def received(widget, context, x, y, data, info, time):
        say("received", repr(data.get_text()))

    view.connect_after("drag-data-received", received)
    report(window, [("view", view)])
    return window


def main():
    window = source(sys.argv[2:]) if sys.argv[1] == "source" else target()
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    GLib.timeout_add_seconds(50, Gtk.main_quit)
    Gtk.main()


if __name__ == "__main__":
    main()
