"""Keys typed by tuvelv arrive exactly in the applications a Japanese user types into, on
X11 with the jp layout: a LibreOffice Writer document (GTK 3, started as a user has it,
with no input-method variables: GTK's X input method under ja_JP), a Java Swing text
area, Chromium with fcitx5 and Mozc on in hiragana in the page's field, and a window
that reads its input late (stopped as the key is given, resumed 1.5 s later).

Each window in turn is the user's previous window: activated, then the key
double-clicked in the viewer. The keys make the typer work: prose with more distinct
kana and kanji than fit the keyboard map at once, half-width katakana with dakuten,
NEC and IBM extension characters of CP932, the jp layout's symbols, repeated letters,
a 400-character line and a form with {TAB} and {ENTER}.

Runs as the user of scripts/as-user.sh (Mozc will not run as root) on the display of
scripts/with-display.sh. Exits 77 when an application cannot run here, saying which."""
import faulthandler
import http.server
import importlib.util
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time
import unittest

from inputmethod import Fcitx5, ModeProbe, wrong_arrival
from test_input_method import Sink
from userdesk import MirroringWindow, Program, ProgramFolder, UserTestCase, activate, screenshot, wait_until, xdotool

LIST_NAME = "アプリ入力試験"
PROSE = "春の朝、駅前の喫茶店で友達と待ち合わせて、新しい仕事や夏の旅行の計画を楽しく話しました。窓の外では桜が満開で、空は青く澄んでいます。"
LONG_LINE = "".join([
    "東京都千代田区丸の内１丁目の事務所で、来週の会議資料を準備しています。",
    "担当者は営業部の佐藤さんと技術部の鈴木さん、締め切りは金曜日の午後３時です。",
    "ｶﾀｶﾅの見出しとカタカナの本文、ABCとＡＢＣ、123と１２３を取り混ぜた一行です。",
    "北海道の牧場では牛乳やチーズを作り、九州の港町では新鮮な魚が毎朝市場に並びます。",
    "図書館で借りた歴史の本によれば、江戸時代の商人は帳簿を筆で丁寧に書いていました。",
    "天気予報は晴れのち曇り、最高気温は二十五度、最低気温は十八度の見込みです。",
    "駅の改札を出て右へ曲がり、郵便局の角を左に進むと、緑色の屋根の喫茶店が見えます。",
    "電話番号は０３－１２３４－５６７８、受付時間は平日の午前９時から午後５時までです。",
    "秋の紅葉、冬の雪景色、春の桜、夏の花火と、日本の四季はそれぞれに美しいものです。",
    "新しいソフトウェアの設定画面で、文字コードをシフトJISに切り替えて保存しました。以上です。",
])
# key line, what must arrive; the form last, since its {TAB} leaves a page in its second field
KEYS = [
    (PROSE, PROSE),
    ("ｶﾞｷﾞｸﾞ｢ｱｲｳ｣", "ｶﾞｷﾞｸﾞ｢ｱｲｳ｣"),
    ("①②③ⅠⅩ㈱№褜鍈", "①②③ⅠⅩ㈱№褜鍈"),
    ("@[]^_:~\\|", "@[]^_:~\\|"),
    ("aaaaBBBBcccc1111", "aaaaBBBBcccc1111"),
    (LONG_LINE, LONG_LINE),
    ("ID123{TAB}山田{ENTER}次", "ID123\t山田\n次"),
]
PAUSED_ROWS = (0, 5)
PAUSE_S = 1.5
BACK_S = 10  # after the whole key has arrived
HERE = os.path.dirname(os.path.abspath(__file__))
SOFFICE = "/usr/lib/libreoffice/program/soffice.bin"
CHROMIUM = "/usr/lib/chromium/chromium"

# A fresh Writer profile that changes nothing the user types: no AutoCorrect while typing,
# no word completion (Enter would accept a suggestion), no tip-of-the-day dialog.
WRITER_SETTINGS = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema">
""" + "".join(f'<item oor:path="/org.openoffice.{path}"><prop oor:name="{name}" oor:op="fuse"><value>false</value></prop></item>\n'
              for path, name in [("Office.Writer/AutoFunction/Format/ByInput", "Enable"),
                                 ("Office.Writer/AutoFunction/Completion", "Enable"),
                                 ("Office.Common/Misc", "ShowTipOfTheDay")]) + "</oor:items>\n"

# The page sends its two fields, and whether the first has the focus, whenever they change.
PAGE = """<!doctype html><meta charset="utf-8"><title>入力フォーム</title>
<textarea id="a" rows="10" cols="50" autofocus></textarea><br><input id="b" size="50">
<script>
let sent = "", count = 0;
setInterval(() => {
  const now = JSON.stringify([a.value, b.value, document.hasFocus() && document.activeElement === a]);
  if (now !== sent) { sent = now; fetch("/fields", {method: "POST", body: JSON.stringify([++count, now])}); }
}, 50);
</script>"""


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _log_tail(path, lines=15):
    try:
        with open(path, errors="replace") as f:
            return "".join(f.readlines()[-lines:])
    except OSError:
        return ""


class Writer:
    """A new Writer document; its text is read through UNO on a socket on 127.0.0.1."""

    def __init__(self, folder, cleanup):
        import uno  # python3-uno
        profile = os.path.join(folder, "writer-profile")
        os.makedirs(os.path.join(profile, "user"))
        with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as f:
            f.write(WRITER_SETTINGS)
        self.log = os.path.join(folder, "writer.log")
        local = uno.getComponentContext()
        self.resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        # Writer now and then hangs making its first document (its main thread and the
        # bridge each wait for the other): started again, as a person would.
        for _ in range(2):
            self.document = self.start(profile, cleanup)
            if self.document:
                break
            self.program.stop()
        if not self.document:
            raise AssertionError(f"Writer hung making a document:\n{_log_tail(self.log)}")
        if not activate(self.program.pid):
            raise AssertionError("the Writer document never had the focus")

    def start(self, profile, cleanup):
        """Starts Writer; returns its new document, or None when that hung."""
        port = _free_port()
        resolver = self.resolver

        def connect():
            try:
                return resolver.resolve(f"uno:socket,host=127.0.0.1,port={port};urp;StarOffice.ComponentContext")
            except Exception:
                return None
        # The first start on a fresh profile sets it up and ends asking to be started again.
        for _ in range(2):
            # The GTK 3 look a GNOME or Xfce desktop gives LibreOffice.
            self.program = Program(["env", "SAL_USE_VCLPLUGIN=gtk3", SOFFICE, "--invisible", "--norestore", "--nolockcheck",
                                    f"-env:UserInstallation=file://{profile}", f"--accept=socket,host=127.0.0.1,port={port};urp;"],
                                   log=open(self.log, "ab"))
            cleanup(self.program.stop)
            context = wait_until(lambda: connect() or not self.program.running(), timeout=60, interval=0.5)
            if self.program.running():
                break
        if not self.program.running() or not context:
            raise AssertionError(f"Writer did not answer on 127.0.0.1:{port}:\n{_log_tail(self.log)}")
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        made = []
        loader = threading.Thread(daemon=True, target=lambda: made.append(
            desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, ())))
        loader.start()
        loader.join(60)
        return made[0] if made else None

    def received(self):
        return self.document.getText().getString().encode("utf-8")


class Chromium:
    """A page served on 127.0.0.1 with a text area and a second field; received() is the
    text area's text, then a tab and the second field's text once it has any."""

    def __init__(self, folder, cleanup):
        self.fields = [0, "", "", False]
        receiver = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                self.reply(PAGE.encode("utf-8"), "text/html; charset=utf-8")

            def do_POST(self):
                count, fields = json.loads(self.rfile.read(int(self.headers["Content-Length"])))
                if count > receiver.fields[0]:  # requests may overtake each other
                    receiver.fields = [count, *json.loads(fields)]
                self.reply(b"", "text/plain")

            def reply(self, body, kind):
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        cleanup(server.server_close)
        cleanup(server.shutdown)
        self.log = os.path.join(folder, "chromium.log")
        self.program = Program([CHROMIUM, f"--user-data-dir={folder}/chromium-profile", "--no-first-run",
                                "--no-default-browser-check", "--disable-background-networking", "--disable-component-update",
                                "--disable-sync", "--disable-gpu", "--password-store=basic", "--window-position=660,380",
                                "--window-size=600,400", f"--app=http://127.0.0.1:{server.server_port}/"],
                               log=open(self.log, "wb"))
        cleanup(self.program.stop)
        if not (wait_until(lambda: self.fields[0], timeout=40, interval=0.2) and activate(self.program.pid)
                and wait_until(lambda: self.fields[3], timeout=5)):
            raise AssertionError(f"the page's text area never had the focus:\n{_log_tail(self.log)}")

    def received(self):
        a, b = self.fields[1:3]
        return (a + ("\t" + b if b else "")).encode("utf-8")


class TypingApplicationsTest(UserTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        import viewerdesk  # needs the session bus
        subprocess.run(["setxkbmap", "jp"], check=True)
        cls.folder = ProgramFolder()
        cls.addClassCleanup(cls.folder.remove)
        cls.folder.write_list("keys.txt", LIST_NAME, "アプリへの入力の試験", "", [k[0] for k in KEYS])
        cls.viewer = viewerdesk.Viewer(cls.folder, cls.addClassCleanup)
        if not cls.viewer.open_list(LIST_NAME, len(KEYS)):
            raise AssertionError("the list did not open")

    def type_keys(self, name, receiver, rows=range(len(KEYS)), expect=lambda text: text, pause=False,
                  framework=None, press_enter=None):
        """Gives out each key into the receiver as its user's previous window; a subtest each."""
        for row in rows:
            expected = expect(KEYS[row][1])
            with self.subTest(receiver=name, key=KEYS[row][0][:24]):
                self.assertTrue(activate(receiver.program.pid), f"{name} could not be activated")
                state = framework.state() if framework else None
                before = receiver.received()
                want = before + expected.encode("utf-8")
                started = time.monotonic()
                self.viewer.send_key(row, "double-click")
                if pause:
                    os.kill(receiver.program.pid, signal.SIGSTOP)
                    try:
                        time.sleep(PAUSE_S)
                    finally:
                        os.kill(receiver.program.pid, signal.SIGCONT)
                if wait_until(lambda: receiver.received() == want, timeout=4 + len(expected) / 40, interval=0.05):
                    took = time.monotonic() - started
                    print(f"{name}: {len(expected)} characters in {took:.2f} s from the double-click", file=sys.stderr)
                problems = []
                # The viewer takes the focus back once the receiver has handled the key; a person
                # waits a few seconds for that, not longer.
                if not wait_until(self.viewer.is_active, timeout=BACK_S):
                    where = self.viewer.whereabouts()
                    # The next key would be lost to a viewer still busy with this one.
                    start = time.monotonic()
                    back = wait_until(self.viewer.is_active, timeout=60, interval=0.2)
                    problems.append(f"the focus did not come back to the viewer within {BACK_S} s ({where}); "
                                    + (f"it came back {BACK_S + time.monotonic() - start:.1f} s after" if back else "nor a minute later"))
                time.sleep(0.3)  # nothing more may follow
                arrived = receiver.received()
                if os.environ.get("TUVEL_E2E_SCREENSHOTS"):
                    screenshot(os.path.join(os.environ["TUVEL_E2E_SCREENSHOTS"], f"{name}-{row}.png"))
                if arrived != want:
                    enter = press_enter and (lambda: activate(receiver.program.pid) and press_enter())
                    problems.append(wrong_arrival(receiver, before, arrived, expected, enter))
                if framework and framework.state() != state:
                    problems.append(f"the input method was {state} before and is {framework.state()} after")
                if problems:
                    self.fail("; ".join(problems))

    def test_1_writer(self):
        if not os.path.exists(SOFFICE) or not importlib.util.find_spec("uno"):
            raise unittest.SkipTest("LibreOffice Writer is not installed (libreoffice-writer, libreoffice-gtk3, python3-uno)")
        writer = Writer(self.folder.path, self.addCleanup)
        self.type_keys("Writer", writer)
        # The case looked at: keys that GTK passes through its X input method.
        with open(f"/proc/{writer.program.pid}/maps") as maps:
            self.assertIn("im-xim.so", maps.read(), "Writer's GTK did not use its X input method module")

    def test_2_swing(self):
        if not shutil.which("java"):
            raise unittest.SkipTest("Java is not installed (openjdk-17-jdk)")
        output = os.path.join(self.folder.path, "swing.txt")
        sink = MirroringWindow(["java", os.path.join(HERE, "SwingSink.java"), output], output, self.addCleanup, "the Swing sink")
        self.type_keys("Swing", sink)

    def test_3_receiver_reading_late(self):
        # A GTK window, as most of a desktop's programs are; stopped through the Alt+Tab and the typing.
        sink = Sink("GTK", self.folder.path, self.addCleanup)
        self.type_keys("paused GTK sink", sink, rows=PAUSED_ROWS, pause=True)

    def test_4_chromium_with_mozc_on(self):
        if not os.path.exists(CHROMIUM):
            raise unittest.SkipTest("Chromium is not installed")
        framework = Fcitx5()
        self.addCleanup(framework.stop)
        framework.start()
        page = Chromium(self.folder.path, self.addCleanup)
        probe = ModeProbe(page)
        probe.set(framework, True)
        # In a page, Enter in a one-line field adds nothing.
        self.type_keys("Chromium", page, expect=lambda text: text.replace("\n", "") if "\t" in text else text,
                       framework=framework, press_enter=lambda: xdotool("key", "Return"))
        self.assertTrue(activate(page.program.pid))
        self.assertEqual(probe.mode(), "hiragana", f"Mozc is not on in hiragana any more: {framework.state()}")


if __name__ == "__main__":
    # A receiver that hangs (a UNO call that never returns) ends the story with every
    # thread's stack, before the test's time is up.
    faulthandler.dump_traceback_later(390, exit=True)
    result = unittest.main(exit=False).result
    if not result.wasSuccessful():
        sys.exit(1)
    if result.skipped:
        for test, reason in result.skipped:
            print(f"SKIP: {test.id()}: {reason}", file=sys.stderr)
        sys.exit(77)
