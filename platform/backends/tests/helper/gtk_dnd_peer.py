#!/usr/bin/python3
"""A GTK 3 program for the drag-and-drop tests, one that no one here wrote the protocol of.

  gtk_dnd_peer.py source FILE TEXT   a window with two drag sources: one offers FILE as a file URI
                                     (text/uri-list), the other offers TEXT (UTF-8 text)
  gtk_dnd_peer.py target             a window with a text view that takes dropped text

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


def source(path, text):
    window = Gtk.Window(title="GTK drag source")
    window.move(20, 100)
    box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL, spacing=10)
    file_part = Gtk.EventBox()
    file_part.add(Gtk.Label(label="a file"))
    file_part.set_size_request(200, 80)
    text_part = Gtk.EventBox()
    text_part.add(Gtk.Label(label="some text"))
    text_part.set_size_request(200, 80)
    box.pack_start(file_part, True, True, 0)
    box.pack_start(text_part, True, True, 0)
    window.add(box)

    file_part.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
    file_part.drag_source_add_uri_targets()
    text_part.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
    text_part.drag_source_add_text_targets()

    def data_get(widget, context, data, info, time):
        say("data-get", data.get_target().name())
        if widget is file_part:
            data.set_uris([GLib.filename_to_uri(path, None)])
        else:
            data.set_text(text, -1)

    def drag_end(widget, context):
        say("drag-end", context.get_selected_action().first_value_nick)

    for part in (file_part, text_part):
        part.connect("drag-begin", lambda *args: say("drag-begin"))
        part.connect("drag-data-get", data_get)
        part.connect("drag-end", drag_end)
    report(window, [("file", file_part), ("text", text_part)])
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
    window = source(sys.argv[2], sys.argv[3]) if sys.argv[1] == "source" else target()
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    GLib.timeout_add_seconds(50, Gtk.main_quit)
    Gtk.main()


if __name__ == "__main__":
    main()
