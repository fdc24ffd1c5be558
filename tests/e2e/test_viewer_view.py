"""What a user in Japan sees in tuvelv, read through the accessibility tree: the last
update of each list in local wall-clock time, the status bar's texts, and the
catalogue answering a double-click below its rows."""
import calendar
import os
import unittest

from userdesk import (ProgramFolder, UserTestCase, click, double_click, pause_between_clicks, screenshot,
                      wait_until)


def utc(*fields):
    return calendar.timegm(fields)


# file, list name, description, keys, last-modified time (UTC), last update as shown in Tokyo
LISTS = [
    ("morning.txt", "日付の試験", "東京の朝五時に保存", ["#[朝]", "おはようございます", "ｵﾊﾖｳ"],
     utc(2021, 3, 4, 20, 6, 7, 0, 0, 0), "2021/03/05 5:06:07"),
    ("midnight.txt", "真夜中", "東京の午前零時ちょうどに保存", ["こんばんは", "おやすみなさい"],
     utc(2021, 6, 30, 15, 0, 0, 0, 0, 0), "2021/07/01"),
]


class ViewerViewTest(UserTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = ProgramFolder()
        cls.addClassCleanup(cls.folder.remove)
        for file_name, name, description, keys, mtime, _ in LISTS:
            cls.folder.write_list(file_name, name, description, "", keys, mtime=mtime)

    def setUp(self):
        import viewerdesk
        self.viewer = viewerdesk.Viewer(self.folder, self.addCleanup)

    def expected_panels(self, list_index, keys):
        _, name, description, _, _, shown = LISTS[list_index]
        return [f"all {len(LISTS)} lists", f"all {keys} keys", "date " + shown, description]

    def first_row(self):
        import screenreader as sr
        first = sr.table_cell(self.viewer.catalogue, 0, 0).name
        return [l[1] for l in LISTS].index(first)

    def test_last_update_is_tokyo_wall_clock_time(self):
        for _, name, _, _, _, shown in LISTS:
            with self.subTest(name):
                self.assertEqual(self.viewer.catalogue_cell(name, 2), shown)

    def test_status_bar_reads_out_its_texts(self):
        viewer = self.viewer
        first = self.first_row()
        self.assertEqual(viewer.panels(), self.expected_panels(first, "-"))
        # A click on the other list makes it current; a double-click opens it.
        import screenreader as sr
        other = 1 - first
        cell = sr.table_cell(viewer.catalogue, viewer.catalogue_row(LISTS[other][1]), 0)
        click(viewer.point(cell))
        want = self.expected_panels(other, "-")
        wait_until(lambda: viewer.panels() == want, timeout=5)
        self.assertEqual(viewer.panels(), want)
        pause_between_clicks()
        self.assertTrue(viewer.open_list(LISTS[other][1], len(LISTS[other][3])))
        want = self.expected_panels(other, len(LISTS[other][3]))
        wait_until(lambda: viewer.panels() == want, timeout=5)
        self.assertEqual(viewer.panels(), want)
        shot = os.environ.get("TUVEL_E2E_SCREENSHOT")
        if shot:
            screenshot(shot)

    def test_double_click_below_the_rows_opens_the_current_list(self):
        import screenreader as sr
        viewer = self.viewer
        second = viewer.catalogue_row(LISTS[1][1])
        click(viewer.point(sr.table_cell(viewer.catalogue, second, 0)))
        self.assertTrue(wait_until(viewer.is_active, timeout=5))
        pause_between_clicks()
        double_click(viewer.empty_catalogue_point())
        keys = LISTS[1][3]
        wait_until(lambda: viewer.key_texts() == keys, timeout=5)
        self.assertEqual(viewer.key_texts(), keys)


if __name__ == "__main__":
    unittest.main()
