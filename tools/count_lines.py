#!/usr/bin/env python3
"""Prints the lines of production code and of test code, and their ratio.

Lines are counted without blank lines and comment lines: "//" lines and
"/* */" blocks in C and C++, "#" lines elsewhere, and the lines before the
first "===" section of a scenario file. Production code is every .cpp and .h
under src/ except the unit tests (*_test.cpp) and the test-support headers
(the headers whose names contain "test"). Test code is those unit tests and
headers, and every file under tests/ and fuzz/.

Usage: tools/count_lines.py [--max-ratio 0.40]   (exit 1 above the ratio)
"""

import argparse
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def counted_lines(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = [line.strip() for line in f]
    if path.endswith(".test"):
        first = next((i for i, line in enumerate(lines) if line.startswith("=== ")), len(lines))
        lines = lines[first:]
    if not path.endswith((".c", ".cpp", ".h")):
        return sum(1 for line in lines if line and not line.startswith("#"))
    count, in_block = 0, False
    for line in lines:
        if in_block:
            in_block = "*/" not in line
        elif line.startswith("/*"):
            in_block = "*/" not in line
        elif line and not line.startswith("//"):
            count += 1
    return count


def files_under(folder):
    for directory, _, names in os.walk(os.path.join(ROOT, folder)):
        for name in sorted(names):
            yield os.path.join(directory, name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--max-ratio", type=float)
    args = parser.parse_args()
    counts = dict.fromkeys(["production", "unit tests", "test-support headers",
                            "tests/ scripts", "scenario files", "fuzz/"], 0)
    for path in files_under("src"):
        name = os.path.basename(path)
        if name.endswith("_test.cpp"):
            counts["unit tests"] += counted_lines(path)
        elif name.endswith(".h") and "test" in name:
            counts["test-support headers"] += counted_lines(path)
        elif name.endswith((".cpp", ".h")):
            counts["production"] += counted_lines(path)
    for path in files_under("tests"):
        kind = "scenario files" if path.endswith(".test") else "tests/ scripts"
        counts[kind] += counted_lines(path)
    for path in files_under("fuzz"):
        counts["fuzz/"] += counted_lines(path)

    tests = sum(counts.values()) - counts["production"]
    ratio = tests / counts["production"]
    for kind, count in counts.items():
        print(f"{kind:22} {count:6}")
    print(f"{'test code':22} {tests:6}")
    print(f"test code / production: {ratio:.2f}")
    if args.max_ratio is not None and ratio > args.max_ratio:
        sys.exit(f"test code is above {args.max_ratio:.2f} of the production code")


if __name__ == "__main__":
    main()
