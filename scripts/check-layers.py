#!/usr/bin/env python3
"""Checks the floors of the house from the sources' own includes.

A unit is a header with its source (menu/LaunchMenu.h and every
menu/LaunchMenu*.cpp that defines its members count as separate units; a
unit is one stem). Prints each fault and exits 1 when there is one:
- a circle of units that include each other, directly or through others;
- a lower floor that includes a higher one: the model (core/store/) and
  platform/ include no window above them, and menu/, dialogs/, controls/ and
  platform/ include nothing of the resident core's top;
- a file of controls/ over 700 non-blank lines: one job a file.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
FOLDERS = ("core", "menu", "dialogs", "controls", "platform")
# What of core/ every floor may know: the program's windows, the busy flags
# and the portable tap rules. The rest of core/ outside store/ is the top.
CORE_LOW = {"core/ProgramWindows", "core/BusyFlags", "core/DoubleKeyWatch"}
MAX_CONTROL_LINES = 700
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def units():
    found = {}
    for folder in FOLDERS:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                stem = path.relative_to(ROOT).with_suffix("").as_posix()
                found.setdefault(stem, []).append(path)
    return found


def edges(found):
    graph = {}
    for stem, paths in found.items():
        targets = set()
        for path in paths:
            for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
                target = str(pathlib.PurePosixPath(name).with_suffix(""))
                if target in found and target != stem:
                    targets.add(target)
        graph[stem] = targets
    return graph


def floor(stem):
    if stem.startswith("core/store/"):
        return "store"
    if stem.startswith("core/"):
        return "core-low" if stem in CORE_LOW else "core-top"
    return stem.split("/", 1)[0]


# For each floor, the floors it must never include.
NEVER = {
    "store": {"core-top", "menu", "dialogs", "controls"},
    "platform": {"store", "core-low", "core-top", "menu", "dialogs", "controls"},
    "core-low": {"core-top", "menu", "dialogs", "controls"},
    "controls": {"core-top", "menu", "dialogs"},
    "dialogs": {"core-top", "menu"},
    "menu": {"core-top", "dialogs"},
}


def circles(graph):
    # Tarjan's strongly connected components; every one larger than a unit
    # is a circle.
    index, low, stack, on, out = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            part = []
            while True:
                w = stack.pop()
                on.discard(w)
                part.append(w)
                if w == v:
                    break
            if len(part) > 1:
                out.append(sorted(part))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return out


def main():
    graph = edges(units())
    faults = []
    for part in circles(graph):
        faults.append("circle: " + " -> ".join(part))
    for stem, targets in sorted(graph.items()):
        for target in sorted(targets):
            if floor(target) in NEVER.get(floor(stem), ()):
                faults.append(f"{stem} ({floor(stem)}) includes {target} ({floor(target)})")
    for path in sorted((ROOT / "controls").rglob("*")):
        if path.suffix in (".h", ".cpp"):
            lines = [line for line in path.read_text(encoding="utf-8").splitlines() if line.strip()]
            if len(lines) > MAX_CONTROL_LINES:
                faults.append(f"{path.relative_to(ROOT).as_posix()}: {len(lines)} non-blank lines")
    for fault in faults:
        print(fault)
    print(f"{len(graph)} units, {sum(len(t) for t in graph.values())} includes, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
