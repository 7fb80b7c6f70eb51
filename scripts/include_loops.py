#!/usr/bin/env python3
"""Finds include loops between the program's files, and includes that go up
between the window's rooms.

A file and its header count as one unit (ExpNode.h and ExpNode.cpp are
ExpNode), so a loop is also two .cpp files that each include the other's
header: the units would call into each other. The window's rooms (ROOMS,
from the bottom up) include only rooms below their own. Exits 1 and names
every loop and every include that goes up, 0 when there is none.
"""
import re
import sys
from pathlib import Path

LAYERS = ["expr", "render", "plot", "platform", "res", "session", "ui", "cli"]
# The window's rooms, from the bottom up; every folder of session/ and ui/
# that holds sources is one of them.
ROOMS = [
    "session",
    "ui/engine",
    "ui/widgets",
    "ui/typinghelp",
    "ui/lineedit",
    "ui/naturalform",
    "ui/variables",
    "ui/dialogs",
    "ui/history",
    "ui/graph",
    "ui/window",
    "ui/app",
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def units(root):
    found = {}
    for layer in LAYERS:
        for path in sorted((root / layer).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                unit = path.relative_to(root).with_suffix("").as_posix()
                found.setdefault(unit, []).append(path)
    return found


def room(unit):
    folder = unit.rsplit("/", 1)[0]
    return folder if folder.split("/")[0] in ("session", "ui") else None


def edges(found):
    # Includes name a header by its file name; no two folders have a header
    # of the same name.
    by_stem = {
        unit.rsplit("/", 1)[1]: unit
        for unit, paths in found.items()
        if any(path.suffix == ".h" for path in paths)
    }
    graph = {}
    for unit, paths in found.items():
        graph[unit] = set()
        for path in paths:
            for name in INCLUDE.findall(path.read_text(errors="replace")):
                target = by_stem.get(Path(name).stem)
                if target and target != unit:
                    graph[unit].add(target)
    return graph


def loops(graph):
    """Strongly connected components of more than one unit (Tarjan, without
    recursion)."""
    index, low, on_stack, stack, result = {}, {}, set(), [], []
    counter = 0
    for start in graph:
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            unit, targets = work[-1]
            advanced = False
            for target in targets:
                if target not in index:
                    index[target] = low[target] = counter
                    counter += 1
                    stack.append(target)
                    on_stack.add(target)
                    work.append((target, iter(sorted(graph[target]))))
                    advanced = True
                    break
                if target in on_stack:
                    low[unit] = min(low[unit], index[target])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[unit])
            if low[unit] == index[unit]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == unit:
                        break
                if len(component) > 1:
                    result.append(sorted(component))
    return result


def upward(graph):
    """Includes from a room of a room above it, and folders of the window
    that are no room."""
    found = []
    for folder in sorted({room(unit) for unit in graph} - {None} - set(ROOMS)):
        found.append(f"{folder}/ holds sources but is no room: move them to one, or add it to ROOMS")
    for unit in sorted(graph):
        if room(unit) not in ROOMS:
            continue
        for target in sorted(graph[unit]):
            if room(target) in ROOMS and ROOMS.index(room(target)) > ROOMS.index(room(unit)):
                found.append(f"{unit} includes {target}, a room above its own")
    return found


def main():
    root = Path(__file__).resolve().parent.parent
    graph = edges(units(root))
    found = loops(graph)
    for component in found:
        print("include loop: " + " <-> ".join(component))
    wrong = upward(graph)
    for line in wrong:
        print(line)
    if found or wrong:
        return 1
    print("no two files include each other in a loop, and no room includes one above it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
