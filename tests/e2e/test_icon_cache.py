"""The icon strip's cache file vlcr.tmp as the real vlcr.exe leaves it, once the icons extracted in the
background are all in, with vlcr.tmp.key saying what list it was made for."""

import os
import shutil
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, BUILD, LAUNCH_CLASS, SETTINGS_KEY, UserSceneCase, VlcrTestCase, drag_down, eventually,
                      launch_ini, reg_add_dword, send, wait_window, win_path, wine, Screenshot)

RECORDER_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-recorder.exe")
DOT = (0xFA, 0x46, 0x64)  # the red dot of a row whose target is not there

WM_QUIT = 0x12
THREE_ITEMS = launch_ini([
    (r"C:\windows\notepad.exe", "メモ帳", "", "M", ""),
    (r"C:\gone\missing.exe", "", "", "", ""),
    (r"C:\windows", "", "", "", ""),
])


def temp_folder():
    """The Unix path of the folder vlcr.exe takes for its temporary files."""
    out = wine(["cmd", "/c", "echo %TMP%"], check=True).stdout.decode("cp932").strip()
    unix = wine(["winepath", "-u", out], check=True).stdout.decode("utf-8").strip()
    return unix


def settings(reload_items):
    reg_add_dword(SETTINGS_KEY, "DoubleKeyedPopup", 1)
    reg_add_dword(SETTINGS_KEY, "PopupKey", 162)
    reg_add_dword(SETTINGS_KEY, "ReloadItems", 1 if reload_items else 0)
    reg_add_dword(SETTINGS_KEY, "ListIconVisible", 1)


class IconCache(VlcrTestCase):
    def setUp(self):
        super().setUp()
        self.cache = os.path.join(temp_folder(), "vlcr.tmp")
        self.key = self.cache + ".key"
        for path in (self.cache, self.key):
            if os.path.exists(path):
                os.remove(path)

    def run_to_quit(self, inst):
        """Starts the program and ends it once its message loop runs, so that
        start-up is over whatever it did."""
        inst.start()
        main = self.settle(inst)
        # The icons come in the background; the cache is written once all are in.
        eventually(lambda: os.path.isfile(self.key), 15)
        end = time.monotonic() + 20
        while not send(main.hwnd, WM_QUIT) and time.monotonic() < end:
            time.sleep(0.1)
        self.assertEqual(inst.wait_exit(15), 0)

    def test_memory_saving_mode_leaves_the_strip_in_vlcr_tmp_after_start_up(self):
        settings(reload_items=True)
        self.run_to_quit(self.instance(THREE_ITEMS))
        self.assertTrue(os.path.isfile(self.cache), "no vlcr.tmp after start-up")
        with open(self.cache, "rb") as f:
            data = f.read()
        self.assertEqual(data[:2], b"BM")
        offset, = struct.unpack_from("<I", data, 10)
        width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
        self.assertEqual((width, height), (80, 32))  # three items, cancel and quit
        self.assertEqual(planes, 1)
        self.assertIn(bits, (24, 32))
        self.assertEqual(compression, 0)
        stride = (width * bits + 31) // 32 * 4
        self.assertEqual(len(data), offset + stride * height)

    def test_either_mode_caches_the_strip_for_the_list_it_was_made_for(self):
        for reload_items in (False, True):
            settings(reload_items=reload_items)
            inst = self.instance(THREE_ITEMS)
            self.run_to_quit(inst)
            self.assertTrue(os.path.isfile(self.cache), f"no vlcr.tmp (memory-saving mode {reload_items})")
            with open(self.key, "rb") as f:
                key = f.read().decode("cp932").split("\r\n")
            self.assertEqual(key[0], "VLCR_ICON_STRIP 1")
            self.assertEqual(key[2].split(" ")[1:], ["16", "3"])  # 16-pixel cells, three items
            self.assertEqual(key[3:6], [r"C:\windows\notepad.exe", r"C:\gone\missing.exe", r"C:\windows"])
            inst.cleanup()
            os.remove(self.cache)
            os.remove(self.key)


class ThousandItems(UserSceneCase):
    """1,000 items: the rows' icons come in the background, and a drag moves
    them with their rows instead of extracting them all again."""

    def test_a_drag_leaves_the_thread_answering_and_every_row_its_own_icon(self):
        settings(reload_items=False)
        cache = os.path.join(temp_folder(), "vlcr.tmp.key")
        if os.path.exists(cache):
            os.remove(cache)
        inst = self.instance()
        shutil.copy(RECORDER_EXE, inst.dir)
        program = win_path(os.path.join(inst.dir, "vlcr-recorder.exe"))
        # A program, a folder, a file that is not there (the dot), in turn.
        targets = [[program, win_path(inst.dir), rf"C:\gone\missing{i}.exe"][i % 3] for i in range(1000)]
        inst.write_launch_ini(launch_ini([(t, f"item {i}", "", "", "") for i, t in enumerate(targets)]))
        main = self.start_in_scene(inst)
        self.assertTrue(eventually(lambda: os.path.exists(cache), 60), "the icons never all came")
        self.assertTrue(send(main.hwnd, 1074, 0, 0x0205))
        menu = wait_window(LAUNCH_CLASS, APP_TITLE, ms=5000)
        self.assertIsNotNone(menu, "the menu did not appear")
        left, top = menu.rect[0], menu.rect[1]
        # A list taller than the screen may start above it: the first rows wholly shown.
        first = max(0, (-top + 19) // 20)
        order = list(range(1000))

        def expected():
            return [row for row in range(6) if order[first + row] % 3 == 2]

        def dotted():
            shot = Screenshot()
            y0 = top + 20 * first
            return [row for row in range(6)
                    if shot.count(left + 23, y0 + 20 * row + 2, left + 39, y0 + 20 * row + 18, DOT) > 3]
        self.assertEqual(eventually(lambda: dotted() == expected()), True, (dotted(), expected()))

        # A row dragged three rows down.
        drag_down(left + 60, top + 20 * first + 10, 3)
        asked = time.monotonic()
        self.assertTrue(send(main.hwnd, 0, 0, 0), "the program's thread did not answer")
        answered = time.monotonic() - asked
        self.assertLess(answered, 2.0, f"the thread answered only after {answered:.1f} s")
        order.insert(first + 3, order.pop(first))
        self.assertEqual(eventually(lambda: dotted() == expected()), True, (dotted(), expected()))
        lines = inst.read_launch_ini().decode("cp932").split("\r\n")
        self.assertEqual(lines[2 + 5 * (first + 3) + 1], f"item {first}")  # the list saved as it shows
        inst.cleanup()


if __name__ == "__main__":
    unittest.main(verbosity=2)
