#!/usr/bin/env python3
"""Fails when an #include in src/ points up a layer, when units include each
other in a cycle, or when the portable core includes a Windows header.

Layers, lowest first (a file may include its own folder, any lower layer and
src/res, which holds only resource identifiers):

    core/model, core/help, core/lex  the message box vocabulary and UTF-8; the help topics; the C lexer
    core/codegen, core/output      statement writer; source encodings, marker search and splice
    core/codeparse, core/settings  statement reader; start-up settings and QuickBox slots
    core/convert                   a statement read and written again
    win32                          Win32 base: owned handles, forms over dialogs, files, profile, clipboard
    dialogs, console               one unit per window; the run without a window
    app                            WinMain and the wiring between windows

    scripts/check-layers.py [SRC_DIR]
"""
import os
import re
import sys

RANKS = {
    'res': 0,
    'core/model': 1, 'core/help': 1, 'core/lex': 1,
    'core/codegen': 2, 'core/output': 2,
    'core/codeparse': 3, 'core/settings': 3,
    'core/convert': 4,
    'win32': 5,
    'dialogs': 6, 'console': 6,
    'app': 7,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]', re.M)
WINDOWS_HEADERS = {'windows.h', 'commctrl.h', 'shellapi.h', 'winuser.h', 'windef.h'}


def folder(path):
    return os.path.dirname(path)


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'src')
    problems = []
    graph = {}
    for root, _, names in os.walk(src):
        for name in names:
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.relpath(os.path.join(root, name), src).replace(os.sep, '/')
            here = folder(path)
            if here not in RANKS:
                problems.append(f'{path}: folder {here!r} has no layer (add it to scripts/check-layers.py)')
                continue
            unit = os.path.splitext(path)[0]
            graph.setdefault(unit, set())
            with open(os.path.join(root, name), encoding='utf-8', errors='replace') as f:
                text = f.read()
            for kind, target in INCLUDE.findall(text):
                if kind == '<':
                    if here.startswith('core/') and target.lower() in WINDOWS_HEADERS:
                        problems.append(f'{path}: the portable core includes <{target}>')
                    continue
                there = folder(target)
                if there not in RANKS:
                    problems.append(f'{path}: includes "{target}" from outside the layers')
                    continue
                if there != here and RANKS[there] >= RANKS[here]:
                    problems.append(f'{path}: {here} (layer {RANKS[here]}) includes "{target}" '
                                    f'from {there} (layer {RANKS[there]})')
                target_unit = os.path.splitext(target)[0]
                if target_unit != unit:
                    graph[unit].add(target_unit)

    # Units of one folder may include each other, but never in a circle.
    index, low, stack, on, counter = {}, {}, [], set(), [0]

    def strong(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                strong(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            members = []
            while True:
                w = stack.pop()
                on.discard(w)
                members.append(w)
                if w == v:
                    break
            if len(members) > 1:
                problems.append('include cycle: ' + ' <-> '.join(sorted(members)))

    sys.setrecursionlimit(10000)
    for v in list(graph):
        if v not in index:
            strong(v)

    for p in problems:
        print(p)
    print(f'layers: {len(graph)} units, {len(problems)} problem(s)')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
