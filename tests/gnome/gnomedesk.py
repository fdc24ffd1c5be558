"""A test's keyboard, mouse and eyes in the GNOME session of scripts/with-gnome.sh.

Run as `gnomedesk.py serve FIFO`, it is the session's keyboard and pointer: one
org.gnome.Mutter.RemoteDesktop session for the whole run (mutter gives the headless seat
a keyboard only once such a session sent a key, and takes it away when the session ends)
doing the commands written to FIFO, one a line. Imported, or run as
`gnomedesk.py COMMAND ARGS...`, it sends those commands (to $TUVEL_GNOME_INPUT) and asks
the shell through org.gnome.Shell.Eval. Keys are evdev codes: 30 'a', 28 Enter, 29 Ctrl.
"""
import glob
import json
import os
import subprocess
import sys
import tempfile
import time

from gi.repository import Gio, GLib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from userdesk import USER_ENVIRONMENT, ProgramFolder, wait_until  # noqa: E402

RD = "org.gnome.Mutter.RemoteDesktop"
BUTTON_LEFT = 272
KEY_GAP_S = 0.01  # back to back, 1 combo in 60 reached the window without its Shift
DOUBLE_CLICK_GAP_S = 0.08  # between the two clicks of a person's double-click
_bus = []  # kept: mutter ends a remote-desktop session when its connection closes


def _call(dest, path, iface, method, args=None, reply=None):
    if not _bus:
        _bus.append(Gio.bus_get_sync(Gio.BusType.SESSION))
    return _bus[0].call_sync(dest, path, iface, method, args,
                             reply and GLib.VariantType(reply), 0, -1, None)


def eval_js(code):
    """Runs JavaScript in the shell; returns its value."""
    ok, out = _call("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval",
                    GLib.Variant("(s)", (code,)), "(bs)").unpack()
    if not ok:
        raise RuntimeError(f"Eval failed: {out}")
    return json.loads(out) if out else None


def serve(fifo):
    session = _call(RD, "/org/gnome/Mutter/RemoteDesktop", RD, "CreateSession", None,
                    "(o)").unpack()[0]
    _call(RD, session, RD + ".Session", "Start")

    def send(method, signature, *args):
        _call(RD, session, RD + ".Session", method, GLib.Variant(signature, args))
        time.sleep(KEY_GAP_S)

    def key(code, down):
        send("NotifyKeyboardKeycode", "(ub)", int(code), down)

    def click(x, y, count):
        # Xwayland sees a warp only once a real motion follows it.
        eval_js(f"imports.gi.Clutter.get_default_backend().get_default_seat()"
                f".warp_pointer({x - 1}, {y})")
        send("NotifyPointerMotionRelative", "(dd)", 1.0, 0.0)
        time.sleep(0.05)
        for i in range(count):
            time.sleep(DOUBLE_CLICK_GAP_S if i else 0)
            send("NotifyPointerButton", "(ib)", BUTTON_LEFT, True)
            send("NotifyPointerButton", "(ib)", BUTTON_LEFT, False)

    def run(words):
        if words[0] == "key":  # key COMBO...: key 30 28 42+3
            for combo in words[1:]:
                codes = combo.split("+")
                for code in codes:
                    key(code, True)
                for code in reversed(codes):
                    key(code, False)
        elif words[0] == "click":  # click X Y COUNT
            click(*map(int, words[1:4]))
        else:
            raise ValueError("unknown command")

    os.mkfifo(fifo + ".new")
    os.rename(fifo + ".new", fifo)  # there only once the session is
    # Opened for writing as well: the last writer going away is no end of input.
    with os.fdopen(os.open(fifo, os.O_RDWR), "rb", 0) as commands:
        for line in iter(commands.readline, b""):
            words = line.decode().split()
            reply = words.pop(0) if words and words[0].startswith("/") else None
            try:
                run(words)
                result = "ok"
            except (GLib.Error, RuntimeError, IndexError, ValueError) as e:
                result = f"error {e}"
            print(*words, "->", result, flush=True)
            if reply:
                try:
                    with open(os.open(reply, os.O_WRONLY | os.O_NONBLOCK), "w") as out:
                        out.write(result + "\n")
                except OSError:
                    pass  # the sender is gone


def command(*words):
    """Has the session's keyboard or pointer do a command; returns once it is done."""
    words = [str(w) for w in words]
    with tempfile.TemporaryDirectory() as folder:
        reply = os.path.join(folder, "reply")
        os.mkfifo(reply)
        with open(os.environ["TUVEL_GNOME_INPUT"], "w") as fifo:
            fifo.write(" ".join([reply, *words]) + "\n")
        with open(reply) as answer:
            result = answer.readline().strip()
    if result != "ok":
        raise RuntimeError(f"{' '.join(words)}: {result}")


def press(*combos):
    """Keys pressed and let go in turn; a combo such as "42+3" is held down together."""
    command("key", *combos)


def click(x, y):
    command("click", x, y, 1)


def double_click(x, y):
    command("click", x, y, 2)


def focus():
    """Title and client type (0 Wayland, 1 X11) of the focused window, or None."""
    return eval_js("(w => w && [w.get_title(), w.get_client_type()])(global.display.focus_window)")


def ibus_engine():
    """The ibus global engine; the address comes from the file of the daemon the shell started."""
    env = dict(os.environ)
    files = glob.glob(os.path.expanduser("~/.config/ibus/bus/*"))
    if "IBUS_ADDRESS" not in env and files:
        with open(max(files, key=os.path.getmtime)) as address:
            env.update(line.strip().split("=", 1) for line in address if line.startswith("IBUS_ADDRESS="))
    result = subprocess.run(["ibus", "engine"], env=env, capture_output=True, text=True)
    return result.stdout.strip() or None


def use_input_source(source_id):
    """The shell switched to one of its input sources, as from its menu; false if none."""
    return eval_js("(s => !!s && (s.activate(true), true))(Object.values("
                   "imports.ui.status.keyboard.getInputSourceManager().inputSources)"
                   f".find(s => s.id === {json.dumps(source_id)}))")


def mozc_hiragana():
    """Mozc as the input source, in hiragana; false unless ibus took Mozc as its engine."""
    if not use_input_source("mozc-jp") or not wait_until(lambda: ibus_engine() == "mozc-jp"):
        return False
    eval_js('imports.misc.ibusManager.getIBusManager().activateProperty('
            '"InputMode.Hiragana", imports.gi.IBus.PropState.CHECKED)')
    return True


def viewer(list_name, keys, cleanup):
    """The viewer from a program folder of its own, one list of keys open in it, used with
    the session's pointer (mutter lets no program move the real one)."""
    os.environ.update(USER_ENVIRONMENT)
    import viewerdesk  # needs the session's accessibility bus
    viewerdesk.double_click = lambda point: double_click(*point)
    viewerdesk.click = lambda point: click(*point)
    folder = ProgramFolder()
    cleanup(folder.remove)
    folder.write_list("keys.txt", list_name, "", "", keys)
    shown = viewerdesk.Viewer(folder, cleanup)
    if not shown.open_list(list_name, len(keys)):
        raise AssertionError("the list did not open")
    return folder, shown


if __name__ == "__main__":
    if sys.argv[1] == "serve":
        serve(sys.argv[2])
    elif sys.argv[1] == "eval":
        print(json.dumps(eval_js(sys.argv[2]), ensure_ascii=False))
    else:
        command(*sys.argv[1:])
