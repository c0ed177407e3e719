"""vlcr.exe is one static program that needs only Windows' own DLLs, and
carries its icon, manifest and version."""

import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vlcr_e2e import VLCR_EXE

# Windows 10's Known DLLs (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs): the loader
# takes these from System32 whatever lies beside the program. The common controls come side by side through
# the manifest. Any other DLL the program imports at load time would be looked for in its own folder first.
KNOWN_DLLS = {"advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
              "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll",
              "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll",
              "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll",
              "ws2_32.dll"}
WINDOWS_DLLS = KNOWN_DLLS | {"comctl32.dll"}


def objdump(*args):
    return subprocess.run(["x86_64-w64-mingw32-objdump", *args, VLCR_EXE], capture_output=True,
                          text=True, check=True).stdout


class Executable(unittest.TestCase):
    def test_imports_are_known_dlls_only(self):
        dlls = {m.lower() for m in re.findall(r"DLL Name: (\S+)", objdump("-p"))}
        self.assertTrue(dlls, "no imports found")
        self.assertLessEqual(dlls, WINDOWS_DLLS, dlls - WINDOWS_DLLS)
        self.assertNotIn("libstdc++-6.dll", dlls)
        self.assertNotIn("libwinpthread-1.dll", dlls)

    def test_gui_subsystem_and_resources(self):
        headers = objdump("-p")
        self.assertRegex(headers, r"Subsystem\s+00000002")  # Windows GUI
        with open(VLCR_EXE, "rb") as f:
            data = f.read()
        # Plain membership tests: a failure must not print the whole binary.
        self.assertTrue(b"Microsoft.Windows.Common-Controls" in data, "no common controls v6 manifest")
        self.assertTrue(b'level="asInvoker"' in data, "manifest without asInvoker")
        wide = lambda s: s.encode("utf-16-le")
        version = re.compile(re.escape(wide("FileVersion")) + b"(?:\0\0)+" + re.escape(wide("2.99")))
        self.assertTrue(version.search(data), "no FileVersion 2.99")
        self.assertTrue(wide("迅 -velocara-") in data, "product name not stored as Japanese text")
        self.assertTrue(wide("the vlcr authors") in data, "no CompanyName")
        self.assertTrue(wide("Copyright (c) 2026 the vlcr authors. MIT License.") in data, "no LegalCopyright")
        self.assertTrue(b"\x11\x04\xa4\x03" in data, "no Japanese / cp932 translation entry")

if __name__ == "__main__":
    unittest.main(verbosity=2)
