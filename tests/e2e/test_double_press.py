"""The double press of left Ctrl, heard by the real vlcr.exe while another Wine
program has the focus, pops the launch menu up; chords, near misses and a
full-screen program in front do not."""

import os
import subprocess
import signal
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, MAIN_CLASS, SCREEN_H, SCREEN_W, WINE_RUN, eventually, find_windows, foreground,
                      launch_ini, probe, send, tap, wait_for, xdotool, TestWindow, VlcrTestCase)

LAUNCH_CLASS = "CLASS_LAUNCH"
ITEMS = launch_ini([(r"C:\windows\notepad.exe", "メモ帳", "", "M", ""),
                    (r"C:\windows", "ウィンドウズ", "", "W", "")])




def menu_visible():
    return any(w.visible for w in find_windows(LAUNCH_CLASS, APP_TITLE))


class DoublePress(VlcrTestCase):
    def setUp(self):
        super().setUp()
        self.inst = self.instance(ITEMS).start()
        self.main = self.settle(self.inst)
        # Another Wine program with the X focus, as on a desktop.
        self.notepad = subprocess.Popen([WINE_RUN, "notepad"], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
        self.assertTrue(wait_for(lambda: self.notepad_windows(), 20), "notepad did not appear")
        # The window manager may be restarting (the session keeps it running),
        # and notepad may have more than one window: each is asked in turn,
        # through the window manager and else directly, until one of them
        # has the X focus.
        self.assertTrue(wait_for(self.focus_notepad, 15),
                        "notepad could not be given the focus: " + self.describe_windows())
        time.sleep(0.5)
        self.assertFalse(menu_visible())

    def notepad_windows(self):
        return xdotool("search", "--onlyvisible", "--class", "notepad.exe", check=False).stdout.split()

    def focus_notepad(self):
        windows = self.notepad_windows()
        for wid in windows:
            if xdotool("windowactivate", "--sync", wid, check=False).returncode != 0:
                xdotool("windowfocus", "--sync", wid, check=False)
            if xdotool("getwindowfocus", check=False).stdout.strip() in windows:
                return True
        return False

    def describe_windows(self):
        windows = self.notepad_windows()
        names = [xdotool("getwindowname", w, check=False).stdout.strip() for w in windows]
        focus = xdotool("getwindowfocus", check=False).stdout.strip()
        return f"notepad windows {list(zip(windows, names))}, X focus {focus}"

    def tearDown(self):
        try:
            os.killpg(self.notepad.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.notepad.wait(timeout=10)
        super().tearDown()

    def test_double_press_of_left_ctrl_shows_the_menu(self):
        tap("Control_L")
        tap("Control_L")
        self.assertTrue(wait_for(menu_visible, 5), "no menu after a double press")

    def test_a_late_press_starts_a_new_sequence(self):
        tap("Control_L", after=1.0)  # longer than the double-click time
        tap("Control_L")  # too late for the first: the first of a new pair
        tap("Control_L")
        self.assertTrue(wait_for(menu_visible, 5), "the late press did not start a new sequence")

    def test_press_release_pause_press_shows_nothing_later_either(self):
        tap("Control_L", after=1.0)
        tap("Control_L")
        time.sleep(1.5)
        self.assertFalse(menu_visible())

    def quick_double_tap(self):
        # Press and release within a millisecond, as fast typists make them.
        xdotool("key", "Control_L")
        time.sleep(0.15)
        xdotool("key", "Control_L")

    def test_quick_taps_open_it_every_time(self):
        for _ in range(5):
            self.quick_double_tap()
            self.assertTrue(wait_for(menu_visible, 5), "no menu after two quick taps")
            xdotool("key", "Escape")
            self.assertTrue(wait_for(lambda: not menu_visible(), 5), "Escape left the menu up")
            time.sleep(0.6)  # more than the double-click time

    def test_chords_do_not(self):
        for chord in (["ctrl+Tab", "ctrl+Tab"], ["ctrl+semicolon", "ctrl+semicolon"], ["Control_L", "ctrl+c"]):
            xdotool("key", chord[0])
            time.sleep(0.1)
            xdotool("key", chord[1])
            time.sleep(0.8)
            self.assertFalse(menu_visible(), f"{chord} opened the menu")

    def test_not_over_a_full_screen_program_but_the_tray_still_opens_it(self):
        full = TestWindow("full", "VlcrTestFullScreen", "全画面", (0, 0, SCREEN_W, SCREEN_H))
        try:
            self.assertTrue(eventually(lambda: (foreground() or self.main).hwnd == full.hwnd),
                            "the full-screen window did not take the foreground")
            self.quick_double_tap()
            time.sleep(1.0)
            self.assertFalse(menu_visible(), "the menu opened over the full-screen program")
            self.assertTrue(send(self.main.hwnd, 1074, 0, 0x0205))  # the tray's right-button release
            self.assertTrue(wait_for(menu_visible, 5), "the tray did not open the menu")
        finally:
            full.close()

    def test_ctrl_c_twice_does_not(self):
        for _ in range(2):
            xdotool("keydown", "Control_L")
            time.sleep(0.05)
            tap("c", hold=0.08, after=0.05)  # C released before Ctrl
            xdotool("keyup", "Control_L")
            time.sleep(0.06)
        time.sleep(1.0)
        self.assertFalse(menu_visible())


if __name__ == "__main__":
    unittest.main(verbosity=2)
