"""Keys typed on GNOME on Wayland, where no program may type into another's window: the
viewer hides, mutter gives the focus back to the user's window, and the viewer's own IBus
engine puts the key there. Mozc is the user's input source, in hiragana, in a GTK 3 window
on Wayland, a GTK 3 window on Xwayland and a Qt 6 window. Each key, double-clicked in the
real viewer, must arrive exactly; the focus must stay in the user's window; and Mozc must
still be on in hiragana ("a", Enter gives "あ"). Runs in scripts/with-gnome.sh."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import gnomedesk  # noqa: E402
from userdesk import MirroringWindow, wait_until  # noqa: E402

LIST_NAME = "GNOME入力試験"
LONG = "東京都千代田区丸の内一丁目九番一号、日本の首都の玄関口にある駅の住所です。" * 3
KEYS = [  # key line, what must arrive
    ("ID123{TAB}山田{ENTER}次", "ID123\t山田\n次"),
    ("ｶﾀｶﾅa+b^c%d~e(f)g[i]", "ｶﾀｶﾅa+b^c%d~e(f)g[i]"),
    (LONG, LONG),
]
E2E = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e")
GTK = [sys.executable, os.path.join(E2E, "gtksink.py")]
SINKS = {  # the user's window: how it starts, its title, its environment
    "GTK 3 on Wayland": (GTK, "tuvel typing sink (GTK)", {"GDK_BACKEND": "wayland"}),
    "GTK 3 on Xwayland": (GTK, "tuvel typing sink (GTK)", {"GDK_BACKEND": "x11", "GTK_IM_MODULE": "ibus"}),
    "Qt 6": ([os.environ.get("TUVEL_TYPING_SINK", "")], "tuvel typing sink",
             {"QT_QPA_PLATFORM": "xcb", "QT_IM_MODULE": "ibus"}),
}


class GnomeTypingTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder, cls.viewer = gnomedesk.viewer(LIST_NAME, [k for k, _ in KEYS], cls.addClassCleanup)

    def test_keys_arrive_and_mozc_stays_on(self):
        for name, (argv, title, env) in SINKS.items():
            with self.subTest(sink=name):
                cleanups = []
                try:
                    self.keys_into(argv, title, env, cleanups.append)
                finally:
                    for stop in reversed(cleanups):
                        stop()

    def viewer_says(self):
        import screenreader as sr
        return [[a.name for a in sr.descendants(box)] for box in sr.message_boxes(self.viewer.app)]

    def keys_into(self, argv, title, env, cleanup):
        saved = {k: os.environ.get(k) for k in env}
        os.environ.update(env)
        try:
            output = os.path.join(self.folder.path, f"received-{time.monotonic_ns()}.txt")
            sink = MirroringWindow(argv + [output], output, cleanup)
        finally:
            for k, v in saved.items():
                os.environ.pop(k) if v is None else os.environ.update({k: v})
        self.assertTrue(gnomedesk.mozc_hiragana(), "Mozc could not be made the input source")
        for row, (line, expected) in enumerate(KEYS):
            before = sink.received()
            started = time.monotonic()
            self.viewer.send_key(row, "double-click")
            want = before + expected.encode("utf-8")
            arrived = wait_until(lambda: sink.received() == want, timeout=10)
            took = time.monotonic() - started
            time.sleep(0.3)  # nothing more may follow
            self.assertEqual(sink.received().decode(errors="replace"), want.decode(),
                             f"key {line!r}; the viewer says {self.viewer_says()}")
            print(f"  {line[:20]!r}: {took * 1000:.0f} ms", file=sys.stderr)
            focused = gnomedesk.focus()
            self.assertEqual(focused and focused[0], title, "the focus is not in the user's window")
            self.assertTrue(wait_until(self.viewer.window_in_place, timeout=3), "the viewer did not show again")
            self.assertEqual(gnomedesk.ibus_engine(), "mozc-jp", "Mozc is no longer the input method")
        before = sink.received()
        gnomedesk.press(30, 28)  # "a", Enter
        self.assertTrue(wait_until(lambda: sink.received() == before + "あ".encode(), timeout=5),
                        f"Mozc is not on in hiragana: {sink.received()[len(before):]!r} arrived for a, Enter")


if __name__ == "__main__":
    unittest.main()
