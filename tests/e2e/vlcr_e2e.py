"""Drives the real vlcr.exe under Wine: its own copy in a fresh folder, the
X server's keyboard and mouse through xdotool, and the probe tool to look at
its windows. Every wait is bounded."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("VLCR_BUILD", os.path.join(ROOT, "build", "win"))
VLCR_EXE = os.path.join(BUILD, "vlcr.exe")
PROBE_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-probe.exe")
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")

APP_TITLE = "迅 -velocara-"
MAIN_CLASS = "CLASS_VLCR"


def cp932_hex(text):
    return text.encode("cp932").hex()


def unhex(text):
    return bytes.fromhex(text).decode("cp932")


class Completed:
    def __init__(self, returncode, stdout):
        self.returncode = returncode
        self.stdout = stdout


def wine(args, timeout=30, check=False):
    """Runs a Windows program to its end. Its output goes through a file, not a
    pipe: a Wine service that the program starts may inherit a pipe and hold
    it open for ever."""
    with tempfile.TemporaryFile() as out:
        proc = subprocess.Popen([WINE_RUN] + [str(a) for a in args], stdout=out,
                                stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                                start_new_session=True)
        try:
            rc = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait(timeout=10)
            raise
        out.seek(0)
        result = Completed(rc, out.read())
    if check and rc != 0:
        raise subprocess.CalledProcessError(rc, args)
    return result


def win_path(unix_path):
    return "Z:" + unix_path.replace("/", "\\")


class Window:
    """One line of the probe's description."""

    def __init__(self, line):
        fields = dict(kv.split("=", 1) for kv in line.split())
        self.hwnd = int(fields["hwnd"], 16)
        self.cls = unhex(fields["class"])
        self.text = unhex(fields["text"])
        self.visible = fields["visible"] == "1"
        self.rect = tuple(int(v) for v in fields["rect"].split(","))
        self.owner = int(fields["owner"], 16)
        self.pid = int(fields["pid"])
        self.style = int(fields["style"], 16)
        self.exstyle = int(fields["exstyle"], 16)

    def __repr__(self):
        return f"Window({self.hwnd:#x} {self.cls!r} {self.text!r} visible={self.visible} rect={self.rect})"


def probe(*args, timeout=30):
    r = wine([PROBE_EXE] + [str(a) for a in args], timeout=timeout)
    lines = r.stdout.decode("ascii", "replace").splitlines()
    return r.returncode, [Window(l) for l in lines if l.startswith("hwnd=")], lines


def find_windows(cls, title=None):
    args = ["find", cp932_hex(cls)] + ([cp932_hex(title)] if title is not None else [])
    return probe(*args)[1]


def wait_window(cls, title=None, ms=10000):
    args = ["wait", ms, cp932_hex(cls)] + ([cp932_hex(title)] if title is not None else [])
    rc, wins, _ = probe(*args, timeout=ms / 1000 + 30)
    return wins[0] if rc == 0 and wins else None


def send(hwnd, msg, wparam=0, lparam=0):
    rc, _, lines = probe("send", hex(hwnd), msg, wparam, lparam)
    return rc == 0


def backtraces(pid, image="vlcr.exe"):
    """The threads of a program that does not answer, as winedbg sees them:
    for the failure's message. The debugger is let run for this call only."""
    env = dict(os.environ, WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    try:
        out = subprocess.run([WINE_RUN, "winedbg", "--command", "bt all", str(pid)], capture_output=True,
                             env=env, timeout=90, stdin=subprocess.DEVNULL).stdout.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return "winedbg did not answer"
    # "bt all" walks every process: only the program's own threads are kept.
    sections = re.split(r"\n(?=Backtracing for thread)", out)
    return "\n".join(s for s in sections if f"{image})" in s.split("\n", 1)[0]) or out[-3000:]


def post(hwnd, msg, wparam=0, lparam=0):
    return probe("post", hex(hwnd), msg, wparam, lparam)[0] == 0


def children(hwnd):
    return probe("children", hex(hwnd))[1]


def reg_delete(key):
    wine(["reg", "delete", key, "/f"])


def reg_add_dword(key, name, value):
    wine(["reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f"], check=True)


def reg_add_string(key, name, value):
    wine(["reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"], check=True)


def reg_query(key, name):
    """The value's type and data as `wine reg query` shows them, or None."""
    r = wine(["reg", "query", key, "/v", name])
    if r.returncode != 0:
        return None
    for line in r.stdout.decode("cp932", "replace").splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[0] == name:
            return parts[1], (parts[2] if len(parts) > 2 else "")
    return None


SETTINGS_KEY = r"HKCU\Software\Ternvale\Velocara"


class VlcrInstance:
    """A copy of vlcr.exe in a folder of its own, started under Wine."""

    def __init__(self, launch_ini=None):
        self.dir = tempfile.mkdtemp(prefix="vlcr-e2e-")
        self.exe = os.path.join(self.dir, "vlcr.exe")
        shutil.copy(VLCR_EXE, self.exe)
        if launch_ini is not None:
            self.write_launch_ini(launch_ini)
        self.proc = None

    @property
    def launch_ini(self):
        return os.path.join(self.dir, "Launch.ini")

    def write_launch_ini(self, text_or_bytes):
        data = text_or_bytes if isinstance(text_or_bytes, bytes) else text_or_bytes.encode("cp932")
        with open(self.launch_ini, "wb") as f:
            f.write(data)

    def read_launch_ini(self):
        with open(self.launch_ini, "rb") as f:
            return f.read()

    def start(self):
        self.proc = subprocess.Popen([WINE_RUN, self.exe], cwd=self.dir,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     start_new_session=True)
        return self

    def start_again(self):
        """The same copy started once more, as a second click on it would: the
        second process, to wait for."""
        return subprocess.Popen([WINE_RUN, self.exe], cwd=self.dir, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)

    def main_window(self, ms=10000):
        """The hidden main window, once start-up has made it."""
        end = time.monotonic() + ms / 1000
        while time.monotonic() < end:
            wins = find_windows(MAIN_CLASS, APP_TITLE)
            if wins:
                return wins[0]
            if self.proc.poll() is not None:
                return None
            time.sleep(0.05)
        return None

    def wait_exit(self, seconds):
        try:
            return self.proc.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def alive(self):
        return self.proc is not None and self.proc.poll() is None

    def stop(self):
        if self.alive():
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.proc.wait(timeout=10)
        # A Windows process whose wine loader died may linger in the server.
        kill_windows_processes(find_windows(MAIN_CLASS, APP_TITLE))

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.dir, ignore_errors=True)


def kill_windows_processes(windows):
    """Ends the Windows processes of these windows. Their ids are Windows
    process ids of this test's own Wine prefix, not ids of the host."""
    for pid in sorted({w.pid for w in windows}):
        probe("kill", pid)


def kill_stray_instances():
    """Ends any vlcr.exe left over from an earlier test in this prefix; other
    people's programs on the same machine are left alone."""
    end = time.monotonic() + 5
    while time.monotonic() < end:
        stray = find_windows(MAIN_CLASS, APP_TITLE)
        if not stray:
            return
        kill_windows_processes(stray)
        time.sleep(0.1)


class VlcrTestCase(unittest.TestCase):
    """Each test starts from a clean registry and no running instance."""

    def setUp(self):
        kill_stray_instances()
        reg_delete(r"HKCU\Software\Ternvale")
        self.instances = []

    def tearDown(self):
        for inst in self.instances:
            inst.cleanup()
        reg_delete(r"HKCU\Software\Ternvale")

    def instance(self, launch_ini=None):
        inst = VlcrInstance(launch_ini)
        self.instances.append(inst)
        return inst

    def settle(self, inst):
        """Waits for start-up to finish: the main window exists and is hidden."""
        main = inst.main_window()
        self.assertIsNotNone(main, "vlcr.exe made no main window")
        return main


def launch_ini(items, dbl=""):
    lines = ["VELOCARA_LAUNCHLIST_2", dbl]
    for target, name, cmdline, shortcut, directory in items:
        lines += [target, name, cmdline, shortcut, directory]
    return "".join(l + "\r\n" for l in lines)


# The launch menu.
LAUNCH_CLASS = "CLASS_LAUNCH"
MENU_WIDTH = 180

# The test display, and the stand-in taskbar along its bottom.
SCREEN_W, SCREEN_H = 1024, 768
TASKBAR = (0, 738, SCREEN_W, SCREEN_H)


def menu_height(items):
    return 20 * (items + 2) + 2


def foreground():
    """The foreground window as Wine sees it, or None."""
    rc, wins, _ = probe("foreground")
    return wins[0] if rc == 0 and wins else None


class TestWindow:
    """A window of the test's own in a probe process: "app" is an ordinary
    program window that takes the focus, "bar" a popup that does not (class
    Shell_TrayWnd with an empty title stands for the taskbar)."""

    def __init__(self, kind, cls, title, rect, seconds=240):
        self.out = tempfile.TemporaryFile()
        args = [WINE_RUN, PROBE_EXE, "window", kind, cp932_hex(cls), cp932_hex(title) or "-"]
        args += [str(v) for v in rect] + [str(int(seconds * 1000))]
        self.proc = subprocess.Popen(args, stdout=self.out, stderr=subprocess.DEVNULL,
                                     stdin=subprocess.DEVNULL, start_new_session=True)
        self.window = None
        end = time.monotonic() + 30
        while time.monotonic() < end and self.proc.poll() is None:
            self.out.seek(0)
            lines = [l for l in self.out.read().decode("ascii", "replace").splitlines()
                     if l.startswith("hwnd=")]
            if lines:
                self.window = Window(lines[0])
                break
            time.sleep(0.05)
        if self.window is None:
            self.close()
            raise RuntimeError("the probe made no window")

    @property
    def hwnd(self):
        return self.window.hwnd

    def close(self):
        if self.proc.poll() is None:
            if self.window is not None:
                post(self.window.hwnd, 0x0010)  # WM_CLOSE
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait(timeout=10)
        self.out.close()


class UserSceneCase(VlcrTestCase):
    """A user's desktop around the launcher: another program in the
    foreground and a taskbar along the bottom."""

    def start_in_scene(self, inst):
        """Starts the instance behind the other program; its main window."""
        self.app = TestWindow("app", "VlcrTestApp", "他のプログラム", (100, 100, 400, 300))
        self.bar = TestWindow("bar", "Shell_TrayWnd", "", TASKBAR)
        xdotool("mousemove", 20, 450)
        main = self.settle(inst.start())
        eventually(lambda: (foreground() or self.app.window).hwnd == self.app.hwnd)
        return main

    def tearDown(self):
        super().tearDown()
        for window in (getattr(self, "bar", None), getattr(self, "app", None)):
            if window is not None:
                window.close()


def xdotool(*args, check=True, timeout=30):
    """Runs xdotool; its output comes back as text. A search that finds
    nothing exits 1, so searches pass check=False."""
    return subprocess.run(["xdotool"] + [str(a) for a in args], check=check, timeout=timeout,
                          capture_output=True, text=True)


def drag_down(x, y, rows):
    """The left button pressed at (x, y) and let go `rows` 20-pixel rows lower,
    moved there in steps as a hand does."""
    xdotool("mousemove", x, y)
    xdotool("mousedown", 1)
    for step in range(1, 2 * rows + 1):
        xdotool("mousemove", x, y + 10 * step)
        time.sleep(0.05)
    xdotool("mouseup", 1)


def tap(key, hold=0.06, after=0.06):
    """A key held for a moment, as a person taps it."""
    xdotool("keydown", key)
    time.sleep(hold)
    xdotool("keyup", key)
    time.sleep(after)


def x_focus_name():
    r = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True, timeout=30)
    return r.stdout.decode("utf-8", "replace").strip()


def x_geometry(title, width, height):
    """Position of the X window with this title and size, read from the X
    server, or None."""
    r = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, timeout=30)
    for line in r.stdout.decode("utf-8", "replace").splitlines():
        if f'"{title}"' in line and f" {width}x{height}+" in line:
            absolute = line.split()[-1]  # +X+Y on the screen
            x, y = absolute.lstrip("+").split("+")
            return int(x), int(y)
    return None


class Screenshot:
    """The whole X screen, read once; pixels as (red, green, blue)."""

    def __init__(self, save_as=None):
        data = subprocess.run(["/usr/bin/import", "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, check=True, timeout=60).stdout
        if save_as:
            with open(save_as, "wb") as f:
                f.write(data)
        fields, at = [], 0
        while len(fields) < 4:  # P6, width, height, maximum
            while data[at:at + 1].isspace():
                at += 1
            start = at
            while not data[at:at + 1].isspace():
                at += 1
            fields.append(data[start:at])
        self.width, self.height = int(fields[1]), int(fields[2])
        if int(fields[3]) != 255:
            raise RuntimeError("the screenshot is not 8 bits per channel")
        self.pixels = data[at + 1:]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def count(self, left, top, right, bottom, colour):
        return sum(1 for y in range(top, bottom) for x in range(left, right) if self.at(x, y) == colour)


def x_window_rect(title):
    """Absolute (x, y, width, height) of the first X window with this title, or None."""
    r = xdotool("search", "--name", title, check=False)
    ids = r.stdout.split()
    if not ids:
        return None
    info = subprocess.run(["xwininfo", "-id", ids[0]], capture_output=True, text=True, timeout=20).stdout
    def field(name):
        for line in info.splitlines():
            if line.strip().startswith(name):
                return int(line.split(":")[1])
        raise ValueError(name)
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


def wait_for(predicate, seconds, step=0.05):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def eventually(condition, seconds=5.0):
    """The condition's value once it holds, or its last value after `seconds`."""
    end = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > end:
            return value
        time.sleep(0.1)


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def tray_icon_point(seconds=10):
    """Screen point of the first icon in Wine's stand-alone tray window."""
    rect = wait_for(lambda: x_window_rect("Wine System Tray"), seconds)
    if rect is None:
        return None
    x, y, w, h = rect
    return (x + 10, y + h // 2)


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)
    return path


def pixel(path, x, y):
    """(r, g, b) of one pixel of a PNG, read with ImageMagick."""
    out = subprocess.run(["/usr/bin/convert", path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, check=True, timeout=30).stdout
    m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
    return tuple(int(v) for v in m.groups())


RECORDER_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-recorder.exe")
