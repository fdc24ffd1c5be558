"""A GTK 3 window that takes typed text and mirrors it into a file, so a test can see
exactly what arrived; the GTK counterpart of tuvel_typing_sink, with its input going
through GTK's own input-method modules. Usage: gtksink.py OUTPUT_FILE
OUTPUT_FILE.ready appears once the text view has the keyboard focus."""
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
    if len(sys.argv) < 2:
        return 2
    output = sys.argv[1]
    window = Gtk.Window(title="tuvel typing sink (GTK)")
    window.set_default_size(600, 300)
    view = Gtk.TextView()
    view.get_accessible().set_name("受信テキスト")
    window.add(view)
    text = view.get_buffer()
    pending = []

    # One write once the pending input is handled, not one per keystroke.
    def write():
        pending.clear()
        write_whole(output, text.get_text(text.get_start_iter(), text.get_end_iter(), True).encode("utf-8"))
        return False

    def changed(_buffer):
        if not pending:
            pending.append(GLib.idle_add(write))

    text.connect("changed", changed)
    write_whole(output, b"")

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
