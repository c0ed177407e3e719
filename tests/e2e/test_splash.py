"""The splash window of the real vlcr.exe: on screen, painted, during start-up;
gone once start-up is over; hidden while the first-run box is open."""

import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, MAIN_CLASS, PROBE_EXE, SETTINGS_KEY, WINE_RUN, Screenshot, VlcrTestCase, Window,
                      cp932_hex, find_windows, launch_ini, probe, reg_add_dword, send, wait_for, wait_window)

WM_QUIT = 0x12
SPLASH_CLASS = "CLASS_SPLASH"
SPLASH_RECT = (100, 100, 360, 160)  # left, top, right, bottom
PAPER = (236, 231, 221)
NAME = (112, 165, 255)
ITEMS = launch_ini([(r"C:\windows\notepad.exe", f"メモ帳{i}", "", "", "") for i in range(40)])
SHOTS = os.environ.get("VLCR_SHOTS", tempfile.gettempdir())


def gradient(x):
    """The splash's gradient column x (0..119) as (red, green, blue)."""
    t = round(x / 120 * 255)  # Python rounds half to even, as the fill does
    w = t * 255 // 256
    u = 255 - w
    start, end = (48, 112, 255), PAPER
    return tuple((e * w + s * u) // 256 for s, e in zip(start, end))


def painted_shot(path):
    """A screenshot, once the splash's paper colour is on the screen."""
    shot = Screenshot(save_as=path)
    return shot if shot.at(SPLASH_RECT[0] + 255, SPLASH_RECT[1] + 55) == PAPER else None


def visible_splash():
    """The visible splash now, described without a message to its busy thread."""
    rc, wins, _ = probe("appear", 0, cp932_hex(SPLASH_CLASS))
    return wins[0] if rc == 0 and wins else None


class SplashWatcher:
    """A probe started before vlcr.exe that waits for the visible splash."""

    def __init__(self, ms):
        self.out = tempfile.TemporaryFile()
        self.proc = subprocess.Popen([WINE_RUN, PROBE_EXE, "appear", str(ms), cp932_hex(SPLASH_CLASS)],
                                     stdout=self.out, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                                     start_new_session=True)

    def window(self, seconds):
        try:
            self.proc.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait(timeout=10)
        self.out.seek(0)
        lines = [l for l in self.out.read().decode("ascii", "replace").splitlines() if l.startswith("hwnd=")]
        self.out.close()
        return Window(lines[0]) if lines else None


class Splash(VlcrTestCase):
    def quit(self, inst):
        main = self.settle(inst)
        self.assertTrue(send(main.hwnd, WM_QUIT))
        self.assertEqual(inst.wait_exit(15), 0)

    def test_the_splash_shows_its_picture_during_start_up_and_is_gone_after(self):
        # Start-up is too quick to watch (the icons come after it): a settings
        # key without its values holds it at the error box, the splash on screen.
        reg_add_dword(SETTINGS_KEY, "ListIconVisible", 1)
        inst = self.instance(ITEMS)
        watcher = SplashWatcher(20000)
        time.sleep(0.3)  # the probe is running before vlcr.exe starts
        inst.start()
        splash = watcher.window(40)
        self.assertIsNotNone(splash, "no visible splash window during start-up")
        self.assertEqual(splash.text, APP_TITLE)
        self.assertEqual(splash.rect, SPLASH_RECT)
        self.assertEqual(splash.exstyle & 0x80, 0x80)  # WS_EX_TOOLWINDOW
        self.assertEqual(splash.style & 0x80000000, 0x80000000)  # WS_POPUP
        self.assertEqual(splash.owner, 0)

        # The X server may show the window a moment after Windows calls it
        # visible: look until the picture is there, while the splash stays.
        left, top = SPLASH_RECT[:2]
        path = os.path.join(SHOTS, "vlcr-splash.ppm")
        shot = wait_for(lambda: painted_shot(path), 5, step=0.02) or Screenshot(save_as=path)
        self.assertIsNotNone(visible_splash(), "the splash was gone before the screenshot")

        # The gradient in the columns that no icon or text covers, the paper
        # colour below the name, the name's colour in its letters, black in
        # the status text, the icon at 5, 5.
        for x in (0, 2, 40, 50, 119):
            self.assertEqual(shot.at(left + x, top + 50), gradient(x), f"column {x}")
        self.assertEqual(shot.at(left + 125, top + 55), PAPER)
        self.assertEqual(shot.at(left + 255, top + 55), PAPER)
        self.assertGreater(shot.count(left + 60, top, left + 260, top + 40, NAME), 100)
        self.assertGreater(shot.count(left + 140, top + 40, left + 200, top + 56, (0, 0, 0)), 5)
        icon = sum(1 for y in range(5, 37) for x in range(5, 37) if shot.at(left + x, top + y) != gradient(x))
        self.assertGreater(icon, 100, "no icon at 5, 5")

        box = wait_window("#32770", APP_TITLE, ms=15000)
        self.assertIsNotNone(box, "no error box for the damaged settings")
        probe("command", hex(box.hwnd), 1)  # IDOK: start-up goes on
        self.settle(inst)
        self.assertTrue(wait_for(lambda: not find_windows(SPLASH_CLASS), 30), "the splash outlived start-up")
        self.assertTrue(inst.alive())
        self.quit(inst)

    def test_a_first_run_hides_the_splash_while_the_welcome_box_is_open(self):
        inst = self.instance().start()
        box = wait_window("#32770", APP_TITLE, ms=15000)
        self.assertIsNotNone(box, "no first-run message box")
        splashes = find_windows(SPLASH_CLASS)
        self.assertEqual(len(splashes), 1, "the splash should still exist, hidden")
        self.assertFalse(splashes[0].visible)
        self.assertEqual(splashes[0].pid, box.pid)

        probe("command", hex(box.hwnd), 1)  # IDOK
        self.assertEqual(probe("gone", 10000, hex(box.hwnd))[0], 0, "the box stayed")
        # The list editor follows; the splash stays hidden until it is closed
        # and start-up is over.
        editor = wait_window("VlcrForm", "アイテムエディタ", ms=15000)
        self.assertIsNotNone(editor, "no list editor after the welcome box")
        splashes = find_windows(SPLASH_CLASS)
        self.assertTrue(all(not w.visible for w in splashes), splashes)
        send(editor.hwnd, 0x0010)  # WM_CLOSE, as the title bar's close box
        self.assertEqual(probe("gone", 10000, hex(editor.hwnd))[0], 0, "the list editor stayed")
        self.assertTrue(wait_for(lambda: not find_windows(SPLASH_CLASS), 15), "the splash outlived start-up")
        self.assertTrue(inst.alive())
        self.quit(inst)


if __name__ == "__main__":
    unittest.main(verbosity=2)
