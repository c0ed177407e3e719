"""The options dialog of the real vlcr.exe, opened from the command menu with
keys and clicks from the X server: F12 captured in the key field and saved,
after which a double press of F12 opens the menu and one of left Ctrl does
not; and the menu's icons hidden at once when the option is unchecked."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import (APP_TITLE, BUILD, LAUNCH_CLASS, MENU_WIDTH, SCREEN_W, SETTINGS_KEY, centre, children,
                      eventually, find_windows, foreground, launch_ini, probe, reg_query, send, tap, wait_window,
                      xdotool, Screenshot, UserSceneCase)

TRAY_MESSAGE = 1074
WM_RBUTTONUP = 0x0205
FORM_CLASS = "VlcrForm"
OPTIONS_TITLE = "オプション"
DOT = (0xFA, 0x46, 0x64)  # the mark of a row whose target has no icon
ITEMS = launch_ini([(r"C:\nowhere\first.exe", "一番目", "", "A", ""),
                    (r"C:\nowhere\second.exe", "二番目", "", "B", "")])




def visible_menu():
    shown = [w for w in find_windows(LAUNCH_CLASS, APP_TITLE) if w.visible]
    return shown[0] if shown else None


class OptionsTest(UserSceneCase):
    def setUp(self):
        super().setUp()
        self.inst = self.instance(ITEMS)
        self.main = self.start_in_scene(self.inst)
        self.x0 = SCREEN_W - MENU_WIDTH

    def open_menu(self):
        self.assertTrue(send(self.main.hwnd, TRAY_MESSAGE, 0, WM_RBUTTONUP))
        menu = eventually(visible_menu)
        self.assertIsNotNone(menu, "the menu did not appear")
        return menu

    def open_options(self):
        """Right button on the first row, then "o" in the command menu."""
        menu = self.open_menu()
        xdotool("mousemove", self.x0 + 60, menu.rect[1] + 10, "click", 3)
        self.assertIsNotNone(wait_window("#32768", ms=5000), "no command menu")
        time.sleep(0.2)
        xdotool("key", "o")
        form = wait_window(FORM_CLASS, OPTIONS_TITLE, ms=10000)
        self.assertIsNotNone(form, "no options dialog")
        time.sleep(0.5)
        return form

    def control(self, form, predicate):
        found = [c for c in children(form.hwnd) if predicate(c)]
        self.assertEqual(len(found), 1, [(c.cls, c.text) for c in children(form.hwnd)])
        return found[0]

    def close_button(self, form):
        buttons = sorted((c for c in children(form.hwnd) if c.cls == "TplButton"), key=lambda c: c.rect[0])
        self.assertEqual(len(buttons), 2)
        return buttons[1]  # 閉じる, at the right

    def close_with_button(self, form):
        x, y = centre(self.close_button(form).rect)
        xdotool("mousemove", x, y, "click", 1)
        self.assertEqual(probe("gone", 5000, hex(form.hwnd))[0], 0, "閉じる did not close the dialog")

    def dismiss_menu(self):
        xdotool("key", "Escape")
        self.assertTrue(eventually(lambda: visible_menu() is None), "the menu stays")
        # The other program takes the focus with a click, as a person gives it,
        # so that the key state the watcher reads is the X server's.
        xdotool("mousemove", 250, 200, "click", 1)
        self.assertTrue(eventually(lambda: (foreground() or self.app.window).hwnd == self.app.hwnd),
                        "the other program did not get the foreground back")
        time.sleep(0.5)

    def test_f12_captured_saved_and_watched_instead_of_left_ctrl(self):
        form = self.open_options()
        left, top, right, bottom = form.rect
        self.assertLessEqual(abs((left + right) // 2 - SCREEN_W // 2), 1)
        edit = self.control(form, lambda c: c.cls.lower() == "edit")
        self.assertEqual(edit.text, "LeftCtrl")
        x, y = centre(edit.rect)
        xdotool("mousemove", x, y, "click", 1)
        time.sleep(0.3)
        xdotool("key", "F12")
        self.assertTrue(eventually(lambda: self.control(form, lambda c: c.cls.lower() == "edit").text == "F12"),
                        "the key field does not show F12")
        time.sleep(0.3)
        Screenshot(save_as=os.path.join(BUILD, "e2e-options.ppm"))
        self.close_with_button(form)
        self.assertEqual(reg_query(SETTINGS_KEY, "PopupKey"), ("REG_DWORD", "0x7b"))

        # The menu comes back after the dialog; put it away, then double-press.
        self.assertTrue(eventually(visible_menu), "the menu is not shown again")
        self.dismiss_menu()
        tap("F12")
        tap("F12")
        self.assertTrue(eventually(visible_menu), "no menu after a double press of F12")
        self.dismiss_menu()
        tap("Control_L")
        tap("Control_L")
        time.sleep(1.0)
        self.assertIsNone(visible_menu(), "left Ctrl still opens the menu")
        self.assertIsNone(self.inst.wait_exit(0.2))

    def test_tab_and_shift_tab_leave_the_key_field(self):
        form = self.open_options()
        key_text = lambda: self.control(form, lambda c: c.cls.lower() == "edit").text
        x, y = centre(self.control(form, lambda c: c.cls.lower() == "edit").rect)
        xdotool("mousemove", x, y, "click", 1)
        time.sleep(0.3)
        # Tab is no key to capture: the field keeps its key and the focus moves on,
        # so a key pressed then is not the field's.
        xdotool("key", "Tab")
        time.sleep(0.3)
        xdotool("key", "F9")
        time.sleep(0.3)
        self.assertEqual(key_text(), "LeftCtrl")
        # Shift+Tab comes back into it, and it captures again.
        xdotool("key", "shift+Tab")
        time.sleep(0.3)
        xdotool("key", "F9")
        self.assertTrue(eventually(lambda: key_text() == "F9"), key_text())
        self.close_with_button(form)
        self.assertEqual(reg_query(SETTINGS_KEY, "PopupKey"), ("REG_DWORD", "0x78"))

    def test_escape_closes_from_the_first_check_box_and_from_the_key_field_keeping_the_key(self):
        for from_key_field in (False, True, None):
            form = self.open_options()
            key_text = self.control(form, lambda c: c.cls.lower() == "edit").text
            self.assertEqual(key_text, "LeftCtrl", "the key was not kept")
            if from_key_field is None:
                break
            if from_key_field:
                x, y = centre(self.control(form, lambda c: c.cls.lower() == "edit").rect)
                xdotool("mousemove", x, y, "click", 1)
                time.sleep(0.3)
            # Otherwise the first check box has the focus, as the dialog opens.
            xdotool("key", "Escape")
            self.assertEqual(probe("gone", 5000, hex(form.hwnd))[0], 0,
                             f"Escape did not close the dialog (key field: {from_key_field})")
            self.assertTrue(eventually(visible_menu), "the menu is not shown again")
            self.dismiss_menu()
        self.close_with_button(form)
        self.assertEqual(reg_query(SETTINGS_KEY, "PopupKey"), ("REG_DWORD", "0xa2"))

    def test_unchecked_icons_leave_the_menu_at_once(self):
        menu = self.open_menu()
        time.sleep(0.5)
        left, top, right, bottom = menu.rect
        before = Screenshot().count(left, top, right, bottom, DOT)
        self.assertGreater(before, 0, "the rows show no icon marks to begin with")
        xdotool("key", "Escape")
        self.assertTrue(eventually(lambda: visible_menu() is None))
        time.sleep(0.3)

        form = self.open_options()
        box = self.control(form, lambda c: c.text == "アイコンを表示(&I)")
        x, y = centre(box.rect)
        xdotool("mousemove", box.rect[0] + 6, y, "click", 1)
        time.sleep(0.3)
        self.close_with_button(form)
        self.assertEqual(reg_query(SETTINGS_KEY, "ListIconVisible"), ("REG_DWORD", "0x0"))
        menu = eventually(visible_menu)
        self.assertIsNotNone(menu, "the menu is not shown again")
        time.sleep(0.5)
        shot = Screenshot(save_as=os.path.join(BUILD, "e2e-options-no-icons.ppm"))
        left, top, right, bottom = menu.rect
        self.assertEqual(shot.count(left, top, right, bottom, DOT), 0, "the rows still show icons")


if __name__ == "__main__":
    unittest.main(verbosity=2)
