"""The dialogs of the real vlcr.exe, reached from the launch menu's command
menu with keys and clicks from the X server: the About dialog, and a new item
typed into the item editor, launched by its letter and deleted again."""

import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, BUILD, LAUNCH_CLASS, MENU_WIDTH, SCREEN_H, SCREEN_W, centre, children, eventually,
                      find_windows, foreground, launch_ini, menu_height, probe, send, wait_window, win_path,
                      xdotool, Screenshot, UserSceneCase)

RECORDER_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-recorder.exe")
TRAY_MESSAGE = 1074
WM_RBUTTONUP = 0x0205
FORM_CLASS = "VlcrForm"
ABOUT_TITLE = "迅 のバージョン情報"
EDITOR_TITLE = "ランチアイテム設定"
NAMES = ["一番目", "二番目"]


class DialogTest(UserSceneCase):
    def setUp(self):
        super().setUp()
        self.inst = self.instance()
        tools = os.path.join(self.inst.dir, "tools")
        os.mkdir(tools)
        shutil.copy(RECORDER_EXE, tools)
        self.log = os.path.join(tools, "recorder.log")
        self.recorder = win_path(os.path.join(tools, "vlcr-recorder.exe"))
        items = [(self.recorder, name, f"--item {i}", "AB"[i], "") for i, name in enumerate(NAMES)]
        self.inst.write_launch_ini(launch_ini(items))
        self.main = self.start_in_scene(self.inst)
        self.x0 = SCREEN_W - MENU_WIDTH

    def open_menu(self):
        self.assertTrue(send(self.main.hwnd, TRAY_MESSAGE, 0, WM_RBUTTONUP))
        menu = wait_window(LAUNCH_CLASS, APP_TITLE, ms=5000)
        self.assertIsNotNone(menu, "the menu did not appear")
        self.assertTrue(eventually(lambda: menu_visible()), "the menu is not visible")
        return menu

    def command(self, row, letter, title):
        """Right button on a row of the menu, then a letter of the command menu."""
        menu = self.open_menu()
        y0 = menu.rect[1]
        xdotool("mousemove", self.x0 + 60, y0 + 20 * row + 10, "click", 3)
        popup = wait_window("#32768", ms=5000)
        self.assertIsNotNone(popup, "no command menu")
        time.sleep(0.2)
        xdotool("key", letter)
        return title and wait_window(FORM_CLASS, title, ms=10000)

    def recorded(self):
        if not os.path.exists(self.log):
            return None
        with open(self.log, "rb") as f:
            return f.read().decode("cp932")

    def test_the_about_dialog_shows_centred_and_closes_by_ok_and_by_the_title_bar(self):
        about = self.command(0, "i", ABOUT_TITLE)
        self.assertIsNotNone(about, "no About dialog")
        left, top, right, bottom = about.rect
        self.assertLessEqual(abs((left + right) // 2 - SCREEN_W // 2), 1)
        self.assertLessEqual(abs((top + bottom) // 2 - SCREEN_H // 2), 1)
        labels = {c.text: c for c in children(about.hwnd)}
        self.assertIn("Version 2.99", labels)
        self.assertIn(" -velocara-", labels)
        time.sleep(0.5)
        Screenshot(save_as=os.path.join(BUILD, "e2e-about.ppm"))
        # OK with the mouse.
        ok = [c for c in children(about.hwnd) if c.cls == "TplButton"]
        self.assertEqual(len(ok), 1)
        x, y = centre(ok[0].rect)
        xdotool("mousemove", x, y, "click", 1)
        self.assertEqual(probe("gone", 5000, hex(about.hwnd))[0], 0, "OK did not close it")

        # Again, closed by the title bar's close box.
        about = self.command(0, "i", ABOUT_TITLE)
        if about is None:
            Screenshot(save_as=os.path.join(BUILD, "e2e-about-again.ppm"))
        self.assertIsNotNone(about)
        left, top, right, _ = about.rect
        xdotool("mousemove", right - 12, top + 12, "click", 1)
        self.assertEqual(probe("gone", 5000, hex(about.hwnd))[0], 0, "the close box did not close it")
        self.assertIsNone(self.inst.wait_exit(0.5))

    def test_a_new_item_typed_in_the_editor_appears_launches_by_letter_and_is_deleted(self):
        editor = self.command(0, "n", EDITOR_TITLE)
        self.assertIsNotNone(editor, "no item editor")
        time.sleep(0.5)
        # The name has the focus; Alt+L moves to the target, Alt+S to the shortcut.
        xdotool("type", "--delay", "20", "Recorder")
        xdotool("key", "alt+l")
        xdotool("type", "--delay", "20", self.recorder)
        xdotool("key", "alt+c")
        xdotool("type", "--delay", "20", "--", "--new")
        xdotool("key", "alt+s")
        xdotool("type", "--delay", "20", "q")
        time.sleep(0.3)
        Screenshot(save_as=os.path.join(BUILD, "e2e-item-editor.ppm"))
        xdotool("key", "Return")
        self.assertEqual(probe("gone", 5000, hex(editor.hwnd))[0], 0, "OK did not close the editor")

        def saved():
            text = self.inst.read_launch_ini().decode("cp932")
            return text if "Recorder" in text else None
        text = eventually(saved)
        self.assertIsNotNone(text, "Launch.ini does not hold the new item")
        lines = text.split("\r\n")
        self.assertEqual(lines[2 + 5 * 2:2 + 5 * 3], [self.recorder, "Recorder", "--new", "Q", ""])
        # The menu shows the new row at once, three items high.
        menu = eventually(lambda: [w for w in find_windows(LAUNCH_CLASS, APP_TITLE) if w.visible])
        self.assertTrue(menu, "the menu is not shown again")
        self.assertEqual(menu[0].rect[3] - menu[0].rect[1], menu_height(3))

        # Its letter launches it.
        time.sleep(0.3)
        xdotool("key", "q")
        self.assertTrue(eventually(lambda: self.recorded() and "--new" in self.recorded(), 10),
                        f"not launched: {self.recorded()!r}")

        # The menu closes and the other program has the foreground again.
        self.assertTrue(eventually(lambda: not menu_visible() and (foreground() or self.app.window).hwnd == self.app.hwnd))
        time.sleep(0.3)

        # Delete it again through the command menu.
        self.command(2, "d", None)
        box = wait_window("#32770", "アイテムの削除", ms=10000)
        self.assertIsNotNone(box, "no delete question")
        texts = [c.text for c in children(box.hwnd) if c.cls.lower() == "static"]
        self.assertTrue(any(t.endswith(" を削除してもよろしいですか？") and "Recorder" in t for t in texts), texts)
        probe("command", hex(box.hwnd), 1)  # IDOK
        self.assertTrue(eventually(lambda: b"Recorder" not in self.inst.read_launch_ini()),
                        "the item is still in Launch.ini")


def menu_visible():
    return any(w.visible for w in find_windows(LAUNCH_CLASS, APP_TITLE))


if __name__ == "__main__":
    unittest.main(verbosity=2)
