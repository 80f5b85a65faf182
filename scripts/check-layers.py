#!/usr/bin/env python3
"""Checks that the sources' includes point one way.

Usage: check-layers.py SOURCE_ROOT
       check-layers.py --self-test   (plants each kind of fault in a scratch tree)

The subsystems stand in layers; a file may include its own subsystem and the ones below it:

    base              what every program stands on: text, paths, whole files, owned handles,
                      the registry library, system lookups, special folders, window helpers
    guards            what stands between an elevated program and a planted file  (sees base)
    pictures          the picture decoders, picture files, bitmaps for windows     (sees base)
    config            configuration files and their readers, shared formats, the run's state
                                                                  (sees guards, base)
    i18n              the language dialog                         (sees config, pictures and below)
    install           the installation run                        (sees i18n and below)
    wizard            the wizard window and its pages             (sees install and below)
    lifecycle         start-up and the end of a run               (sees everything above)
    uninstaller       the uninstaller's logic                     (sees i18n and below)
    authoring         the setup builder                           (sees i18n and below)

Only the programs' entry points (*_main_win.cpp), the end-to-end tests and the benchmarks see
everything. resources/ holds data ids that every layer may name. A unit test may also use the
setup builder (authoring/) to make its fixtures.

Besides the layers: a portable file of a subsystem (no "_win" in its name) includes no Windows
header and no *_win.h header, since it is compiled and tested on the host; and no group of modules
includes itself in a circle (a module is name.h with name.cpp; tests are modules of their own).

Prints every violation and exits 1 when there is one.
"""
import os
import re
import sys

BASE = {"base"}
GUARDS = {"guards"} | BASE
PICTURES = {"pictures"} | BASE
CONFIG = {"config"} | GUARDS
I18N = {"i18n"} | CONFIG | PICTURES
SEES = {
    "base": BASE,
    "guards": GUARDS,
    "pictures": PICTURES,
    "config": CONFIG,
    "i18n": I18N,
    "install": {"install"} | I18N,
    "wizard": {"wizard", "install"} | I18N,
    "lifecycle": {"lifecycle", "wizard", "install"} | I18N,
    "uninstaller": {"uninstaller"} | I18N,
    # The builder's check reads the language files and pictures through the setup's own readers.
    "authoring": {"authoring"} | I18N,
}
SEEN_BY_ALL = {"resources"}
SEES_EVERYTHING = {"tests", "bench"}
WINDOWS_HEADERS = {
    "windows.h", "commctrl.h", "shlobj.h", "objbase.h", "objidl.h", "setupapi.h", "richedit.h",
    "shellapi.h", "shlwapi.h", "mmsystem.h",
}
SOURCE_SUFFIXES = (".cpp", ".h", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def source_files(root):
    for folder in list(SEES) + sorted(SEEN_BY_ALL | SEES_EVERYTHING):
        for directory, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")


def includes_of(root, path):
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if match:
                yield number, match.group(1) == '"', match.group(2)


def subsystem(path):
    return path.split("/", 1)[0]


def is_portable(path):
    name = os.path.basename(path)
    return subsystem(path) in SEES and "_win" not in name and not name.endswith(".rc")


def is_unit_test(path):
    return path.endswith("_test.cpp")


def is_program(path):
    return path.endswith("_main_win.cpp")


def module(path):
    return os.path.splitext(path)[0]


def find_circles(edges):
    """Every strongly connected group of more than one module, or a module that includes itself."""
    index, low, stack, on_stack, circles = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for target in sorted(edges.get(node, ())):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1 or node in edges.get(node, ()):
                circles.append(sorted(group))

    sys.setrecursionlimit(10000)
    for node in sorted(edges):
        if node not in index:
            visit(node)
    return circles


def check(root):
    problems = []
    edges = {}
    for path in source_files(root):
        own = subsystem(path)
        for line, quoted, target in includes_of(root, path):
            where = f"{path}:{line}"
            if not quoted:
                if is_portable(path) and target.lower() in WINDOWS_HEADERS:
                    problems.append(f"{where}: portable file includes the Windows header <{target}>")
                continue
            if not os.path.exists(os.path.join(root, target)):
                continue  # a generated header in the build folder
            other = subsystem(target)
            if is_portable(path) and "_win" in os.path.basename(target):
                problems.append(f"{where}: portable file includes the Windows edge \"{target}\"")
            allowed = own in SEES_EVERYTHING or is_program(path) or other in SEEN_BY_ALL or \
                other in SEES.get(own, {own}) or (is_unit_test(path) and other == "authoring")
            if not allowed:
                problems.append(f"{where}: {own}/ must not include {other}/ (\"{target}\")")
            if module(target) != module(path):
                edges.setdefault(module(path), set()).add(module(target))
    for circle in find_circles(edges):
        problems.append("modules include each other in a circle: " + " -> ".join(circle))
    return problems


def self_test():
    """True when the check finds each planted fault and passes the same tree without them."""
    import tempfile
    planted = {
        "config/reader.h": '#include "install/run.h"\n',      # back-edge, and a circle with install/run
        "install/run.h": '#include "config/reader.h"\n',
        "install/run.cpp": '#include "install/run.h"\n#include <windows.h>\n',  # portable, Windows header
        "install/run_test.cpp": '#include "authoring/builder.h"\n#include "install/run_win.h"\n',
        "install/run_win.h": '#include <windows.h>\n',
        "authoring/builder.h": "",
        "lifecycle/main_main_win.cpp": '#include "install/run_win.h"\n#include "lifecycle/x.h"\n',
        "lifecycle/x.h": '#include "config/reader.h"\n',
    }
    expected = [
        "config/reader.h:1: config/ must not include install/",
        "install/run.cpp:2: portable file includes the Windows header <windows.h>",
        "install/run_test.cpp:2: portable file includes the Windows edge",
        "modules include each other in a circle: config/reader -> install/run",
    ]
    with tempfile.TemporaryDirectory() as root:
        def write(files):
            for path, text in files.items():
                os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
                with open(os.path.join(root, path), "w") as out:
                    out.write(text)
        write(planted)
        found = check(root)
        missing = [want for want in expected if not any(p.startswith(want) for p in found)]
        extra = [p for p in found if not any(p.startswith(want) for want in expected)]
        write({"config/reader.h": "", "install/run.cpp": '#include "install/run.h"\n',
               "install/run_test.cpp": '#include "authoring/builder.h"\n'})
        clean = check(root)
    for line in missing:
        print("not found: " + line)
    for line in extra + clean:
        print("found without cause: " + line)
    return not (missing or extra or clean)


def main(argv):
    if argv[1:] == ["--self-test"]:
        return 0 if self_test() else 1
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    problems = check(argv[1])
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
