"""The whole job without a mouse: arrows and Enter open a list, Tab reaches the keys,
Enter types one into the window the user worked in, Ctrl+C copies another; and a
screen reader hears each result as an announcement on the accessibility bus."""
import os
import sys
import time
import unittest

from userdesk import (ProgramFolder, Program, UserTestCase, clipboard_text, ctrl_key, wait_until, xdotool)
from test_viewer_output import TypingSink

LISTS = {
    "挨拶": ["こんにちは", "さようなら"],
    "ログイン": ["#[社員]", "ID123{TAB}山田{ENTER}次", "写し(1)+2%", "ｶﾀｶﾅ～"],
    "記号": ["@[]^_:~\\"],
}
TARGET = "ログイン"


def key(name, times=1):
    """Keys pressed one after the other, as a person taps them."""
    for _ in range(times):
        xdotool("key", name)
        time.sleep(0.12)


class Announcements:
    """What a screen reader hears: a listener of our own on the accessibility bus."""

    def __init__(self, folder, cleanup):
        self.path = os.path.join(folder, "announcements.txt")
        here = os.path.dirname(os.path.abspath(__file__))
        self.listener = Program([sys.executable, os.path.join(here, "announcements.py"), self.path])
        cleanup(self.listener.stop)
        if not wait_until(lambda: os.path.exists(self.path + ".ready"), timeout=15):
            raise AssertionError("the listener never started")

    def heard(self):
        try:
            with open(self.path, encoding="utf-8") as f:
                return [line.rstrip("\n").split("\t", 1)[1] for line in f if "\t" in line]
        except FileNotFoundError:
            return []


class KeyboardOnlyTest(UserTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        import viewerdesk
        cls.folder = ProgramFolder()
        cls.addClassCleanup(cls.folder.remove)
        for i, (name, keys) in enumerate(LISTS.items()):
            cls.folder.write_list(f"list{i}.txt", name, "キーボードの試験", "", keys)
        cls.sink = TypingSink(cls.folder.path, cls.addClassCleanup)
        cls.announcements = Announcements(cls.folder.path, cls.addClassCleanup)
        cls.viewer = viewerdesk.Viewer(cls.folder, cls.addClassCleanup)

    def current_row(self, table):
        import screenreader as sr
        t = sr.fresh(table).queryTable()
        rows = [r for r in range(t.nRows) if t.isRowSelected(r)]
        return rows[0] if len(rows) == 1 else None

    def focused(self, table):
        import pyatspi
        import screenreader as sr
        return sr.fresh(table).getState().contains(pyatspi.STATE_FOCUSED)

    def focus_name(self):
        import pyatspi
        import screenreader as sr
        hits = sr.descendants(sr.fresh(self.viewer.app), lambda a: a.getState().contains(pyatspi.STATE_FOCUSED))
        return repr([(h.getRoleName(), h.name) for h in hits])

    def test_open_type_and_copy_by_keyboard(self):
        viewer = self.viewer
        self.assertTrue(wait_until(viewer.is_active, timeout=5), viewer.whereabouts())
        self.assertTrue(wait_until(lambda: self.focused(viewer.catalogue), timeout=5), "the catalogue has no focus")

        # Arrows to the list, Enter opens it.
        key("Home")
        target = viewer.catalogue_row(TARGET)
        key("Down", target)
        self.assertEqual(self.current_row(viewer.catalogue), target)
        key("Return")
        keys = LISTS[TARGET]
        self.assertTrue(wait_until(lambda: viewer.key_texts() == keys, timeout=10), viewer.key_texts())

        # Tab: the heading picker, then the keys; Shift+Tab back and forth again.
        key("Tab", 2)
        self.assertTrue(wait_until(lambda: self.focused(viewer.keys), timeout=3), "Tab did not reach the keys: " + self.focus_name())
        key("shift+Tab", 2)
        self.assertTrue(wait_until(lambda: self.focused(viewer.catalogue), timeout=3))
        key("Tab", 2)
        self.assertTrue(wait_until(lambda: self.focused(viewer.keys), timeout=3))

        # The keypad's Enter on the second key types it into the previous window.
        key("Down")
        self.assertEqual(self.current_row(viewer.keys), 1)
        key("KP_Enter")
        want = "ID123\t山田\n次".encode("utf-8")
        self.assertTrue(wait_until(lambda: self.sink.received() == want, timeout=8), self.sink.received())
        self.assertTrue(wait_until(viewer.is_active, timeout=5), "focus not back: " + viewer.whereabouts())
        self.assertTrue(wait_until(lambda: self.focused(viewer.keys), timeout=3))

        # Enter held as a person holds it (150 ms; 0.9 s, long enough to repeat), and Ctrl+B
        # with the B held: the key arrives once each, its own {ENTER} too, and the user's
        # key (its release, its repeats) reaches no window.
        for name, held in (("Return", 0.15), ("Return", 0.9), ("b", 0.9)):
            want += "ID123\t山田\n次".encode("utf-8")
            if name == "b":
                xdotool("keydown", "ctrl")
            xdotool("keydown", name)
            time.sleep(held)
            xdotool("keyup", name)
            if name == "b":
                xdotool("keyup", "ctrl")
            self.assertTrue(wait_until(lambda: self.sink.received() == want, timeout=8), (name, self.sink.received()))
            self.assertTrue(wait_until(viewer.is_active, timeout=5), "focus not back: " + viewer.whereabouts())
        time.sleep(0.5)
        self.assertEqual(self.sink.received(), want, "a held key did more than give out the key once")

        # Ctrl+C on the next one copies it as it stands.
        key("Down")
        ctrl_key("c")
        self.assertTrue(wait_until(lambda: clipboard_text() == keys[2], timeout=5), clipboard_text())
        time.sleep(0.3)
        self.assertEqual(self.sink.received(), want, "a copy typed something")

        expected = [f"「{TARGET}」を開きました。キー {len(keys)} 個"] + ["キーを入力しました。"] * 4 + ["キーをコピーしました。"]
        wait_until(lambda: self.announcements.heard() == expected, timeout=5)
        self.assertEqual(self.announcements.heard(), expected)


if __name__ == "__main__":
    unittest.main()
