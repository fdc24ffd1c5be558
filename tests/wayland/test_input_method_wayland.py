"""Keys reach a native Wayland window whose Japanese input method is on exactly as they
are, and the input method is left as the user had it: the Wayland counterpart of
tests/e2e/test_input_method.py, for fcitx5 with Mozc.

On a wlroots desktop (a private headless sway, scripts/with-sway.sh) the user works in a
GTK 3 window on Wayland whose input goes through fcitx5's GTK module, with Mozc in
hiragana mode, or with it off. tuvelv, started from its program folder, is an XWayland
window; the user picks a key there from the keyboard and presses Ctrl+B, all through the
compositor. Each key must arrive byte for byte, {TAB} and {ENTER} included, the viewer
must have the focus again, and the window's input method must be as before (fcitx5's
own answer, and what a letter typed by hand turns into).

Runs as the user of scripts/as-user.sh (Mozc will not run as root) with a fresh home.
Exits 77 (a skip) when fcitx5 with Mozc or wtype is missing or fcitx5 does not come up.
Usage: with-sway.sh as-user.sh python3 test_input_method_wayland.py [-v]"""
import json
import os
import shutil
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
E2E = os.path.join(HERE, "..", "e2e")
sys.path.insert(0, E2E)

from inputmethod import Fcitx5, wrong_arrival  # noqa: E402
from userdesk import MirroringWindow, ProgramFolder, SessionBus, clipboard_text, wait_until  # noqa: E402

LIST_NAME = "入力方式試験"
# key line, what must arrive
KEYS = [
    ("a+b^c%d~e(f)g[i]", "a+b^c%d~e(f)g[i]"),
    ("ID123{TAB}山田{ENTER}次", "ID123\t山田\n次"),
    ("今日は晴れ、カタカナとひらがな。", "今日は晴れ、カタカナとひらがな。"),
]
MOZC_MODE_KEY = "Zenkaku_Hankaku"


def _text(data):
    return data.decode("utf-8", errors="replace")


# The desktop, through the compositor.

def wtype(*args):
    """Keys as the compositor's virtual keyboard gives them to the focused window. Each
    run brings a keyboard of its own; a key that follows its keymap at once is read
    with the keymap before (an XWayland window loses it), so the keys wait a moment."""
    subprocess.run(["wtype", "-s", "150", *args], check=True, timeout=10)
    time.sleep(0.05)


def windows():
    """The compositor's windows: (pid, title, focused)."""
    found = []

    def walk(node):
        if node.get("pid"):
            found.append((node["pid"], node.get("name"), node.get("focused", False)))
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child)

    result = subprocess.run(["swaymsg", "-t", "get_tree", "-r"], capture_output=True, text=True, timeout=10)
    if result.returncode == 0:
        walk(json.loads(result.stdout))
    return found


def focused_pid():
    return next((pid for pid, _, focused in windows() if focused), None)


def copied(text):
    """Ctrl+C in the viewer, and whether the clipboard then holds text. The clipboard is
    emptied first, so that an earlier copy does not count."""
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"-", timeout=5)
    wtype("-M", "ctrl", "c", "-m", "ctrl")
    return wait_until(lambda: clipboard_text() == text, timeout=2)


def focus(pid):
    """The user clicks the window: the compositor gives it the keyboard."""
    subprocess.run(["swaymsg", f"[pid={pid}]", "focus"], capture_output=True, timeout=10)
    return wait_until(lambda: focused_pid() == pid, timeout=5)


class Sink(MirroringWindow):
    """The user's window: GTK 3 on Wayland, its text mirrored into a file."""

    def __init__(self, folder, number, cleanup):
        output = os.path.join(folder, f"received-{number}.txt")
        super().__init__([sys.executable, os.path.join(E2E, "gtksink.py"), output], output, cleanup, "the GTK sink")

    def mode(self):
        """What a letter typed by hand turns into: 'direct' or 'hiragana'. What it
        typed stays in the text; the keys are checked by what each adds."""
        before = self.received()
        wtype("a")
        if not wait_until(lambda: self.received() != before, timeout=0.8):
            wtype("-k", "Return")  # commits the composition
            wait_until(lambda: self.received() != before, timeout=3)
        time.sleep(0.2)
        arrived = self.received()
        added = _text(arrived[len(before):]) if arrived.startswith(before) else None
        if added == "a":
            return "direct"
        # Enter commits the composition and, through fcitx5's GTK module, adds a line end.
        if added in ("あ", "あ\n"):
            return "hiragana"
        return f"unknown: {added!r} arrived"


class WaylandInputMethodTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.environ.update({"LANG": "ja_JP.UTF-8", "LC_ALL": "", "LANGUAGE": "", "TZ": "Asia/Tokyo",
                           "XDG_SESSION_TYPE": "wayland", "GDK_BACKEND": "wayland"})
        os.environ.pop("QT_QPA_PLATFORM", None)  # the viewer picks XWayland itself
        bus = SessionBus()
        cls.addClassCleanup(bus.stop)
        bus.start()
        cls.framework = Fcitx5()
        cls.framework.show_information = False  # see Fcitx5.show_information; the README says so too
        cls.addClassCleanup(cls.framework.stop)
        try:
            cls.framework.start()
        except AssertionError as error:
            raise unittest.SkipTest(str(error))
        cls.folder = ProgramFolder()
        cls.addClassCleanup(cls.folder.remove)
        cls.folder.write_list("keys.txt", LIST_NAME, "入力方式の試験", "", [k[0] for k in KEYS])
        cls.viewer = cls.folder.start("tuvelv")
        cls.addClassCleanup(cls.viewer.stop)
        # The title window closes itself after a few seconds; the main window stays.
        if not wait_until(cls.main_window_alone, timeout=15):
            raise AssertionError(f"the viewer's window did not come up alone: {windows()}")
        # From the keyboard: open the list (the catalogue has the focus at start), then on
        # to the keys past the heading picker. The keys keep the focus from now on.
        if not cls.open_list():
            raise AssertionError(f"the list did not open from the keyboard: {windows()}")
        wtype("-k", "Tab", "-k", "Tab")

    @classmethod
    def open_list(cls):
        """Enter in the catalogue, until Ctrl+C copies the list's first key: a busy
        XWayland may lose keys that come before it has taken the focus."""
        for _ in range(3):
            if focus(cls.viewer.pid):
                wtype("-k", "Return")
                if copied(KEYS[0][0]):
                    return True
        return False

    @classmethod
    def main_window_alone(cls):
        mine = cls.viewer_windows()
        return len(mine) == 1 and mine[0][1]

    @classmethod
    def viewer_windows(cls):
        return [w[1:] for w in windows() if w[0] == cls.viewer.pid]

    def test_keys_arrive_and_the_input_method_stays(self):
        for number, on in enumerate((True, False)):
            with self.subTest(ime="on" if on else "off"):
                cleanups = []
                try:
                    self.keys_into(number, on, cleanups.append)
                finally:
                    for stop in reversed(cleanups):
                        stop()

    def set_mode(self, sink, on):
        """Switches the sink's input method as a person does, with the Zenkaku/Hankaku key."""
        wanted = "hiragana" if on else "direct"
        mode = None
        for _ in range(4):
            mode = sink.mode()
            if mode == wanted:
                return
            if mode in ("direct", "hiragana"):
                wtype("-k", MOZC_MODE_KEY)
            time.sleep(0.3)
        raise AssertionError(f"the input method could not be switched {'on' if on else 'off'}: {mode}, "
                             f"{self.framework.state()}")

    def state_in(self, sink):
        """fcitx5's state for the sink's window, once that window has the focus; None
        when it cannot have it."""
        if not sink.program.running() or not focus(sink.program.pid):
            return None
        wait_until(self.framework.focused_context_ready, timeout=5)
        return self.framework.state()

    def keys_into(self, number, on, cleanup):
        sink = Sink(self.folder.path, number, cleanup)
        self.set_mode(sink, on)
        mode = sink.mode()
        state = self.state_in(sink)
        self.assertIsNotNone(state, f"the sink could not be focused: {windows()}")
        self.assertEqual(state["fcitx5-remote"], "2" if on else "1", state)
        for row, (line, expected) in enumerate(KEYS):
            with self.subTest(key=line):
                problem = self.deliver(sink, row, expected, state)
                if problem:
                    self.fail(problem)
        self.assertTrue(focus(sink.program.pid))
        self.assertEqual(sink.mode(), mode, f"the input method's mode changed; now {self.framework.state()}")

    def pick(self, row):
        """Up to the first key, then down to the row, as a person does who looks to see
        that the row is the one (here: Ctrl+C, and the copy read). A busy XWayland may
        take its focus a moment after the compositor gave it."""
        for _ in range(4):
            if not focus(self.viewer.pid):
                continue
            wtype(*(["-k", "Up"] * len(KEYS)), *(["-k", "Down"] * row))
            if copied(KEYS[row][0]):
                return True
            wtype("-k", "Tab")  # the keys had lost the focus: on round to them
        return False

    def deliver(self, sink, row, expected, state):
        """The user goes to the viewer, picks the key by keyboard and presses Ctrl+B;
        returns what went wrong, or None."""
        if not self.pick(row):
            return f"the key could not be picked in the viewer: {windows()}, {clipboard_text()!r} copied"
        before = sink.received()
        want = before + expected.encode("utf-8")
        wtype("-M", "ctrl", "b", "-m", "ctrl")
        wait_until(lambda: sink.received() == want, timeout=5)
        back = wait_until(lambda: focused_pid() == self.viewer.pid, timeout=5)
        time.sleep(0.3)  # nothing more may follow
        arrived = sink.received()
        problems = []
        if not back:
            problems.append(f"the focus did not come back to the viewer: {windows()}")
        if len(self.viewer_windows()) != 1:
            problems.append(f"the viewer shows {self.viewer_windows()}")
            # A message: the user reads it and closes it with Enter.
            wtype("-k", "Return")
            wait_until(self.main_window_alone, timeout=5)
        if arrived != want:
            enter = (lambda: wtype("-k", "Return")) if focus(sink.program.pid) else None
            problems.append(wrong_arrival(sink, before, arrived, expected, enter))
        now = self.state_in(sink)
        if now is None:
            problems.append(f"the sink could not be focused (its process is {'running' if sink.program.running() else 'gone'}): {windows()}")
        elif now != state:
            problems.append(f"the input method's state was {state} before and is {now} after")
        return "; ".join(problems) or None


def missing():
    for program in ("wtype", "swaymsg", "fcitx5", "fcitx5-remote"):
        if not shutil.which(program):
            return f"{program} is not installed"
    if not os.path.exists("/usr/share/fcitx5/addon/mozc.conf"):
        return "fcitx5-mozc is not installed"
    if not os.environ.get("WAYLAND_DISPLAY") or not os.environ.get("SWAYSOCK"):
        return "needs the headless sway of scripts/with-sway.sh"
    return None


if __name__ == "__main__":
    why = missing()
    if why:
        print(f"SKIP: {why}", file=sys.stderr)
        sys.exit(77)
    result = unittest.main(exit=False).result
    if result.skipped and not result.failures and not result.errors:
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)
