"""The launch menu of the real vlcr.exe, driven from the X server: opened
through message 1074, placed against a taskbar, moved with the arrows,
launching by letter, hidden by Escape and by a click elsewhere, reordered by
dragging, and the quit row."""

import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, BUILD, LAUNCH_CLASS, MENU_WIDTH, SCREEN_W, TASKBAR, backtraces, children, drag_down,
                      eventually, find_windows, foreground, launch_ini, menu_height, post, probe, send, wait_window,
                      win_path, x_focus_name, x_geometry, xdotool, Screenshot, TestWindow, VlcrTestCase)

RECORDER_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-recorder.exe")
TRAY_MESSAGE = 1074
WM_RBUTTONUP = 0x0205

SELECTED_LEFT = (200, 230, 255)
NORMAL_LEFT = (255, 230, 200)
FRAME_OUTLINE = (20, 50, 100)
FRAME_FILL = (215, 227, 255)
FIXED_ROW_CAPTION = (30, 50, 0)
ICON_COLUMN = (255, 245, 230)

NAMES = ["一番目", "二番目", "三番目", "四番目", "五番目"]


def recorder_running():
    """Whether a vlcr-recorder.exe process is running, read from Linux."""
    for pid in os.listdir("/proc"):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if b"vlcr-recorder.exe" in f.read():
                    return True
        except (OSError, ValueError):
            continue
    return False


class LaunchMenuTest(VlcrTestCase):
    def setUp(self):
        super().setUp()
        self.inst = self.instance()
        tools = os.path.join(self.inst.dir, "tools")
        self.work = os.path.join(self.inst.dir, "作業")
        os.mkdir(tools)
        os.mkdir(self.work)
        shutil.copy(RECORDER_EXE, tools)
        self.log = os.path.join(tools, "recorder.log")
        recorder = win_path(os.path.join(tools, "vlcr-recorder.exe"))
        items = [(recorder, name, f"--item {i}", "ABCDE"[i], "") for i, name in enumerate(NAMES)]
        items[1] = (recorder, NAMES[1], 'alpha "beta gamma"', "B", win_path(self.work))
        self.inst.write_launch_ini(launch_ini(items))
        self.windows = []
        # Another program in the foreground, and a taskbar along the bottom.
        self.app = self.make_window("app", "VlcrTestApp", "他のプログラム", (100, 100, 400, 300))
        self.bar = self.make_window("bar", "Shell_TrayWnd", "", TASKBAR)
        # The pointer rests on bare screen: the menu selects the row it appears under.
        xdotool("mousemove", 20, 450)
        self.main = self.settle(self.inst.start())
        eventually(lambda: (foreground() or self.app.window).hwnd == self.app.hwnd)
        self.x0 = SCREEN_W - MENU_WIDTH
        self.y0 = TASKBAR[1] - menu_height(len(NAMES))

    def tearDown(self):
        super().tearDown()
        for w in self.windows:
            w.close()

    def make_window(self, kind, cls, title, rect):
        w = TestWindow(kind, cls, title, rect)
        self.windows.append(w)
        return w

    # The menu.
    def open_menu(self):
        if not send(self.main.hwnd, TRAY_MESSAGE, 0, WM_RBUTTONUP):
            self.fail("the tray message was not answered within 5 s; the program's threads:\n"
                      + backtraces(self.main.pid))
        menu = wait_window(LAUNCH_CLASS, APP_TITLE, ms=5000)
        if menu is None:
            fg = foreground()
            self.fail(f"the menu did not appear; foreground {fg and (hex(fg.hwnd), fg.cls)}, X focus {x_focus_name()!r}")
        return menu

    def foreground_settled(self):
        """Wine's foreground stays the same for a moment and is none of this
        program's windows (or there is none): the focus events of the launch
        and the hand-back are over."""
        own = {w.hwnd for w in find_windows(LAUNCH_CLASS, APP_TITLE)} | {self.main.hwnd}
        first = foreground()
        time.sleep(0.2)
        second = foreground()
        same = (first and first.hwnd) == (second and second.hwnd)
        return same and (second is None or second.hwnd not in own)

    def menu_visible(self):
        return any(w.visible for w in find_windows(LAUNCH_CLASS, APP_TITLE))

    def row_centre(self, row):
        return self.x0 + 60, self.y0 + 20 * row + 10

    def selected_rows(self, shot=None):
        shot = shot or Screenshot()
        rows = len(NAMES) + 2
        return [r for r in range(rows) if shot.at(self.x0 + 2, self.y0 + 20 * r + 1) == SELECTED_LEFT]

    def expect_selection(self, rows):
        self.assertEqual(eventually(lambda: self.selected_rows() == rows and rows), rows,
                         f"selection is {self.selected_rows()}")

    def recorded(self):
        if not os.path.exists(self.log):
            return None
        with open(self.log, "rb") as f:
            return f.read().decode("cp932")

    # The tests.
    def test_opened_it_stands_on_the_taskbar_painted_and_with_the_keyboard(self):
        menu = self.open_menu()
        h = menu_height(len(NAMES))
        self.assertEqual(menu.rect, (self.x0, self.y0, SCREEN_W, TASKBAR[1]))
        self.assertEqual(menu.exstyle & 0x8C, 0x8C)  # tool window, no parent notify, topmost
        self.assertEqual(x_geometry(APP_TITLE, MENU_WIDTH, h), (self.x0, self.y0))
        self.assertTrue(eventually(lambda: x_focus_name() == APP_TITLE), "the menu has not got the X focus")
        shot = Screenshot(save_as=os.path.join(BUILD, "e2e-launch-menu.ppm"))
        self.assertEqual(self.selected_rows(shot), [0])
        x0, y0 = self.x0, self.y0
        self.assertEqual(shot.at(x0 + 2, y0 + 21), NORMAL_LEFT)
        self.assertEqual(shot.at(x0 + 20, y0 + 5), FRAME_OUTLINE)
        self.assertEqual(shot.at(x0 + 178, y0 + 19), FRAME_OUTLINE)
        self.assertEqual(shot.at(x0 + 170, y0 + 2), FRAME_FILL)
        self.assertEqual(shot.at(x0 + 179, y0 + 5), (255, 255, 255))
        self.assertEqual(shot.at(x0 + 21, y0 + 20 + 1), ICON_COLUMN)
        end = shot.at(x0 + 179, y0 + 20 + 1)  # the gradient's right end
        self.assertTrue(all(abs(a - b) <= 3 for a, b in zip(end, (222, 242, 215))), end)
        for row in (5, 6):  # cancel and quit captions
            top = y0 + 20 * row
            self.assertGreater(shot.count(x0 + 40, top, SCREEN_W, top + 20, FIXED_ROW_CAPTION), 20)
        self.assertGreater(shot.count(x0 + 40, y0 + 20, SCREEN_W, y0 + 40, (0, 0, 0)), 20)

    def test_the_arrows_wrap_both_ways(self):
        self.open_menu()
        self.expect_selection([0])
        xdotool("key", "Up")
        self.expect_selection([6])
        xdotool("key", "Down")
        self.expect_selection([0])
        xdotool("key", "Down", "Down")
        self.expect_selection([2])
        xdotool("key", "Up", "Up", "Up")
        self.expect_selection([6])

    def test_a_shortcut_letter_launches_the_item_in_its_folder(self):
        self.open_menu()
        xdotool("key", "b")
        text = eventually(self.recorded, 15)
        self.assertIsNotNone(text, "the item was not started")
        lines = dict(l.split("=", 1) for l in text.splitlines() if "=" in l)
        self.assertEqual(lines["cwd"].rstrip("\\").lower(), win_path(self.work).lower())
        self.assertEqual(lines["args"], 'alpha "beta gamma"')
        self.assertFalse(self.menu_visible())

    def test_a_click_and_enter_launch_their_rows(self):
        self.open_menu()
        x, y = self.row_centre(3)
        xdotool("mousemove", x, y, "click", 1)
        self.assertTrue(eventually(lambda: "--item 3" in (self.recorded() or ""), 15), self.recorded())
        self.assertTrue(eventually(lambda: not self.menu_visible()))
        # Under Wine the recorder's console window takes the foreground while
        # it runs: the menu is asked for once it has ended.
        self.assertTrue(eventually(lambda: not recorder_running(), 10), "the recorder did not end")
        self.assertTrue(eventually(lambda: x_focus_name() != APP_TITLE))  # the foreground settled, as above
        self.assertTrue(eventually(self.foreground_settled, 10), "the foreground did not settle")
        xdotool("mousemove", 20, 450)
        self.open_menu()  # on the row chosen last
        self.expect_selection([3])
        xdotool("key", "Down", "Return")
        self.assertTrue(eventually(lambda: "--item 4" in (self.recorded() or ""), 15), self.recorded())

    def test_escape_hides_and_hands_the_foreground_back(self):
        # The other program has the foreground for certain (after start-up
        # Wine may leave it with its tray window): a click on it.
        xdotool("mousemove", 250, 200, "click", 1)
        self.assertTrue(eventually(lambda: (foreground() or self.main).hwnd == self.app.hwnd),
                        "the other program did not take the foreground")
        self.open_menu()
        self.assertTrue(eventually(lambda: x_focus_name() == APP_TITLE), x_focus_name())
        xdotool("key", "Escape")
        self.assertTrue(eventually(lambda: not self.menu_visible()), "Escape left the menu up")
        self.assertEqual(eventually(lambda: (foreground() or self.main).hwnd == self.app.hwnd),
                         True, "the foreground did not go back")
        # The loss of activation ended the menu's busy state: it opens again.
        self.open_menu()
        self.assertIsNone(self.recorded())

    def test_a_click_elsewhere_hides_it(self):
        self.open_menu()
        self.assertTrue(eventually(lambda: x_focus_name() == APP_TITLE), x_focus_name())
        xdotool("mousemove", 250, 200, "click", 1)
        self.assertTrue(eventually(lambda: not self.menu_visible()), "the click outside left the menu up")
        self.open_menu()
        self.assertIsNone(self.recorded())

    def test_dragging_item_0_onto_row_3_rewrites_launch_ini(self):
        self.open_menu()
        x, y = self.row_centre(0)
        drag_down(x, y, 3)
        expected = [NAMES[1], NAMES[2], NAMES[3], NAMES[0], NAMES[4]]

        def names():
            lines = self.inst.read_launch_ini().decode("cp932").split("\r\n")
            return [lines[2 + 5 * i + 1] for i in range(len(NAMES))]
        self.assertEqual(eventually(lambda: names() == expected), True, names())
        self.assertTrue(self.menu_visible(), "the reloaded menu is not shown")
        self.assertIsNone(self.recorded())

    def test_the_right_button_opens_the_command_menu(self):
        self.open_menu()
        x, y = self.row_centre(1)
        xdotool("mousemove", x, y, "click", 3)
        popup = wait_window("#32768", ms=5000)
        self.assertIsNotNone(popup, "no command menu")
        xdotool("key", "Escape")
        self.assertEqual(probe("gone", 5000, hex(popup.hwnd))[0], 0, "the command menu stayed")
        self.assertTrue(self.menu_visible())

    def quit_box(self):
        menu = self.open_menu()
        xdotool("key", "Up")
        self.expect_selection([6])
        xdotool("key", "Return")
        box = wait_window("#32770", APP_TITLE, ms=10000)
        self.assertIsNotNone(box, "no question")
        texts = [c.text for c in children(box.hwnd) if c.cls.lower() == "static"]
        self.assertIn("終了しますか？", texts)
        self.assertEqual(box.owner, menu.hwnd)
        return box

    def test_the_quit_row_with_ok_ends_the_program(self):
        box = self.quit_box()
        probe("command", hex(box.hwnd), 1)  # IDOK
        self.assertEqual(self.inst.wait_exit(15), 0)

    def test_asked_again_right_after_a_launch_it_opens(self):
        self.open_menu()
        xdotool("key", "a")
        self.assertTrue(eventually(lambda: "--item 0" in (self.recorded() or ""), 15), "the item was not started")
        self.assertTrue(eventually(lambda: not self.menu_visible()), "the launch left the menu up")
        # Once the launched program has ended (under Wine its console window
        # takes the foreground while it runs), without waiting for this
        # program to hear of any loss of activation.
        self.assertTrue(eventually(lambda: not recorder_running(), 10), "the recorder did not end")
        # Wine hears from the X server where the handed-back foreground went a
        # moment later; asked before that, the menu is shown and then loses it.
        self.assertTrue(eventually(lambda: x_focus_name() != APP_TITLE), "the X focus stayed on the menu")
        self.assertTrue(eventually(self.foreground_settled, 10), "the foreground did not settle")
        self.open_menu()
        self.assertTrue(eventually(lambda: x_focus_name() == APP_TITLE), "the reopened menu has no keyboard")
        xdotool("key", "b")
        self.assertTrue(eventually(lambda: 'alpha "beta gamma"' in (self.recorded() or ""), 15),
                        "the reopened menu did not launch")

    def test_alt_f4_closes_the_menu_and_a_close_request_ends_the_program(self):
        menu = self.open_menu()
        self.assertTrue(eventually(lambda: x_focus_name() == APP_TITLE), x_focus_name())
        # openbox keeps Alt+F4 for itself: the key as Windows would deliver it
        # to the focused menu control.
        control = children(menu.hwnd)[0]
        post(control.hwnd, 0x0104, 0x73, 1 << 29)  # WM_SYSKEYDOWN F4, Alt held
        self.assertTrue(eventually(lambda: not self.menu_visible()), "Alt+F4 left the menu up")
        self.assertTrue(find_windows(LAUNCH_CLASS, APP_TITLE), "Alt+F4 destroyed the command window")
        self.open_menu()  # and it opens again
        xdotool("key", "Escape")
        self.assertTrue(eventually(lambda: not self.menu_visible()))
        post(self.main.hwnd, 0x0010)  # WM_CLOSE, as "end task" sends it
        self.assertEqual(self.inst.wait_exit(15), 0, "the close request left the process running")

    def test_the_quit_row_with_cancel_leaves_it_running(self):
        box = self.quit_box()
        probe("command", hex(box.hwnd), 2)  # IDCANCEL
        self.assertEqual(probe("gone", 10000, hex(box.hwnd))[0], 0)
        self.assertIsNone(self.inst.wait_exit(1.5))
        self.assertTrue(eventually(lambda: not self.menu_visible()))


if __name__ == "__main__":
    unittest.main(verbosity=2)
