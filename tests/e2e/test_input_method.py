"""Keys reach a window whose Japanese input method (IME) is on exactly as they are, and
the IME is left as the user had it. Usage: test_input_method.py fcitx5|ibus [-v]

The user works in a window (a Qt text editor, or a GTK one) with Mozc in hiragana mode,
or with it off; picks keys in tuvelv by double-click, Ctrl+B or the "直接出力" button;
each must arrive byte for byte, {TAB} and {ENTER} included, and afterwards the window's
IME must be in the state it was in before: on stays on (same input method, still
hiragana), off stays off. A form of two fields, the IME on in each (fcitx5 keeps it
per field), takes a key with {TAB}: both fields exact, the IME still on in both. Runs as the user of scripts/as-user.sh (Mozc will not run as
root) on the private display of scripts/with-display.sh."""
import itertools
import os
import sys
import time
import unittest

from inputmethod import FRAMEWORKS, ModeProbe, wrong_arrival
from userdesk import MirroringWindow, ProgramFolder, UserTestCase, activate, wait_until, xdotool

LIST_NAME = "入力方式試験"

# key line, how the user triggers it, what must arrive
KEYS = [
    ("a+b^c%d~e(f)g[i]", "double-click", "a+b^c%d~e(f)g[i]"),
    ("@[]^_:~\\|", "ctrl+b", "@[]^_:~\\|"),
    ("ID123{TAB}山田{ENTER}次", "button", "ID123\t山田\n次"),
    ("今日は晴れ、カタカナとひらがな。", "ctrl+b", "今日は晴れ、カタカナとひらがな。"),
    ("ｶﾀｶﾅ", "double-click", "ｶﾀｶﾅ"),
]

HERE = os.path.dirname(os.path.abspath(__file__))
# window the user works in: how it is started (given its output file)
SINKS = {
    "Qt": lambda output: [os.environ["TUVEL_TYPING_SINK"], output],
    "GTK": lambda output: [sys.executable, os.path.join(HERE, "gtksink.py"), output],
}
FORM_KEY = ("ID: tanaka01{TAB}tokyo tower 333m", "ID: tanaka01\ttokyo tower 333m")
# sink, IME on: every combination, the IME-on ones first
RUNS = [("Qt", True), ("GTK", True), ("Qt", False), ("GTK", False)]


class Sink(MirroringWindow):
    """The window the user was working in, Qt or GTK."""

    started = itertools.count()

    def __init__(self, kind, folder, cleanup, *options):
        output = os.path.join(folder, f"received-{next(Sink.started)}-{kind}.txt")
        super().__init__(SINKS[kind](output) + list(options), output, cleanup, f"the {kind} sink")

    def activate(self):
        """The user goes back to the window (the window manager activates it)."""
        return activate(self.program.pid)


def _text(data):
    return data.decode("utf-8", errors="replace")


class FormField:
    """One field of the GTK form, as ModeProbe reads it."""

    def __init__(self, sink, number):
        self.path = f"{sink.output}.{number}"

    def received(self):
        with open(self.path, "rb") as f:
            return f.read()


class InputMethodTest(UserTestCase):
    framework_name = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        import viewerdesk  # needs the session bus
        cls.framework = FRAMEWORKS[cls.framework_name]()
        cls.addClassCleanup(cls.framework.stop)
        cls.framework.start()
        cls.folder = ProgramFolder()
        cls.addClassCleanup(cls.folder.remove)
        keys = [k[0] for k in KEYS] + [FORM_KEY[0]]
        cls.folder.write_list("keys.txt", LIST_NAME, "入力方式の試験", "", keys)
        cls.viewer = viewerdesk.Viewer(cls.folder, cls.addClassCleanup)
        if not cls.viewer.open_list(LIST_NAME, len(keys)):
            raise AssertionError("the list did not open")

    def test_keys_arrive_and_the_input_method_stays(self):
        for kind, on in RUNS:
            with self.subTest(run=f"{kind} sink, IME {'on' if on else 'off'}"):
                cleanups = []
                try:
                    self.keys_into(kind, on, cleanups.append)
                finally:
                    for stop in reversed(cleanups):
                        stop()

    def test_form_fields_keep_their_input_method(self):
        cleanups = []
        try:
            sink = Sink("GTK", self.folder.path, cleanups.append, "--form")
            fields = [ModeProbe(FormField(sink, number)) for number in (1, 2)]
            # The IME on in the second field, then in the first, where the user stays.
            xdotool("key", "Tab")
            fields[1].set(self.framework, True)
            xdotool("key", "shift+Tab")
            fields[0].set(self.framework, True)
            problem = self.deliver(sink, len(KEYS), "double-click", FORM_KEY[1], self.framework.state())
            if problem:
                self.fail(problem)
            # The key left the focus in the second field. A field that gets the focus
            # has its text selected; End, so that the probe's letter does not replace it.
            xdotool("key", "End")
            self.assertEqual(fields[1].mode(), "hiragana", "the IME is not on in the second field")
            xdotool("key", "shift+Tab", "End")
            self.assertEqual(fields[0].mode(), "hiragana", "the IME is not on in the first field")
        finally:
            for stop in reversed(cleanups):
                stop()

    def keys_into(self, kind, on, cleanup):
        framework = self.framework
        sink = Sink(kind, self.folder.path, cleanup)
        probe = ModeProbe(sink)
        mode = probe.set(framework, on)
        state = framework.state()
        for row, (line, trigger, expected) in enumerate(KEYS):
            with self.subTest(key=line, trigger=trigger):
                problem = self.deliver(sink, row, trigger, expected, state)
                if problem:
                    self.fail(problem)
        self.assertTrue(sink.activate(), "the sink could not be activated")
        self.assertEqual(probe.mode(), mode, f"the IME's mode changed; now {framework.state()}")
        # What the window shows, read as a screen reader reads it.
        import pyatspi
        import screenreader as sr
        editor = sr.find(sr.application(sink.program.pid), pyatspi.ROLE_TEXT, "受信テキスト")
        self.assertEqual(sr.whole_text(editor), _text(sink.received()))

    def engine_signals(self):
        """With IBus, every key goes through the viewer's own engine; -1 otherwise."""
        count = getattr(self.framework, "viewer_engine_signals", None)
        return count() if count else -1

    def deliver(self, sink, row, trigger, expected, state):
        """Sends one key; returns what went wrong, or None."""
        before = sink.received()
        sent_before = self.engine_signals()
        want = before + expected.encode("utf-8")
        self.viewer.send_key(row, trigger)
        wait_until(lambda: sink.received() == want, timeout=4)
        wait_until(self.viewer.is_active, timeout=5)
        time.sleep(0.3)  # nothing more may follow
        arrived = sink.received()
        problems = []
        if not self.viewer.is_active():
            problems.append("the focus did not come back to the viewer: " + self.viewer.whereabouts())
        if not sink.activate():
            problems.append("the sink could not be activated again")
        now = self.framework.state()
        if arrived != want:
            problems.append(wrong_arrival(sink, before, arrived, expected, lambda: xdotool("key", "Return")))
        if now != state:
            problems.append(f"the IME state was {state} before and is {now} after")
        if sent_before >= 0 and self.engine_signals() == sent_before:
            problems.append("the key did not go through the viewer's IBus engine")
        return "; ".join(problems) or None


if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in FRAMEWORKS:
        sys.exit(f"usage: {sys.argv[0]} {'|'.join(FRAMEWORKS)} [unittest arguments]")
    InputMethodTest.framework_name = sys.argv.pop(1)
    unittest.main()
