"""An ordinary user of the installed Debian package, with a fresh home: starts tuvelv
from /usr/bin, finds the shipped samples in the catalogue (copied into their own data
folder), adds a list to their data box and registers one in their list.txt, rebuilds
the catalogue, and has kox (started with the viewer's "UpData" button) update their
list from a web server on 127.0.0.1. Run by scripts/test-package.sh as that user on
the display of scripts/with-display.sh; what it leaves in the data folder is checked
again after the package is removed."""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from userdesk import Program, UserTestCase, click, pause_between_clicks, wait_until  # noqa: E402

SHARED = "/usr/share/tuvelv"
DAY = 24 * 3600


def data_folder():
    base = os.environ.get("XDG_DATA_HOME") or os.path.join(os.environ["HOME"], ".local", "share")
    return os.path.join(base, "tuvelv")


def list_name(path):
    with open(path, "rb") as f:
        return f.read().replace(b"\r\n", b"\r").split(b"\r")[0].decode("cp932")


def write_list(path, name, address, keys, mtime=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write("\r\n".join([name, "利用者のリスト", address] + keys).encode("cp932"))
    if mtime is not None:
        os.utime(path, (mtime, mtime))


def shipped_names():
    """The names of the sample lists, as the package ships them."""
    box = os.path.join(SHARED, "tuveldbox")
    names = [list_name(os.path.join(box, n)) for n in os.listdir(box)]
    with open(os.path.join(SHARED, "list.txt"), "rb") as f:
        for line in f.read().decode("cp932").splitlines():
            if line:
                names.append(list_name(os.path.join(SHARED, line)))
    return names


class Nginx:
    """nginx-light on 127.0.0.1, run by this user, serving one folder."""

    def __init__(self):
        self.prefix = tempfile.mkdtemp(prefix="tuvel-nginx-")
        self.www = os.path.join(self.prefix, "www")
        os.makedirs(os.path.join(self.prefix, "logs"))
        os.makedirs(self.www)
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        conf = os.path.join(self.prefix, "nginx.conf")
        p = self.prefix
        with open(conf, "w") as out:
            out.write(f"daemon off; master_process off; worker_processes 1;\n"
                      f"pid {p}/nginx.pid; error_log {p}/logs/error.log;\n"
                      f"events {{ worker_connections 64; }}\n"
                      f"http {{ access_log off; default_type application/octet-stream;\n"
                      f"  client_body_temp_path {p}/body; proxy_temp_path {p}/proxy; fastcgi_temp_path {p}/fcgi;\n"
                      f"  uwsgi_temp_path {p}/uwsgi; scgi_temp_path {p}/scgi;\n"
                      f"  server {{ listen 127.0.0.1:{self.port}; root {self.www}; }} }}\n")
        nginx = shutil.which("nginx") or "/usr/sbin/nginx"
        self.program = Program([nginx, "-p", p, "-c", conf, "-e", f"{p}/logs/error.log"])
        if not wait_until(self.answers, timeout=10):
            raise AssertionError("nginx did not come up on 127.0.0.1")

    def answers(self):
        try:
            socket.create_connection(("127.0.0.1", self.port), timeout=0.2).close()
            return True
        except OSError:
            return False

    def publish(self, name, data):
        with open(os.path.join(self.www, name), "wb") as out:
            out.write(data)
        return f"http://127.0.0.1:{self.port}/{name}"

    def stop(self):
        self.program.stop()
        shutil.rmtree(self.prefix, ignore_errors=True)


class Installed:
    """The installed programs, started as the menu entry does: by name, from the home."""

    def start(self, program, *args):
        return Program(["/usr/bin/" + program, *args], cwd=os.environ["HOME"])


def kox_application():
    """kox, started by the viewer: the accessible application of that name."""
    import pyatspi

    def probe():
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.name == "kox" and app.childCount > 0:
                    return app
            except Exception:
                continue
        return None
    return wait_until(probe, timeout=20, interval=0.2)


def stop_process(pid):
    try:
        os.kill(pid, 15)
    except ProcessLookupError:
        pass


class InstalledUserTest(UserTestCase):
    def test_own_data_folder_from_samples_to_update(self):
        import pyatspi
        import screenreader as sr
        from viewerdesk import Viewer

        folder = data_folder()
        self.assertFalse(os.path.exists(folder), "the home is not fresh")
        viewer = Viewer(Installed(), self.addCleanup)

        # First start: the samples are in the catalogue, read from the user's own copy.
        rows = sr.row_texts(viewer.catalogue, 0)
        self.assertCountEqual(rows, shipped_names())
        for name in rows:
            self.assertTrue(viewer.catalogue_cell(name, 3).startswith(folder + os.sep),
                            f"{name} is read from {viewer.catalogue_cell(name, 3)}, not from {folder}")

        # A list of their own in the data box, one registered by a relative path.
        web = Nginx()
        self.addCleanup(web.stop)
        server_bytes = "\r\n".join(["自分のリスト", "更新後", "", "新しいキー"]).encode("cp932")
        address = web.publish("mine.txt", server_bytes)
        mine = os.path.join(folder, "tuveldbox", "自分のリスト.txt")
        write_list(mine, "自分のリスト", address, ["古いキー"], mtime=time.time() - 3 * DAY)
        old_bytes = open(mine, "rb").read()
        write_list(os.path.join(folder, "登録", "登録したリスト.txt"), "登録したリスト", "", ["キー"])
        with open(os.path.join(folder, "list.txt"), "ab") as registry:
            registry.write("登録/登録したリスト.txt\r\n".encode("cp932"))

        click(viewer.point(viewer.button("リストを展開")))
        wanted = set(shipped_names()) | {"自分のリスト", "登録したリスト"}
        wait_until(lambda: set(sr.row_texts(viewer.catalogue, 0)) == wanted, timeout=10)
        self.assertCountEqual(sr.row_texts(viewer.catalogue, 0), list(wanted))
        self.assertEqual(viewer.catalogue_cell("登録したリスト", 3),
                         os.path.join(folder, "登録", "登録したリスト.txt"))

        # kox from the viewer updates the list in the user's folder.
        pause_between_clicks()
        click(viewer.point(sr.table_cell(viewer.catalogue, viewer.catalogue_row("自分のリスト"), 0)))
        pause_between_clicks()
        click(viewer.point(viewer.button("データをアップデートする")))
        kox = kox_application()
        self.assertTrue(kox, "the viewer started no kox")
        self.addCleanup(stop_process, kox.get_process_id())
        needed = "ローカルファイルはアップデートする必要があるようです。"
        labels = lambda: [a.name for a in sr.descendants(sr.fresh(kox), lambda a: a.getRole() == pyatspi.ROLE_LABEL)]
        self.assertTrue(wait_until(lambda: needed in labels(), timeout=15), f"kox says {labels()}")
        click(sr.centre(sr.find(kox, pyatspi.ROLE_PUSH_BUTTON, "Update")))
        self.assertTrue(wait_until(lambda: open(mine, "rb").read() == server_bytes, timeout=15),
                        "kox did not update the list in the user's data box")
        self.assertEqual(open(mine + ".bak", "rb").read(), old_bytes)


if __name__ == "__main__":
    unittest.main()
