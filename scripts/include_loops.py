#!/usr/bin/env python3
"""Finds include loops between the program's files.

A file and its header count as one unit (ExpNode.h and ExpNode.cpp are
ExpNode), so a loop is also two .cpp files that each include the other's
header: the units would call into each other. Exits 1 and names the units of
every loop found, 0 when there is none.
"""
import re
import sys
from pathlib import Path

LAYERS = ["expr", "render", "plot", "platform", "res", "ui", "cli"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def units(root):
    found = {}
    for layer in LAYERS:
        for path in sorted((root / layer).glob("*")):
            if path.suffix in (".h", ".cpp"):
                found.setdefault(f"{layer}/{path.stem}", []).append(path)
    return found


def edges(found):
    # Includes name a header by its file name; no two layers have a header
    # of the same name.
    by_stem = {
        unit.split("/")[1]: unit
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


def main():
    root = Path(__file__).resolve().parent.parent
    found = loops(edges(units(root)))
    for component in found:
        print("include loop: " + " <-> ".join(component))
    if found:
        return 1
    print("no two files include each other in a loop")
    return 0


if __name__ == "__main__":
    sys.exit(main())
