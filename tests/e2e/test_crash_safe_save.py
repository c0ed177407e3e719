"""A save killed at any moment leaves the old or the new Launch.ini, whole."""

import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import BUILD, WINE_RUN, win_path

STORM_EXE = os.path.join(BUILD, "tests", "tools", "vlcr-save-storm.exe")


def expected(which, count):
    lines = ["VELOCARA_LAUNCHLIST_2", f"list{which}"]
    for i in range(count):
        lines += [rf"C:\Tools\tool{i}.exe", f"道具{i}", "-x", "A", r"C:\Tools"]
    return "".join(l + "\r\n" for l in lines).encode("cp932")


class CrashSafeSave(unittest.TestCase):
    def test_killed_saves_leave_a_complete_file(self):
        folder = tempfile.mkdtemp(prefix="vlcr-storm-")
        path = os.path.join(folder, "Launch.ini")
        whole = {expected(0, 3000), expected(1, 1500)}
        rng = random.Random(20261209)
        kills = 0
        try:
            for round_ in range(12):
                proc = subprocess.Popen([WINE_RUN, STORM_EXE, win_path(path), "3000", "1500"],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
                first = proc.stdout.readline()  # one whole save done
                self.assertEqual(first.strip(), b"saving", "the save loop did not start")
                time.sleep(rng.uniform(0.0, 0.4))
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait(timeout=10)
                kills += 1
                with open(path, "rb") as f:
                    data = f.read()
                self.assertIn(data, whole, f"round {round_}: a torn Launch.ini of {len(data)} bytes")
        finally:
            shutil.rmtree(folder, ignore_errors=True)
        self.assertEqual(kills, 12)


if __name__ == "__main__":
    unittest.main(verbosity=2)
