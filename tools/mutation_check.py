#!/usr/bin/env python3
"""Measures how many seeded faults in the shell's code the test suite catches.

Usage:
    tools/mutation_check.py [--seed 2026] [--count 80] [--build-dir build]
                            [--filter-tests "-E example_library"] [--jobs 2]
                            [--only 3,7,12] [--drawn-at REVISION]

The build directory must be configured already. The script scans the
production sources under src/ (every .h and every .cpp the build directory
compiles, such as one line editor of two and no *_win32.cpp file on POSIX,
except *_test.cpp and the test-support headers, whose names contain "test")
in sorted order for places where one of
these faults fits:

    comparison  flip "==" / "!=", "<" / ">=", ">" / "<="
    constant    an integer literal one less (0 becomes 1)
    statement   drop a simple statement line ("x = y;", "f(a);", "++i;")
    logical     swap "&&" / "||"
    message     empty a string literal that starts with "+ " or is printed

Comments, string literals and preprocessor lines are not searched for the
operator faults. It then picks --count of those places with
random.Random(--seed), so the same seed on the same tree gives the same faults,
and for each one: writes the fault into the file, rebuilds incrementally
(cmake --build -j JOBS), runs ctest on that build directory with
--stop-on-failure (the --filter-tests words are passed to ctest as they are,
for example "-R unit" or "-E example_library"), and writes the file back byte
for byte. The file is written back also on Ctrl-C, SIGTERM or an error.

With --drawn-at, the places are drawn from the production files as they
were at that git revision, and each fault is written into today's file on
the line with the same text nearest to where it was ("gone" when no line
has that text any more): the faults of an earlier report, measured against
today's tests even after the production files changed around them.

A fault is "killed" (the report names the first test that failed) when a
test fails or runs past its timeout (three times
the unmutated run, at least 60 s, so a fault that makes the shell hang counts
as caught), "survived" when every test passes, and "not viable" when it does
not compile; not viable faults do not count in the kill rate. Before the
faults, the unmutated suite must pass. The report has one line per fault
(place, kind, the change, verdict) and a summary per kind; it goes to standard
output, flushed line by line, so it can be followed in a log file.
"""

import argparse
import os
import random
import re
import shlex
import signal
import subprocess
import sys
import tempfile
import time
from collections import Counter

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FLIPS = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">",
         "&&": "||", "||": "&&"}
COMPARISON = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
LOGICAL = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
INTEGER = re.compile(r"(?<![\w.'])\d+(?![\w.'])")
# An assignment, increment or call through a plain name: never a declaration.
STATEMENT = re.compile(r"^(\+\+|--)?[\w:]+(\.|->|\(|\[|\s*([-+*/|&]?=[^=]|\+\+|--|<<))")
# A literal after blanking: its quotes stay, its inside is spaces.
LITERAL = re.compile(r'(?<![\w"])" *"')


def compiled_sources(build_dir):
    """The sources CMake compiles in build_dir, as absolute paths."""
    found = set()
    for folder, _, names in os.walk(os.path.join(build_dir, "CMakeFiles")):
        if "DependInfo.cmake" in names:
            with open(os.path.join(folder, "DependInfo.cmake"), encoding="utf-8") as f:
                found.update(os.path.realpath(source) for source in
                             re.findall(r'^\s*"([^"]+\.cpp)"', f.read(), re.MULTILINE))
    return found


def production_files(build_dir, revision=None):
    compiled, found = compiled_sources(build_dir), []
    if revision:
        listed = subprocess.run(["git", "ls-tree", "-r", "--name-only", revision, "src"], cwd=ROOT,
                                capture_output=True, text=True, check=True).stdout.split()
    else:
        listed = [os.path.relpath(os.path.join(folder, name), ROOT)
                  for folder, _, names in os.walk(os.path.join(ROOT, "src")) for name in names]
    for path in listed:
        name, full = os.path.basename(path), os.path.join(ROOT, path)
        if not name.endswith((".cpp", ".h")) or "test" in name:
            continue
        # A file removed since the revision was compiled then; its faults are gone.
        if name.endswith(".cpp") and os.path.exists(full) and os.path.realpath(full) not in compiled:
            continue
        found.append(path)
    return sorted(found)


def source_text(path, revision=None):
    if revision:
        return subprocess.run(["git", "show", f"{revision}:{path}"], cwd=ROOT, capture_output=True,
                              text=True, check=True).stdout
    with open(os.path.join(ROOT, path), encoding="utf-8", newline="") as f:
        return f.read()


def code_only(text):
    """The text with comments and the insides of literals blanked, same length
    and same line breaks, so a match position is a position in the text."""
    out, i, n = list(text), 0, len(text)

    def blank(start, end):
        for k in range(start, end):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
        elif c == "R" and text.startswith('"', i + 1) and not (i and text[i - 1].isalnum()):
            delim = text[i + 2:text.find("(", i + 2)]
            end = text.find(")" + delim + '"', i) + len(delim) + 2
            blank(i + 2, end - 1)
            i = end
            continue
        elif c in "\"'" and not (c == "'" and i and text[i - 1].isalnum()):
            end = i + 1
            while end < n and text[end] != c and text[end] != "\n":
                end += 2 if text[end] == "\\" else 1
            blank(i + 1, end)
            i = end + 1
            continue
        else:
            i += 1
            continue
        blank(i, end)
        i = end
    return "".join(out)


def find_sites(path, revision=None):
    """Every (path, line index, column, kind, old text, new text) in one file."""
    lines = source_text(path, revision).split("\n")
    code = code_only("\n".join(lines)).split("\n")
    sites, previous, depth = [], "{", 0  # depth: parentheses open before the line
    for index, (line, masked) in enumerate(zip(lines, code)):
        stripped = masked.strip()
        if stripped.startswith("#"):
            continue
        for kind, pattern in (("comparison", COMPARISON), ("logical", LOGICAL)):
            for m in pattern.finditer(masked):
                sites.append((path, index, m.start(), kind, m.group(), FLIPS[m.group()]))
        for m in INTEGER.finditer(masked):
            value = int(m.group())
            sites.append((path, index, m.start(), "constant", m.group(),
                          str(value - 1 if value else 1)))
        if (STATEMENT.match(stripped) and stripped.endswith(";") and previous[-1:] in ";{}"
                and depth == 0 and stripped.count("(") == stripped.count(")")):
            start = len(line) - len(line.lstrip())
            sites.append((path, index, start, "statement", line[start:], ""))
        for m in LITERAL.finditer(masked):
            literal = line[m.start():m.end()]
            if len(literal) > 2 and (literal.startswith('"+ ')
                                     or re.search(r"\bprint\w*\(|<<", masked)):
                sites.append((path, index, m.start(), "message", literal, '""'))
        if stripped:
            previous = stripped
        depth += masked.count("(") - masked.count(")")
    return sites


def run(command, timeout=None, log=None):
    """Runs a command in its own process group; True when it exits with 0.
    On a timeout the group is killed and the run counts as failed. Its
    output goes to the open file `log`, if given."""
    child = subprocess.Popen(command, cwd=ROOT, stdout=log or subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        return child.wait(timeout=timeout) == 0
    except subprocess.TimeoutExpired:
        return False
    finally:
        if child.poll() is None:
            os.killpg(child.pid, signal.SIGKILL)
            child.wait()


def killing_test(ctest, timeout):
    """Runs ctest; None when every test passes, else the test that failed
    (or "timeout" when ctest itself ran out of time)."""
    with tempfile.TemporaryFile(mode="w+") as log:
        if run(ctest, timeout=timeout, log=log):
            return None
        log.seek(0)
        failed = re.search(r"Test\s+#\d+: (\S+) \.*\s*\*+(?:Failed|Timeout|Exception)", log.read())
        return failed.group(1) if failed else "timeout"


def interrupted(*_):
    """SIGINT and SIGTERM unwind, so the file being mutated is written back."""
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", type=int, default=2026)
    parser.add_argument("--count", type=int, default=80)
    parser.add_argument("--build-dir", default="build")
    parser.add_argument("--filter-tests", default="",
                        help='ctest selection passed through, e.g. "-E example_library"')
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--drawn-at", default=None,
                        help="draw the places from the production files at this git revision")
    parser.add_argument("--only", default="",
                        help="comma-separated fault numbers of the drawn list to run again, "
                             "e.g. the survivors of an earlier report")
    args = parser.parse_args()
    only = {int(n) for n in args.only.split(",") if n.strip()}
    build_dir = os.path.abspath(args.build_dir)
    build = ["cmake", "--build", build_dir, "-j", str(args.jobs)]
    ctest = (["ctest", "--test-dir", build_dir, "--stop-on-failure", "-j", str(args.jobs)]
             + shlex.split(args.filter_tests))

    signal.signal(signal.SIGINT, interrupted)  # even when started with SIGINT ignored
    signal.signal(signal.SIGTERM, interrupted)
    drawn_at = args.drawn_at
    sites = [site for path in production_files(build_dir, drawn_at) for site in find_sites(path, drawn_at)]
    chosen = random.Random(args.seed).sample(sites, min(args.count, len(sites)))
    print(f"seed {args.seed}, {len(chosen)} of {len(sites)} candidate faults; "
          f"ctest {' '.join(ctest[3:])}", flush=True)
    listed = subprocess.run(ctest + ["-N"], cwd=ROOT, capture_output=True, text=True).stdout
    print("selected: " + " ".join(re.findall(r"Test\s+#\d+: (\S+)", listed)), flush=True)

    if not run(build):
        sys.exit("the unmutated tree does not build")
    started = time.monotonic()
    if not run(ctest):
        sys.exit("the unmutated suite fails; fix it before measuring")
    timeout = max(60, 3 * (time.monotonic() - started))
    ctest += ["--timeout", str(int(timeout))]
    print(f"unmutated suite: {time.monotonic() - started:.0f} s, "
          f"timeout {timeout:.0f} s per test", flush=True)

    verdicts = []
    for number, (path, index, column, kind, old, new) in enumerate(chosen, 1):
        if only and number not in only:
            continue
        full = os.path.join(ROOT, path)
        original = b""
        if os.path.exists(full):
            with open(full, "rb") as f:
                original = f.read()
        lines = original.decode("utf-8").split("\n")
        if drawn_at:
            text = source_text(path, drawn_at).split("\n")[index]
            same = [i for i, line in enumerate(lines) if line == text]
            if not same:  # the line, or its whole file, is gone
                print(f"{number:3} {path}:{index + 1} {kind} gone", flush=True)
                continue
            index = min(same, key=lambda i: abs(i - index))
        line = lines[index]
        lines[index] = line[:column] + new + line[column + len(old):]
        try:
            with open(full, "wb") as f:
                f.write("\n".join(lines).encode("utf-8"))
            if not run(build):
                verdict = "not viable"
            else:
                failed = killing_test(ctest, timeout * 4)
                verdict = f"killed ({failed})" if failed else "survived"
        finally:
            with open(full, "wb") as f:
                f.write(original)
        verdicts.append((kind, verdict.split(" (")[0]))
        change = f"drop {old}" if kind == "statement" else f"{old} -> {new}"
        print(f"{number:3} {path}:{index + 1} {kind} {change} {verdict}", flush=True)

    run(build)  # leave the build matching the restored sources
    print("\nkind        killed survived not-viable  kill rate")
    for kind in ["comparison", "constant", "statement", "logical", "message", "all"]:
        counts = Counter(v for k, v in verdicts if kind in (k, "all"))
        tried = counts["killed"] + counts["survived"]
        rate = f"{100 * counts['killed'] / tried:.1f} %" if tried else "-"
        print(f"{kind:11} {counts['killed']:6} {counts['survived']:8} "
              f"{counts['not viable']:10}  {rate}", flush=True)


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit("interrupted; the sources are restored")
