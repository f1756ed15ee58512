#!/usr/bin/env python3
# Types the README's first session into zav and compares what it prints.
#
# The session is the indented blocks of the README section "A first session":
# each line "ZAV> <command>" is typed, and the lines after it, up to the next
# prompt, are what the command must print (trailing empty lines aside). zav
# runs with the real TShark in a workspace made as the README starts, by
# `zav --init`, with the sample captures made when the source tree has none. Piped input is
# not echoed, so where a terminal shows the typed command after the prompt,
# the pipe shows the empty rest of the prompt line: the README's blank line.
import argparse, pathlib, subprocess, sys, tempfile

from walk_library import run_zav

PROMPT = "ZAV> "


def main():
    parser = argparse.ArgumentParser(description="Types the README's first session into zav")
    parser.add_argument("--zav", required=True)
    parser.add_argument("--root", default=str(pathlib.Path(__file__).resolve().parents[2]))
    args = parser.parse_args()
    root = pathlib.Path(args.root)
    section = (root / "README.md").read_text().split("## A first session", 1)[1].split("\n## ", 1)[0]
    steps, in_block = [], False
    for line in section.split("\n"):
        in_block = line.startswith("    ") or (in_block and line == "")
        if in_block and line[4:].startswith(PROMPT):
            steps.append([line[4 + len(PROMPT):], ""])
        elif in_block and steps:
            steps[-1][1] += line[4:] + "\n"
    zav = str(pathlib.Path(args.zav).resolve())
    with tempfile.TemporaryDirectory(prefix="zav-readme-") as workspace:
        subprocess.run([zav, "--init", workspace], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([str(root / "tools" / "make_sample_captures.sh"), workspace + "/captures"], check=True)
        stdout, _ = run_zav(zav, workspace, [c for c, _ in steps])
    failures = 0
    for (command, expected), printed in zip(steps, stdout.split(PROMPT)[1:]):
        expected, printed = expected.rstrip("\n"), printed.rstrip("\n")
        if printed != expected:
            failures += 1
            print("FAIL %s\nREADME shows:\n%s\nzav printed:\n%s\n" % (command, expected, printed))
    print("%d of %d commands differ from the README" % (failures, len(steps)))
    return 1 if failures or not steps else 0


if __name__ == "__main__":
    sys.exit(main())
