#!/usr/bin/env python3
"""Names the frames of a stack printed as module+offset (the Windows tests'
watchdog prints them when a case hangs): each frame in the given program is
followed by the function it falls in, read from the program's symbol table.
Build the same commit first; the other modules' frames pass through as they are.
    scripts/stack-names.py build/win/tests/win/vlcr_win_tests.exe < ci.log
"""
import bisect
import re
import subprocess
import sys

exe = sys.argv[1]
listing = subprocess.run(["x86_64-w64-mingw32-nm", "-C", "--defined-only", exe],
                         capture_output=True, text=True, check=True).stdout
symbols = sorted((int(address, 16), name) for address, kind, name in
                 (line.split(" ", 2) for line in listing.splitlines() if line.count(" ") >= 2)
                 if kind in "tT")
starts = [address for address, _ in symbols]
image_base = 0x140000000  # where the linker places a 64-bit executable
frame = re.compile(re.escape(exe.rsplit("/", 1)[-1]) + r"\+0x([0-9a-f]+)")
for line in sys.stdin:
    found = frame.search(line)
    if found:
        at = bisect.bisect_right(starts, image_base + int(found.group(1), 16)) - 1
        line = line.rstrip("\n") + "  " + (symbols[at][1] if at >= 0 else "?") + "\n"
    sys.stdout.write(line)
