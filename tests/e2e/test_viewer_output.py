"""The user picks a key in tuvelv and it arrives in the window they worked in before
(the typing sink, a separate program), byte for byte; or it lands on the clipboard.

Input comes with a person's timing: Ctrl is let go a moment after the letter, the
two clicks of a double-click are 80 ms apart, and the button is clicked."""
import os
import time
import unittest

from userdesk import MirroringWindow, ProgramFolder, UserTestCase, clipboard_text, wait_until

LIST_NAME = "出力試験"

# key line, how the user triggers it, what must arrive (typed into the sink, or copied)
CASES = [
    ("japanese by ctrl+b", "今日は良い天気ですね。明日も晴れるでしょう。", "ctrl+b",
     "今日は良い天気ですね。明日も晴れるでしょう。"),
    ("half-width kana by double-click", "ｶﾀｶﾅﾃﾞｽ ﾊﾝｶｸ", "double-click", "ｶﾀｶﾅﾃﾞｽ ﾊﾝｶｸ"),
    ("tab and enter by the button", "氏名{TAB}山田{ENTER}次の行", "button", "氏名\t山田\n次の行"),
    ("ascii reserved by ctrl+b", "a+b^c%d~e(f)g", "ctrl+b", "a+b^c%d~e(f)g"),
    ("full-width reserved by double-click", "（株）東京～大阪＋１０％＾", "double-click",
     "（株）東京～大阪＋１０％＾"),
    ("only reserved by the button", "+^%~()", "button", "+^%~()"),
    ("copied as it stands", "写し{+}(a)+b%~", "ctrl+c", "写し{+}(a)+b%~"),
    ("heading by ctrl+b", "#[見出し（全角）+%]", "ctrl+b", "#[見出し（全角）+%]"),
    ("enter key by double-click", "上{ENTER}下", "double-click", "上\n下"),
    ("half-width kana copied", "ﾃﾞｰﾀ～％ｱｲｳ", "ctrl+c", "ﾃﾞｰﾀ～％ｱｲｳ"),
    ("sum by the button", "1+1=2 ＾＾", "button", "1+1=2 ＾＾"),
    ("kana and kanji by ctrl+b", "カタカナとひらがなと漢字", "ctrl+b", "カタカナとひらがなと漢字"),
]


class TypingSink(MirroringWindow):
    """The window the user was working in: the Qt typing sink."""

    def __init__(self, folder, cleanup):
        output = os.path.join(folder, "received.txt")
        super().__init__([os.environ["TUVEL_TYPING_SINK"], output], output, cleanup)


class ViewerOutputTest(UserTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        import viewerdesk  # needs the session bus
        cls.folder = ProgramFolder()
        cls.addClassCleanup(cls.folder.remove)
        cls.folder.write_list("keys.txt", LIST_NAME, "直接出力の試験", "", [c[1] for c in CASES])
        cls.sink = TypingSink(cls.folder.path, cls.addClassCleanup)
        cls.viewer = viewerdesk.Viewer(cls.folder, cls.addClassCleanup)

    def test_keys_reach_the_previous_window(self):
        import pyatspi
        import screenreader as sr
        viewer = self.viewer
        self.assertTrue(viewer.open_list(LIST_NAME, len(CASES)), "the list did not open")
        self.assertEqual(viewer.key_texts(), [c[1] for c in CASES])
        typed = b""
        for row, (name, line, trigger, expected) in enumerate(CASES):
            with self.subTest(name):
                before = self.sink.received()
                viewer.send_key(row, trigger)
                if trigger == "ctrl+c":
                    copied = wait_until(lambda: clipboard_text() == expected, timeout=5)
                    self.assertEqual(clipboard_text(), expected)
                    self.assertTrue(copied)
                    time.sleep(0.3)
                    self.assertEqual(self.sink.received(), before, "a copy typed something")
                    self.assertTrue(viewer.is_active(), "a copy left the viewer")
                    continue
                want = before + expected.encode("utf-8")
                wait_until(lambda: self.sink.received() == want, timeout=6)
                time.sleep(0.4)  # nothing more may follow
                self.assertEqual(self.sink.received(), want)
                self.assertTrue(wait_until(viewer.is_active, timeout=5), "focus not back: " + viewer.whereabouts())
                typed = want
        # What the sink window shows, read as a screen reader reads it.
        sink_app = sr.application(self.sink.program.pid)
        editor = sr.find(sink_app, pyatspi.ROLE_TEXT, "受信テキスト")
        self.assertEqual(sr.whole_text(editor).encode("utf-8"), self.sink.received())
        self.assertEqual(self.sink.received(), typed)


if __name__ == "__main__":
    unittest.main()
