"""The icon strip's cache file vlcr.tmp as the real vlcr.exe leaves it."""

import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import SETTINGS_KEY, VlcrTestCase, launch_ini, reg_add_dword, send, wine

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
        if os.path.exists(self.cache):
            os.remove(self.cache)

    def run_to_quit(self, inst):
        """Starts the program and ends it once its message loop runs, so that
        start-up is over whatever it did."""
        inst.start()
        main = self.settle(inst)
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

    def test_without_memory_saving_mode_no_cache_file_is_written(self):
        settings(reload_items=False)
        self.run_to_quit(self.instance(THREE_ITEMS))
        self.assertFalse(os.path.exists(self.cache), "vlcr.tmp written without memory-saving mode")


if __name__ == "__main__":
    unittest.main(verbosity=2)
