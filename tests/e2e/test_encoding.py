"""Text as Windows and its editors write it: a Launch.ini saved as UTF-8 or UTF-16 shows,
launches and is saved back as UTF-8; under another code page the program says
why it cannot run and touches nothing."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, BUILD, LAUNCH_CLASS, SETTINGS_KEY, WINE_RUN, children, eventually, find_windows,
                      launch_ini, probe, reg_query, send, wait_window, win_path, xdotool, Screenshot,
                      UserSceneCase)

RECORDER_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-recorder.exe")
# vlcr.exe whose manifest does not ask for code page 932, as Windows 10 runs it.
NO_CODE_PAGE_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-no-code-page.exe")
NAMES = ["表示ソフト", "メモ帳～①"]


class Utf8LaunchFile(UserSceneCase):
    def place(self, inst, encoding):
        tools = os.path.join(inst.dir, "ツール")
        work = os.path.join(inst.dir, "作業")
        os.makedirs(tools, exist_ok=True)
        os.makedirs(work, exist_ok=True)
        shutil.copy(RECORDER_EXE, os.path.join(tools, "記録.exe"))
        recorder = win_path(os.path.join(tools, "記録.exe"))
        text = launch_ini([(recorder, NAMES[0], "--名前 一", "A", win_path(work)),
                           (recorder, NAMES[1], "--名前 二", "B", "")])
        inst.write_launch_ini(text.encode(encoding))
        return os.path.join(tools, "recorder.log"), work

    def menu_picture(self, main):
        self.assertTrue(send(main.hwnd, 1074, 0, 0x0205))
        menu = wait_window(LAUNCH_CLASS, APP_TITLE, ms=5000)
        self.assertIsNotNone(menu, "the menu did not appear")
        left, top, right, bottom = menu.rect

        def picture():
            shot = Screenshot()
            return [shot.at(x, y) for y in range(top, bottom) for x in range(left, right)]
        # Painted once two readings agree.
        last = [picture()]

        def settled():
            now = picture()
            same, last[0] = now == last[0], now
            return same and now
        result = eventually(settled)
        self.assertTrue(result, "the menu's picture never settled")
        return result

    def test_names_show_as_from_a_cp932_file_and_a_japanese_path_launches(self):
        pictures = {}
        # "utf-16" is Notepad's "Unicode": little endian with a byte-order mark.
        for encoding in ("cp932", "utf-8-sig", "utf-16"):
            inst = self.instance()
            self.place(inst, encoding)
            written = inst.read_launch_ini()
            main = self.start_in_scene(inst)
            pictures[encoding] = self.menu_picture(main)  # no first run's welcome stands in its way
            self.assertEqual(inst.read_launch_ini(), written, f"the {encoding} file was rewritten")
            inst.cleanup()
            self.bar.close()
            self.app.close()
        self.assertEqual(pictures["utf-8-sig"], pictures["cp932"], "the UTF-8 names are drawn otherwise")
        self.assertEqual(pictures["utf-16"], pictures["cp932"], "the UTF-16 names are drawn otherwise")

        inst = self.instance()
        log, work = self.place(inst, "utf-8")
        original = inst.read_launch_ini()
        main = self.start_in_scene(inst)
        self.menu_picture(main)
        xdotool("key", "a")
        def recorded():
            if not os.path.exists(log):
                return None
            with open(log, "rb") as f:
                return f.read().decode("cp932")
        text = eventually(recorded, 15)
        self.assertTrue(text, "the item in the Japanese folder was not started")
        lines = dict(l.split("=", 1) for l in text.splitlines() if "=" in l)
        self.assertEqual(lines["args"], "--名前 一")
        self.assertEqual(lines["cwd"].rstrip("\\").lower(), win_path(work).lower())
        self.assertEqual(inst.read_launch_ini(), original, "a launch rewrote the file")

    def test_a_save_keeps_it_utf8(self):
        inst = self.instance()
        self.place(inst, "utf-8-sig")
        main = self.start_in_scene(inst)
        self.menu_picture(main)
        menu = find_windows(LAUNCH_CLASS, APP_TITLE)[0]
        x, y = menu.rect[0] + 60, menu.rect[1] + 10
        # Row 0 dragged onto row 1: the list is saved at once.
        xdotool("mousemove", x, y, "mousedown", 1)
        for step in range(1, 4):
            xdotool("mousemove", x, y + 8 * step)
            time.sleep(0.05)
        xdotool("mouseup", 1)

        def names():
            data = inst.read_launch_ini()
            if not data.startswith(b"\xef\xbb\xbf"):
                return None
            lines = data[3:].decode("utf-8").split("\r\n")
            return [lines[3], lines[8]]
        self.assertEqual(eventually(lambda: names() == NAMES[::-1] and names()), NAMES[::-1],
                         inst.read_launch_ini()[:80])


class OtherCodePage(UserSceneCase):
    def start_english(self, inst):
        env = dict(os.environ, VLCR_LANG="en_US.UTF-8")
        inst.proc = subprocess.Popen([WINE_RUN, inst.exe], cwd=inst.dir, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)

    def test_where_the_manifest_is_not_honoured_it_says_why_and_touches_nothing(self):
        inst = self.instance(launch_ini([(r"C:\windows\notepad.exe", "メモ帳", "", "M", "")]))
        shutil.copy(NO_CODE_PAGE_EXE, inst.exe)
        before = inst.read_launch_ini()
        self.start_english(inst)
        box = wait_window("#32770", APP_TITLE, ms=20000)
        self.assertIsNotNone(box, "no message")
        texts = " ".join(c.text for c in children(box.hwnd))
        self.assertIn("コードページ 932", texts)
        self.assertIn("code page 932", texts)
        self.assertFalse(find_windows("CLASS_VLCR", APP_TITLE), "it made its main window all the same")
        probe("command", hex(box.hwnd), 1)  # IDOK
        self.assertNotIn(inst.wait_exit(15), (None, 0))
        self.assertEqual(inst.read_launch_ini(), before)
        self.assertIsNone(reg_query(SETTINGS_KEY, "PopupKey"))
        self.assertFalse(os.path.exists(inst.launch_ini + ".new"))

    def test_where_it_is_honoured_the_program_runs_in_code_page_932(self):
        # Wine, like Windows 11, gives the program the code page its manifest
        # asks for: the title reads right and the list loads.
        inst = self.instance(launch_ini([(r"C:\windows\notepad.exe", "メモ帳", "", "M", "")]))
        self.start_english(inst)
        main = self.settle(inst)
        self.assertTrue(send(main.hwnd, 1074, 0, 0x0205))
        self.assertIsNotNone(wait_window(LAUNCH_CLASS, APP_TITLE, ms=5000), "the menu did not appear")


if __name__ == "__main__":
    unittest.main(verbosity=2)
