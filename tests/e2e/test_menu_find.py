"""The launch menu grown: a folder item opens its folder as a menu beside it
(by Right and by resting the pointer), and typing finds items. The real
vlcr.exe, driven from the X server."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, BUILD, LAUNCH_CLASS, PROBE_EXE, WINE_RUN, MENU_WIDTH, SCREEN_W, TASKBAR, children, eventually,
                      find_windows, launch_ini, menu_height, probe, send, wait_window, win_path, xdotool, Screenshot,
                      TestWindow, VlcrTestCase)

RECORDER_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-recorder.exe")
FOLDER_CLASS = "TvlcrFolderMenu"
TRAY_MESSAGE = 1074
WM_RBUTTONUP = 0x0205
GREYED = (128, 128, 128)
ROLE_MENUPOPUP, ROLE_MENUITEM = 11, 12
STATE_FOCUSED, STATE_HASPOPUP = 0x4, 0x40000000
EVENT_POPUPEND, EVENT_FOCUS, EVENT_SELECTION = 0x0007, 0x8005, 0x8006


class ScreenReader:
    """The probe listening for WinEvents in a process of its own, as a screen
    reader does, for `ms` milliseconds."""

    def __init__(self, ms):
        self.out = tempfile.TemporaryFile()
        self.proc = subprocess.Popen([WINE_RUN, PROBE_EXE, "events", str(ms)], stdout=self.out,
                                     stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, start_new_session=True)
        if not eventually(lambda: self.lines()[:1] == ["ready"], 30):
            raise AssertionError("the listener did not start")

    def lines(self):
        self.out.seek(0)
        return self.out.read().decode("ascii", "replace").splitlines()

    def heard(self, timeout=60):
        """(event, hwnd, child, name) for each event, once the listening is over."""
        self.proc.wait(timeout)
        lines = self.lines()
        self.out.close()
        events = []
        for line in lines[1:]:
            event, hwnd, child, name = (line.split(" ") + [""])[:4]
            events.append((int(event, 16), int(hwnd, 16), int(child), bytes.fromhex(name).decode("utf-8")))
        return events


class MenuFindTest(VlcrTestCase):
    def setUp(self):
        super().setUp()
        self.inst = self.instance()
        self.tools = os.path.join(self.inst.dir, "道具")
        os.makedirs(os.path.join(self.tools, "空"))
        shutil.copy(RECORDER_EXE, os.path.join(self.tools, "recorder.exe"))
        self.log = os.path.join(self.tools, "recorder.log")
        recorder = win_path(os.path.join(self.tools, "recorder.exe"))
        items = [(recorder, "記録する", "--item 0", "", ""),
                 (win_path(self.tools), "道具箱", "", "", ""),
                 (recorder, "Calculator", "--item 2", "", ""),
                 (recorder, "メモ帳", "--item 3", "", "")]
        self.inst.write_launch_ini(launch_ini(items))
        self.windows = [TestWindow("app", "VlcrTestApp", "他のプログラム", (100, 100, 400, 300)),
                        TestWindow("bar", "Shell_TrayWnd", "", TASKBAR)]
        xdotool("mousemove", 20, 450)
        self.main = self.settle(self.inst.start())
        self.x0 = SCREEN_W - MENU_WIDTH

    def tearDown(self):
        super().tearDown()
        for w in self.windows:
            w.close()

    def open_menu(self):
        self.assertTrue(send(self.main.hwnd, TRAY_MESSAGE, 0, WM_RBUTTONUP))
        menu = wait_window(LAUNCH_CLASS, APP_TITLE, ms=5000)
        self.assertIsNotNone(menu, "the menu did not appear")
        return menu

    def folder_menu(self):
        shown = [w for w in find_windows(FOLDER_CLASS) if w.visible]
        return shown[0] if shown else None

    def recorded(self):
        if not os.path.exists(self.log):
            return None
        with open(self.log, "rb") as f:
            return f.read().decode("cp932")

    def test_a_screen_reader_hears_each_move_once_the_row_it_is_back_on_and_a_search_that_finds_nothing(self):
        reader = ScreenReader(12000)
        started = time.monotonic()
        menu = self.open_menu()
        xdotool("key", "Down", "Right")
        folder = eventually(self.folder_menu)
        self.assertIsNotNone(folder, "Right did not open the folder's menu")
        xdotool("key", "Left")
        self.assertTrue(eventually(lambda: self.folder_menu() is None), "Left did not close the folder's menu")
        xdotool("type", "zqx")
        time.sleep(max(0.0, 12.5 - (time.monotonic() - started)))
        events = reader.heard()
        rows = next(w for w in children(menu.hwnd) if w.cls == "TvlcrLaunchMenu")
        ours = [e for e in events if e[1] in (rows.hwnd, folder.hwnd)]
        self.assertFalse([e for e in ours if e[0] == EVENT_SELECTION], "a selection event beside the focus")
        # One focus event a row reached (the system's own for the window, child 0, aside); Wine delivers
        # them in order among themselves, not always in order with the popups' start and end.
        said = [(e[1], e[3]) for e in ours if e[0] == EVENT_FOCUS and e[2] > 0]
        self.assertEqual(said[:4], [(rows.hwnd, "記録する"), (rows.hwnd, "道具箱"),  # shown, Down
                                    (folder.hwnd, "空"),  # Right: the folder menu's first row
                                    (rows.hwnd, "道具箱")], said)  # Left: back on the folder row
        # Each key of a search that finds nothing says so.
        self.assertEqual(said[4:], [(rows.hwnd, "（該当なし）")] * 3, said)

    def test_a_folder_opens_beside_its_row_by_right_and_by_resting_there(self):
        menu = self.open_menu()
        xdotool("key", "Down", "Right")
        folder = eventually(self.folder_menu)
        self.assertIsNotNone(folder, "Right did not open the folder's menu")
        # Left of the menu (the screen ends on its right), level with the row.
        self.assertEqual(folder.rect[2], menu.rect[0])
        self.assertEqual(folder.rect[1], menu.rect[1] + 20)
        shot = Screenshot(save_as=os.path.join(BUILD, "e2e-folder-menu.ppm"))
        # The folder row's arrow, at the menu's right edge.
        self.assertGreater(shot.count(self.x0 + 165, menu.rect[1] + 24, SCREEN_W, menu.rect[1] + 36, (0, 0, 0)), 5)
        # Left closes it; resting the pointer on the row opens it again.
        xdotool("key", "Left")
        self.assertTrue(eventually(lambda: self.folder_menu() is None), "Left left the folder's menu up")
        xdotool("mousemove", self.x0 + 60, menu.rect[1] + 10, "mousemove", self.x0 + 60, menu.rect[1] + 30)
        folder = eventually(self.folder_menu)
        self.assertIsNotNone(folder, "resting on the row did not open the folder's menu")
        # Subfolders first: the empty one, then the program. A click starts it
        # in its own folder and every menu closes.
        left, top = folder.rect[0], folder.rect[1]
        xdotool("mousemove", left + 60, top + 30, "click", 1)
        text = eventually(self.recorded, 15)
        self.assertIsNotNone(text, "the program was not started")
        lines = dict(l.split("=", 1) for l in text.splitlines() if "=" in l)
        self.assertEqual(lines["cwd"].rstrip("\\").lower(), win_path(self.tools).lower())
        self.assertTrue(eventually(lambda: self.folder_menu() is None and
                                   not any(w.visible for w in find_windows(LAUNCH_CLASS, APP_TITLE))))

    def test_typing_finds_and_enter_launches_the_first_found(self):
        menu = self.open_menu()
        xdotool("type", "--delay", "50", "calx")
        # The text row, the no-match row, cancel and quit; greyed.
        self.assertTrue(eventually(lambda: find_windows(LAUNCH_CLASS, APP_TITLE)[0].rect[1] ==
                                   TASKBAR[1] - menu_height(2)), "the menu did not shrink to the search's rows")
        shot = Screenshot(save_as=os.path.join(BUILD, "e2e-menu-search.ppm"))
        top = TASKBAR[1] - menu_height(2)
        self.assertGreater(shot.count(self.x0 + 20, top + 20, SCREEN_W, top + 40, GREYED), 10)
        xdotool("key", "BackSpace")
        self.assertTrue(eventually(lambda: find_windows(LAUNCH_CLASS, APP_TITLE)[0].rect[1] ==
                                   TASKBAR[1] - menu_height(2)))
        xdotool("key", "Return")
        text = eventually(self.recorded, 15)
        self.assertIsNotNone(text, "Enter started nothing")
        self.assertIn("--item 2", text)
        self.assertEqual(menu.rect[1], TASKBAR[1] - menu_height(4))


    def read_from_outside(self, hwnd):
        """The menu as a screen reader in another process reads it."""
        rc, _, lines = probe("msaa", hex(hwnd))
        self.assertEqual(rc, 0, "no accessible object")
        rows = [l.split(" ") for l in lines if l[:1].isdigit()]
        focus = [int(l.split(" ")[1]) for l in lines if l.startswith("focus ")]
        return [(int(r[1]), int(r[2]), bytes.fromhex(r[3] if len(r) > 3 else "").decode("utf-8")) for r in rows], focus

    def test_a_screen_reader_in_another_process_reads_the_rows_and_follows_the_selection(self):
        menu = self.open_menu()
        control = [c for c in children(menu.hwnd) if c.cls == "TvlcrLaunchMenu"][0]
        rows, focus = self.read_from_outside(control.hwnd)
        self.assertEqual(rows[0][0], ROLE_MENUPOPUP)
        self.assertEqual([r[2] for r in rows[1:]], ["記録する", "道具箱", "Calculator", "メモ帳", "キャンセル", "迅の終了"])
        self.assertTrue(all(r[0] == ROLE_MENUITEM for r in rows[1:]))
        self.assertTrue(rows[2][1] & STATE_HASPOPUP, "the folder row does not say it opens a menu")
        self.assertEqual(focus, [1])
        xdotool("key", "Down", "Down")
        self.assertTrue(eventually(lambda: self.read_from_outside(control.hwnd)[1] == [3]), "the focus did not follow")
        self.assertTrue(self.read_from_outside(control.hwnd)[0][3][1] & STATE_FOCUSED)


if __name__ == "__main__":
    unittest.main()
