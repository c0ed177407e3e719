"""The notification icon of the real vlcr.exe in Wine's tray window."""

import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, RECORDER_EXE, find_windows, VlcrTestCase, launch_ini, pixel, screenshot, tray_icon_point,
                      wait_for, win_path, xdotool)


class TrayIcon(VlcrTestCase):
    def start_with_recorder(self):
        inst = self.instance()
        recorder = os.path.join(inst.dir, "recorder.exe")
        shutil.copy(RECORDER_EXE, recorder)
        dbl = f'"{win_path(recorder)}" from the tray'
        inst.write_launch_ini(launch_ini([(win_path(recorder), "記録", "", "R", "")], dbl=dbl))
        inst.start()
        self.settle(inst)
        return inst, os.path.join(inst.dir, "recorder.log")

    def test_the_icon_is_shown_and_a_double_click_runs_the_command(self):
        inst, log = self.start_with_recorder()
        point = tray_icon_point()
        self.assertIsNotNone(point, "no tray window")
        x, y = point
        # The icon's blue face where the tray's white background would be; the
        # tray window may be mapped a moment before the icon is painted.
        def icon_pixel():
            r, g, b = pixel(screenshot(os.path.join(inst.dir, "tray.png")), x, y - 4)
            return (r, g, b) if b > 100 and b > r + 40 else None
        self.assertTrue(wait_for(icon_pixel, 10, step=0.3), "no icon drawn in the tray window")

        xdotool("mousemove", x, y)
        xdotool("click", "--repeat", 2, "--delay", 80, 1)
        self.assertTrue(wait_for(lambda: os.path.exists(log), 10), "the double-click command did not run")
        time.sleep(0.3)
        with open(log, "rb") as f:
            text = f.read().decode("cp932")
        self.assertEqual(text.count("args=from the tray\r\n"), 1, text)

    def test_a_right_click_shows_the_launch_menu(self):
        inst, log = self.start_with_recorder()
        x, y = tray_icon_point()
        self.assertFalse(any(w.visible for w in find_windows("CLASS_LAUNCH", APP_TITLE)))
        xdotool("mousemove", x, y)
        xdotool("click", 3)
        menu = wait_for(lambda: [w for w in find_windows("CLASS_LAUNCH", APP_TITLE) if w.visible], 10)
        self.assertTrue(menu, "no launch menu after a right click on the icon")
        self.assertEqual(menu[0].rect[2] - menu[0].rect[0], 180)
        self.assertEqual(menu[0].rect[3] - menu[0].rect[1], 20 * 3 + 2)
        self.assertFalse(os.path.exists(log))  # nothing launched

    def test_a_single_left_click_runs_nothing(self):
        inst, log = self.start_with_recorder()
        x, y = tray_icon_point()
        xdotool("mousemove", x, y)
        xdotool("click", 1)
        time.sleep(1.0)
        self.assertFalse(os.path.exists(log))
        self.assertTrue(inst.alive())


if __name__ == "__main__":
    unittest.main(verbosity=2)
