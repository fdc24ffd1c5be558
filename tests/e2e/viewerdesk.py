"""The viewer as the user sees it: started from its program folder, its splash
gone, its catalogue and key list found and used through the accessibility tree."""
import subprocess
import time

import pyatspi

import screenreader as sr
from userdesk import click, ctrl_key, double_click, pause_between_clicks, wait_until, xdotool


def server_geometry(pid):
    """Where the X server has the process's visible window: x, y, width, height."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           capture_output=True, text=True).stdout.split()
    for window in found:
        shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                               capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
        if all(k in values for k in ("X", "Y", "WIDTH", "HEIGHT")):
            return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
    return None


def active_window_pid():
    result = subprocess.run(["xdotool", "getactivewindow", "getwindowpid"], capture_output=True, text=True)
    return int(result.stdout.strip()) if result.returncode == 0 and result.stdout.strip() else None


class Viewer:
    def __init__(self, folder, cleanup):
        self.program = folder.start("tuvelv")
        cleanup(self.program.stop)
        self.app = sr.application(self.program.pid)
        # The splash counts down from 3 and closes itself; the user waits for it.
        wait_until(lambda: sr.fresh(self.app).childCount == 1, timeout=8)
        # Clicks go where the server has the window. The program's idea of its own
        # place can lag behind for seconds (it says 0, 0 meanwhile), so places are
        # taken relative to the window, and the window is where the server has it.
        wait_until(self.window_in_place, timeout=3)
        self.window = sr.fresh(self.app).getChildAtIndex(0)
        self.catalogue = sr.find(self.app, pyatspi.ROLE_TABLE, "リスト")
        self.keys = sr.find(self.app, pyatspi.ROLE_TABLE, "キー")

    def window_in_place(self):
        """The viewer's window once the program and the X server agree on its place."""
        where = server_geometry(self.program.pid)
        for window in sr.fresh(self.app):
            if window is not None and sr.extents(window) == where:
                return window
        return None

    def offset(self, said=None):
        """How far the window really is from where the program says it is."""
        where = server_geometry(self.program.pid)
        said = said or sr.extents(sr.fresh(self.window))
        if where is None or where[2:] != said[2:]:
            raise AssertionError(f"the viewer is {where} on the screen but says {said}")
        return where[0] - said[0], where[1] - said[1]

    def point(self, accessible):
        """Where on the screen to click the object."""
        for _ in range(5):  # the program's idea of its place must not change meanwhile
            said = sr.extents(sr.fresh(self.window))
            x, y = sr.centre(accessible)
            if sr.extents(sr.fresh(self.window)) == said:
                break
        dx, dy = self.offset(said)
        return x + dx, y + dy

    def is_active(self):
        return active_window_pid() == self.program.pid

    def whereabouts(self):
        """For a failure message: who has the focus, and where the viewer is and says it is."""
        active = subprocess.run("xprop -root _NET_ACTIVE_WINDOW; xprop -id $(xdotool getactivewindow) WM_NAME _NET_WM_PID WM_CLASS",
                                shell=True, capture_output=True, text=True)
        return (f"active window {active.stdout + active.stderr} of process {active_window_pid()} (viewer {self.program.pid}); viewer on screen "
                f"{server_geometry(self.program.pid)}, says {sr.extents(sr.fresh(self.window))}")

    def catalogue_row(self, list_name):
        names = sr.row_texts(self.catalogue, 0)
        if list_name not in names:
            raise AssertionError(f"{list_name!r} not among the catalogue rows {names}")
        return names.index(list_name)

    def catalogue_cell(self, list_name, column):
        return sr.table_cell(self.catalogue, self.catalogue_row(list_name), column).name

    def key_texts(self):
        return sr.row_texts(self.keys, 0)

    def open_list(self, list_name, key_count):
        cell = sr.table_cell(self.catalogue, self.catalogue_row(list_name), 0)
        double_click(self.point(cell))
        return wait_until(lambda: sr.table_rows(self.keys) == key_count, timeout=10)

    def row_in_sight(self, table, row):
        """Whether the row lies wholly inside the table's viewport, below its header."""
        x, y, w, h = sr.extents(table)
        header = sr.fresh(table).queryTable().getColumnHeader(0)
        top = y + (sr.extents(header)[3] if header else 0)
        cx, cy, cw, ch = sr.extents(sr.table_cell(table, row, 0))
        return cy >= top and cy + ch <= y + h

    def bring_key_row_into_sight(self, row):
        """Scrolls as a person would: click a row in sight, then Down until it shows."""
        if self.row_in_sight(self.keys, row):
            return
        shown = [r for r in range(sr.table_rows(self.keys)) if self.row_in_sight(self.keys, r)]
        start = max(r for r in shown if r < row) if any(r < row for r in shown) else shown[0]
        click(self.point(sr.table_cell(self.keys, start, 0)))
        key = "Down" if row > start else "Up"
        for _ in range(abs(row - start)):
            xdotool("key", key)
            time.sleep(0.05)
        wait_until(lambda: self.row_in_sight(self.keys, row), timeout=3)
        pause_between_clicks()  # the next click on the same spot is a click of its own

    def key_cell_point(self, row):
        self.bring_key_row_into_sight(row)
        return self.point(sr.table_cell(self.keys, row, 0))

    def send_key(self, row, trigger):
        """Picks the key in the row and gives it out as the user does: "double-click", or
        a click and then "button" (直接出力), "ctrl+b" or "ctrl+c"."""
        point = self.key_cell_point(row)
        if trigger == "double-click":
            double_click(point)
            return
        click(point)
        if not wait_until(self.is_active, timeout=5):
            raise AssertionError("the viewer did not become active: " + self.whereabouts())
        if trigger == "button":
            click(self.point(self.button("直接出力")))
        else:
            ctrl_key(trigger[-1])

    def button(self, name):
        return sr.find(self.app, pyatspi.ROLE_PUSH_BUTTON, name)

    def empty_catalogue_point(self):
        """A point in the catalogue below its last row, above any scroll bar."""
        x, y, w, h = sr.extents(self.catalogue)
        rows = sr.table_rows(self.catalogue)
        cx, cy, cw, ch = sr.extents(sr.table_cell(self.catalogue, rows - 1, 0))
        below = cy + ch
        bottom = y + h - 18
        if bottom - below < 8:
            raise AssertionError("the catalogue has no empty area below its rows")
        dx, dy = self.offset()
        return x + min(w // 2, cw // 2) + dx, (below + bottom) // 2 + dy

    def panels(self):
        return sr.status_panels(self.app)
