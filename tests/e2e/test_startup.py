"""Start-up, residence and the quit request of the real vlcr.exe."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, BUILD, MAIN_CLASS, SETTINGS_KEY, WINE_RUN, VlcrTestCase, children, cp932_hex,
                      eventually, find_windows, launch_ini, post, probe, reg_add_dword, send, wait_for, wait_window,
                      win_path)

WM_QUIT = 0x12
WM_CLOSE = 0x10
FIRST_RUN_TEXT = "ダウンロードありがとうございます。\r\nランチメニューの登録を行ってください。"
ONE_ITEM = launch_ini([(r"C:\windows\notepad.exe", "メモ帳", "", "M", "")])


def box_texts(box):
    return [c.text for c in children(box.hwnd) if c.cls.lower() == "static" and c.text]


class FirstRun(VlcrTestCase):
    def test_no_launch_ini_shows_the_welcome_box_owned_by_the_main_window(self):
        inst = self.instance().start()
        box = wait_window("#32770", APP_TITLE, ms=15000)
        self.assertIsNotNone(box, "no first-run message box")
        self.assertIn(FIRST_RUN_TEXT, box_texts(box))
        main = find_windows(MAIN_CLASS, APP_TITLE)
        self.assertEqual(len(main), 1)
        self.assertEqual(box.owner, main[0].hwnd)
        self.assertFalse(main[0].visible)
        buttons = [c for c in children(box.hwnd) if c.cls.lower() == "button"]
        self.assertEqual(len(buttons), 1, buttons)  # OK alone

        probe("command", hex(box.hwnd), 1)  # IDOK
        self.assertTrue(probe("gone", 10000, hex(box.hwnd))[0] == 0, "the box stayed")
        # The list editor follows the box; start-up goes on when it closes.
        editor = wait_window("VlcrForm", "アイテムエディタ", ms=15000)
        self.assertIsNotNone(editor, "no list editor after the welcome box")
        post(editor.hwnd, WM_CLOSE)
        self.assertTrue(probe("gone", 10000, hex(editor.hwnd))[0] == 0, "the list editor stayed")
        self.assertTrue(wait_for(lambda: find_windows("CLASS_LAUNCH", APP_TITLE), 15), "start-up did not go on")
        self.assertTrue(inst.alive(), "vlcr.exe ended after the first run")
        self.assertTrue(send(main[0].hwnd, WM_QUIT))
        self.assertEqual(inst.wait_exit(10), 0)


class Resident(VlcrTestCase):
    def test_with_a_list_it_stays_resident_and_ends_only_on_the_quit_request(self):
        inst = self.instance(ONE_ITEM).start()
        main = self.settle(inst)
        self.assertIsNone(wait_window("#32770", APP_TITLE, ms=1500), "unexpected message box")
        self.assertTrue(inst.alive())
        # Found as soon as it exists, it may still be on its way to hidden
        # (it is minimized in between).
        self.assertTrue(eventually(lambda: not find_windows(MAIN_CLASS, APP_TITLE)[0].visible),
                        "the main window stays visible")
        self.assertEqual(main.exstyle & 0x80, 0x80)  # WS_EX_TOOLWINDOW

        # A WM_QUIT in the thread's queue is only a message.
        self.assertTrue(probe("postthread", hex(main.hwnd), WM_QUIT, 0, 0)[0] == 0)
        self.assertIsNone(inst.wait_exit(1.5))

        started = time.monotonic()
        self.assertTrue(send(main.hwnd, WM_QUIT))
        self.assertEqual(inst.wait_exit(10), 0)
        self.assertLess(time.monotonic() - started, 10)
        self.assertEqual(find_windows(MAIN_CLASS, APP_TITLE), [])

    def test_a_damaged_settings_key_is_reported_and_the_program_stays_up(self):
        reg_add_dword(SETTINGS_KEY, "DoubleKeyedPopup", 1)  # PopupKey missing
        inst = self.instance(ONE_ITEM).start()
        box = wait_window("#32770", APP_TITLE, ms=15000)
        self.assertIsNotNone(box)
        self.assertIn("'PopupKey' の取得に失敗しました", box_texts(box))
        probe("command", hex(box.hwnd), 1)
        main = self.settle(inst)
        self.assertIsNone(wait_window("#32770", APP_TITLE, ms=1000), "a first-run box followed")
        self.assertTrue(inst.alive())
        send(main.hwnd, WM_QUIT)
        self.assertEqual(inst.wait_exit(10), 0)

    def test_an_unreadable_launch_ini_is_reported_and_never_replaced(self):
        inst = self.instance()
        os.mkdir(inst.launch_ini)  # exists, but cannot be read as a file
        inst.start()
        box = wait_window("#32770", APP_TITLE, ms=15000)
        self.assertIsNotNone(box)
        texts = box_texts(box)
        self.assertTrue(any("を開けません" in t for t in texts), texts)
        self.assertNotIn(FIRST_RUN_TEXT, texts)
        probe("command", hex(box.hwnd), 1)
        main = self.settle(inst)
        self.assertIsNone(wait_window("#32770", APP_TITLE, ms=1000))
        send(main.hwnd, WM_QUIT)
        self.assertEqual(inst.wait_exit(10), 0)
        self.assertTrue(os.path.isdir(inst.launch_ini))


class SecondStart(VlcrTestCase):
    def test_a_second_start_in_the_same_folder_opens_the_menu_of_the_first_and_ends(self):
        first = self.instance(ONE_ITEM).start()
        main = self.settle(first)
        again = first.start_again()
        self.assertEqual(again.wait(timeout=20), 0, "the second start did not end")
        self.assertTrue(wait_for(lambda: any(w.visible for w in find_windows("CLASS_LAUNCH", APP_TITLE)), 10),
                        "the running copy's menu did not open")
        self.assertEqual([w.hwnd for w in find_windows(MAIN_CLASS, APP_TITLE)], [main.hwnd])
        self.assertTrue(first.alive())

    def test_copies_in_two_folders_run_side_by_side(self):
        one = self.instance(ONE_ITEM).start()
        self.settle(one)
        two = self.instance(ONE_ITEM).start()
        self.assertTrue(wait_for(lambda: len(find_windows(MAIN_CLASS, APP_TITLE)) == 2, 15),
                        "the copy in the other folder did not stay")
        self.assertTrue(one.alive() and two.alive())

    def test_a_second_start_with_a_program_and_a_shortcut_adds_both_to_the_running_copy(self):
        first = self.instance(ONE_ITEM).start()
        main = self.settle(first)
        tools = os.path.join(first.dir, "道具")
        os.mkdir(tools)
        program = os.path.join(tools, "記録.exe")
        shutil.copy(os.path.join(BUILD, "tests", "tools", "vlcr-recorder.exe"), program)
        link = os.path.join(tools, "メモ帳へ.lnk")
        rc, _, lines = probe("makelink", cp932_hex(win_path(link)), cp932_hex(r"C:\windows\notepad.exe"))
        self.assertEqual(rc, 0, lines)
        missing = os.path.join(tools, "ない.exe")
        # As Explorer's 送る starts it: the program with the chosen paths.
        again = subprocess.Popen([WINE_RUN, first.exe, win_path(program), win_path(link), win_path(missing)],
                                 cwd=first.dir, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                 start_new_session=True)
        self.assertEqual(again.wait(timeout=30), 0, "the second start did not end")

        def saved():
            text = first.read_launch_ini().decode("cp932")
            return text if "記録" in text else None
        text = eventually(saved, 10)
        self.assertIsNotNone(text, "Launch.ini did not get the program")
        lines = text.split("\r\n")
        # After the item it had: the program, then the shortcut's target named after the shortcut.
        self.assertEqual(lines[2 + 5:2 + 5 * 3], [win_path(program), "記録", "", "", "",
                                                  r"C:\windows\notepad.exe", "メモ帳へ", "", "", ""])
        self.assertNotIn("ない", text)
        self.assertEqual([w.hwnd for w in find_windows(MAIN_CLASS, APP_TITLE)], [main.hwnd])
        self.assertTrue(first.alive())
        self.assertEqual(find_windows("#32770", APP_TITLE), [], "a message box came up")


if __name__ == "__main__":
    unittest.main(verbosity=2)
