#!/usr/bin/env python3
"""Checks that every folder of src/ includes only from the folders below it
(CONTRIBUTING.md, "Layers"). Unit tests may use anything. Prints each
include that climbs and exits 1."""
import pathlib
import re
import sys

# Lowest first; folders on one row do not include each other.
LAYERS = [["platform", "text"], ["core"], ["config"], ["defs"], ["exec", "ic"], ["builtins"],
          ["shell"]]
RANK = {folder: rank for rank, row in enumerate(LAYERS) for folder in row}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')

src = pathlib.Path(__file__).resolve().parent.parent / "src"
climbs = []
for path in sorted(src.rglob("*")):
    if (path.suffix not in (".h", ".cpp") or path.parent.name not in RANK
            or path.name.endswith("_test.cpp")):
        continue
    here = path.parent.name
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match or match.group(1) == here or match.group(1) not in RANK:
            continue
        if RANK[match.group(1)] >= RANK[here]:
            climbs.append("%s:%d: %s includes %s" % (path.relative_to(src), number, here,
                                                      match.group(1)))
print("\n".join(climbs) if climbs else "layers: every include runs downward")
sys.exit(1 if climbs else 0)
