"""A GTK 3 window that takes typed text and mirrors it into a file, so a test can see
exactly what arrived; the GTK counterpart of tuvel_typing_sink, with its input going
through GTK's own input-method modules. Usage: gtksink.py OUTPUT_FILE [--form]
OUTPUT_FILE.ready appears once the text view has the keyboard focus. With --form the
window is a form of two entry fields instead: OUTPUT_FILE holds their texts joined by a
tab (an empty last field left out), OUTPUT_FILE.1 and OUTPUT_FILE.2 each field's, and the first field has the focus."""
import os
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk  # noqa: E402


def write_whole(path, data):
    """Written beside the target and renamed over it, so a reader never sees half a file."""
    part = path + ".part"
    with open(part, "wb") as out:
        out.write(data)
    os.replace(part, path)


def main():
    if len(sys.argv) < 2 or sys.argv[1].startswith("-"):
        return 2
    output = sys.argv[1]
    window = Gtk.Window(title="tuvel typing sink (GTK)")
    window.set_default_size(600, 300)
    form = "--form" in sys.argv[2:]
    if form:
        fields = [Gtk.Entry(), Gtk.Entry()]
        box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL)
        for field, name in zip(fields, ("ID", "名前")):
            field.get_accessible().set_name(name)
            box.add(field)
        window.add(box)
        view = fields[0]
        texts = [field.get_text for field in fields]
        signals = [(field, "changed") for field in fields]
    else:
        view = Gtk.TextView()
        view.get_accessible().set_name("受信テキスト")
        window.add(view)
        buffer = view.get_buffer()
        texts = [lambda: buffer.get_text(buffer.get_start_iter(), buffer.get_end_iter(), True)]
        signals = [(buffer, "changed")]
    pending = []

    # One write once the pending input is handled, not one per keystroke.
    def write():
        pending.clear()
        now = [text() for text in texts]
        if form:
            for number, text in enumerate(now, 1):
                write_whole(f"{output}.{number}", text.encode("utf-8"))
        # Empty fields at the end add no tab: what the form holds reads as typed.
        while len(now) > 1 and not now[-1]:
            now.pop()
        write_whole(output, "\t".join(now).encode("utf-8"))
        return False

    def changed(_widget):
        if not pending:
            pending.append(GLib.idle_add(write))

    for widget, signal in signals:
        widget.connect(signal, changed)
    write()

    # Ready once the window is active and the view has the focus.
    def readiness():
        if window.is_active() and view.has_focus():
            write_whole(output + ".ready", b"ready")
            return False
        window.present()
        view.grab_focus()
        return True

    GLib.timeout_add(20, readiness)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
