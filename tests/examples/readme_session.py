#!/usr/bin/env python3
"""Types the README's first session into zav and compares what it prints.

The session is the indented blocks of the README section "A first session":
each line "ZAV> <command>" is typed, and the lines after it, up to the next
prompt or the end of the block, are what the command must print. zav runs in
a copy of the example workspace with freshly made sample captures and the
real TShark.
"""
import argparse
import os
import pathlib
import shutil
import sys
import tempfile

from walk_library import prepare_workspace, run_zav

PROMPT = "ZAV> "


def readme_session(readme):
    """[(command, expected lines)] from the README's first session."""
    text = readme.read_text(encoding="utf-8")
    section = text.split("## A first session", 1)[1].split("\n## ", 1)[0]
    steps = []
    in_block = False
    for line in section.split("\n"):
        if line.startswith("    ") or (in_block and line == ""):
            code = line[4:]
            in_block = True
            if code.startswith(PROMPT):
                steps.append((code[len(PROMPT):], []))
            elif steps:
                steps[-1][1].append(code)
        else:
            in_block = False
    return [(command, trimmed(lines)) for command, lines in steps]


def trimmed(lines):
    while lines and lines[-1] == "":
        lines = lines[:-1]
    return lines


def printed_per_command(stdout, count):
    """What followed each of the first `count` prompts, as lines."""
    parts = stdout.split(PROMPT)[1:count + 1]
    return [trimmed(part.split("\n")) for part in parts]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", required=True)
    parser.add_argument("--root", default=str(pathlib.Path(__file__).resolve().parents[2]))
    args = parser.parse_args()
    root = pathlib.Path(args.root)
    steps = readme_session(root / "README.md")
    if not steps:
        print("FAIL the README has no first session")
        return 1
    workspace = pathlib.Path(tempfile.mkdtemp(prefix="zav-readme-"))
    failures = 0
    try:
        prepare_workspace(root, workspace)
        stdout, _ = run_zav(str(pathlib.Path(args.zav).resolve()), workspace,
                            [command for command, _ in steps], dict(os.environ, LC_ALL="C"))
        # Piped input is not echoed: where a terminal shows the typed command
        # and its line end after the prompt, the pipe shows the empty rest of
        # the prompt line, so that line stands for the README's blank line.
        for (command, expected), printed in zip(steps, printed_per_command(stdout, len(steps))):
            if printed != expected:
                failures += 1
                print("FAIL %s\nREADME shows:\n%s\nzav printed:\n%s\n" %
                      (command, "\n".join(expected), "\n".join(printed)))
    finally:
        shutil.rmtree(workspace, ignore_errors=True)
    print("%d of %d commands differ from the README" % (failures, len(steps)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
