# A minimal Linux drag source: offers one file as text/uri-list, like a file manager does.
import sys, gi
gi.require_version('Gtk', '3.0')
from gi.repository import Gtk, Gdk
path = sys.argv[1]
win = Gtk.Window(title="dragsource")
win.move(20, 20); win.set_default_size(120, 80)
btn = Gtk.Button(label="drag me")
win.add(btn)
targets = [Gtk.TargetEntry.new("text/uri-list", 0, 0)]
btn.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, targets, Gdk.DragAction.COPY)
def get_data(widget, ctx, data, info, time):
    data.set_uris(["file://" + path])
btn.connect("drag-data-get", get_data)
btn.connect("drag-end", lambda *a: (print("drag-end", flush=True), Gtk.main_quit()))
win.connect("destroy", Gtk.main_quit)
win.show_all()
Gtk.main()
