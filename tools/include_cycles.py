#!/usr/bin/env python3
"""Finds circles in the include graph of a source tree.

A file is a header and its source together (x/y.h with x/y.cpp); a module is the folder a file
sits in. Every strongly connected component of more than one module, and of more than one file,
is printed. Exit status 1 when there is any.

usage: include_cycles.py SOURCE_ROOT [-I DIR ...] [FOLDER ...]
An include is looked up under SOURCE_ROOT and under each DIR (relative to SOURCE_ROOT); only files
under the FOLDERs are read, when some are given.
"""
import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def resolve(root, search, include):
    for directory in search:
        candidate = os.path.normpath(os.path.join(directory, include))
        if os.path.isfile(os.path.join(root, candidate)):
            return os.path.splitext(candidate)[0]
    return None


def read_graph(root, search, folders):
    graph = {}
    for directory, _, names in os.walk(root):
        for name in names:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.relpath(os.path.join(directory, name), root)
            if folders and not any(path.startswith(folder.rstrip("/") + "/") for folder in folders):
                continue
            unit = os.path.splitext(path)[0]
            with open(os.path.join(root, path), encoding="utf-8") as source:
                targets = {resolve(root, search, include) for include in INCLUDE.findall(source.read())}
            targets.discard(None)
            graph.setdefault(unit, set()).update(targets - {unit})
    for targets in list(graph.values()):
        for target in targets:
            graph.setdefault(target, set())
    return graph


def strongly_connected(graph):
    """Tarjan's algorithm, without recursion so that deep trees cannot overflow the stack."""
    index, low, on_stack, stack, components = {}, {}, set(), [], []
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = len(index)
        stack.append(start)
        on_stack.add(start)
        while work:
            node, successors = work[-1]
            advanced = False
            for successor in successors:
                if successor not in index:
                    index[successor] = low[successor] = len(index)
                    stack.append(successor)
                    on_stack.add(successor)
                    work.append((successor, iter(sorted(graph[successor]))))
                    advanced = True
                    break
                if successor in on_stack:
                    low[node] = min(low[node], index[successor])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    components.append(sorted(component))
    return components


def module_graph(graph):
    modules = {}
    for unit, targets in graph.items():
        module = os.path.dirname(unit)
        modules.setdefault(module, set()).update(os.path.dirname(target) for target in targets)
    for module, targets in modules.items():
        targets.discard(module)
    for targets in list(modules.values()):
        for target in targets:
            modules.setdefault(target, set())
    return modules


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("root")
    parser.add_argument("-I", dest="search", action="append", default=[])
    parser.add_argument("folders", nargs="*")
    arguments = parser.parse_args()
    files = read_graph(arguments.root, ["."] + arguments.search, arguments.folders)
    found = False
    for kind, graph in (("modules", module_graph(files)), ("files", files)):
        for component in strongly_connected(graph):
            found = True
            print(f"circle of {len(component)} {kind}: {' '.join(component)}")
    if not found:
        print(f"no circles among {len(files)} files")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
