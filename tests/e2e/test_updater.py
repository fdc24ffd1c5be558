"""kox as a Japanese user meets it: started from the program folder against a web
server on 127.0.0.1, its question boxes answered with the mouse, its status and log
read through the accessibility tree."""
import calendar
import functools
import http.server
import os
import tempfile
import threading
import unittest

from userdesk import ProgramFolder, UserTestCase, click, wait_until

SAVED = calendar.timegm((2021, 3, 4, 20, 6, 7, 0, 0, 0))  # 5:06 on 5 March in Tokyo
NEEDED = "ローカルファイルはアップデートする必要があるようです。"
NOT_NEEDED = "ローカルファイルはアップデートする必要がないようです。"


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class WebServer:
    """Serves one folder on 127.0.0.1 only, with Last-Modified from the files' times."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="tuvel-e2e-web-")
        handler = functools.partial(QuietHandler, directory=self.folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def publish(self, name, data, mtime):
        path = os.path.join(self.folder, name)
        with open(path, "wb") as out:
            out.write(data)
        os.utime(path, (mtime, mtime))
        return f"http://127.0.0.1:{self.server.server_address[1]}/{name}"

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
        self.thread.join()


def list_bytes(name):
    return "\r\n".join([name, "更新の試験", "", "キー"]).encode("cp932")


class UpdaterTest(UserTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.web = WebServer()
        cls.addClassCleanup(cls.web.stop)
        cls.folder = ProgramFolder()
        cls.addClassCleanup(cls.folder.remove)

    def start_kox(self, local, address):
        import screenreader as sr
        self.kox = self.folder.start("kox", local, address)
        self.addCleanup(self.kox.stop)
        return sr.application(self.kox.pid)

    def labels(self, app):
        import pyatspi
        import screenreader as sr
        return [a.name for a in sr.descendants(sr.fresh(app), lambda a: a.getRole() == pyatspi.ROLE_LABEL)]

    def wait_for_status(self, app, status):
        wait_until(lambda: status in self.labels(app), timeout=15)
        self.assertIn(status, self.labels(app), "the status label does not read out its message")

    def log_text(self, app):
        import pyatspi
        import screenreader as sr
        return sr.whole_text(sr.find(app, pyatspi.ROLE_TEXT, "ログ"))

    def answer(self, app, containing, expected_buttons, choice):
        """Reads a message box's buttons as a screen reader does and clicks the choice."""
        import screenreader as sr
        box = sr.wait_for_message_box(app, containing)
        found = {sr.spoken_caption(b.name): b for b in sr.buttons(box)}
        self.assertEqual(sorted(found), sorted(expected_buttons), f"buttons of the box saying {containing!r}")
        click(sr.centre(found[choice]))
        wait_until(lambda: not sr.message_boxes(app), timeout=5)

    def test_missing_local_file_is_asked_about_in_japanese(self):
        address = self.web.publish("missing.txt", list_bytes("遠隔"), SAVED)
        local = os.path.join(self.folder.path, "まだない.txt")
        app = self.start_kox(local, address)
        self.answer(app, "ローカルファイルパスに実体がありません。", ["はい", "いいえ"], "はい")
        self.answer(app, "それでは、以下のようなファイル名で処理を進めていきます。", ["OK"], "OK")
        self.wait_for_status(app, NEEDED)
        log = self.log_text(app)
        self.assertIn(local, log)
        self.assertIn(address, log)
        self.assertIn("日 新しいのものです。", log)

    def test_declining_ends_the_program(self):
        address = self.web.publish("declined.txt", list_bytes("遠隔"), SAVED)
        app = self.start_kox(os.path.join(self.folder.path, "ない.txt"), address)
        self.answer(app, "ローカルファイルパスに実体がありません。", ["はい", "いいえ"], "いいえ")
        self.assertTrue(wait_until(lambda: not self.kox.running(), timeout=10), "kox is still running")

    def check_day_count(self, name, title, remote_saved, days, status):
        """The local copy saved at SAVED against the server's copy saved at remote_saved."""
        address = self.web.publish(name, list_bytes(title), remote_saved)
        local = self.folder.write_list(name, title, "更新の試験", address, ["キー"], mtime=SAVED)
        app = self.start_kox(local, address)
        wait_until(lambda: "新しいのものです。" in self.log_text(app), timeout=15)
        self.assertIn(f"更新対象ファイルは {days}日 新しいのものです。", self.log_text(app))
        self.wait_for_status(app, status)

    def test_same_day_in_tokyo_needs_no_update(self):
        # Saved on the server and locally at the same moment: the same day wherever one is.
        self.check_day_count("same.txt", "同日", SAVED, 0, NOT_NEEDED)

    def test_a_day_later_in_tokyo_needs_an_update(self):
        # Half past midnight on 6 March in Tokyo (15:30 on 5 March in UTC) against
        # 5:06 on 5 March locally: one calendar day newer.
        self.check_day_count("later.txt", "翌日", SAVED + (19 * 3600 + 24 * 60), 1, NEEDED)

if __name__ == "__main__":
    unittest.main()
