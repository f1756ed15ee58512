#!/usr/bin/env python3
"""Checks that every folder of src/ includes only from the folders below it
(CONTRIBUTING.md, "Layers"). Unit tests may include from any layer.

Every include written with double quotes or angle brackets that names a
file of src/ counts, however it is spelled ("core/x.h", "../shell/shell.h",
"./x.h"). A source file in a folder that has no layer, or directly in src/,
fails the check too, so that a new folder cannot slip past it.

Usage: tools/check_layers.py [--src DIR] [--self-test]
Prints each problem and exits 1. --self-test plants a climb, a relative
climb and an unknown folder in a temporary copy and checks that each fails.
"""
import argparse
import os
import pathlib
import re
import shutil
import sys
import tempfile

# Lowest first; folders on one row do not include each other.
LAYERS = [["platform", "text"], ["core"], ["config"], ["defs"], ["exec", "ic"], ["builtins"],
          ["shell"]]
RANK = {folder: rank for rank, row in enumerate(LAYERS) for folder in row}
INCLUDE = re.compile(r'^\s*#\s*include\s*["<]([^">]+)[">]')


def included_file(src, including, name):
    """The file of src/ an include names, or None for one outside src/."""
    for base in (including.parent, src):
        candidate = pathlib.Path(os.path.normpath(base / name))
        if candidate.is_file() and src in candidate.parents:
            return candidate
    return None


def problems(src):
    found = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(src)
        here = relative.parts[0] if len(relative.parts) > 1 else None
        if here not in RANK:
            found.append("%s: a source file outside the layers %s" % (relative, sorted(RANK)))
            continue
        if path.name.endswith("_test.cpp"):
            continue
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            target = match and included_file(src, path, match.group(1))
            if not target:
                continue
            there = target.relative_to(src).parts[0]
            if there != here and (there not in RANK or RANK[there] >= RANK[here]):
                found.append("%s:%d: %s includes %s" % (relative, number, here, there))
    return found


def self_test(src):
    plants = [("core/planted.cpp", '#include "shell/shell.h"\n'),
              ("core/planted.cpp", '#include "../shell/shell.h"\n'),
              ("util/planted.cpp", '#include "core/console_output.h"\n')]
    for name, text in plants:
        with tempfile.TemporaryDirectory() as copy:
            tree = pathlib.Path(copy) / "src"
            shutil.copytree(src, tree)
            (tree / name).parent.mkdir(exist_ok=True)
            (tree / name).write_text(text)
            if not problems(tree):
                print("self-test: %s with %r passed the check" % (name, text.strip()))
                return False
    print("self-test: a climb, a relative climb and an unknown folder each fail the check")
    return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--src", default=str(pathlib.Path(__file__).resolve().parent.parent / "src"))
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    src = pathlib.Path(args.src).resolve()
    if args.self_test and not self_test(src):
        return 1
    found = problems(src)
    print("\n".join(found) if found else "layers: every include runs downward")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
