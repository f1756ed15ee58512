#!/usr/bin/env python3
"""Runs the end-to-end scenarios: each one starts the built zav binary in a
fresh temporary directory holding the scenario's files, types its input and
compares what the shell wrote, byte for byte.

A scenario is a text file of sections. Lines before the first section are
comments. A section starts with a line "=== <kind> [argument] [options]":

  === file <path> [crlf] [noeol] [exec]  a file to create (path relative to
                                         the scenario directory)
  === dir <path>                         an empty directory to create
  === capture <path>                     a capture made by text2pcap from
                                         the hex dump in the section
  === args                               arguments for zav, split at blanks
  === stdin [noeol]                      what is typed
  === stdout [noeol]                     expected standard output, after the
                                         start banner (which is checked for
                                         its shape and then removed)
  === stderr [noeol]                     expected standard error (default:
                                         nothing)
  === file-after <path> [noeol]          expected content of a file after
                                         the run
  === stdout-contains                    each line must occur in stdout

Each section's text is its lines, each ended by a line feed ("noeol" drops
the last one). In every text these are replaced: {DIR} the scenario
directory, {FAKE_TSHARK} a TShark stand-in that prints its arguments in
brackets, {TSHARK} the real TShark, {TAB} {CR} {VT} {FF} {NUL}.
"""
import argparse
import difflib
import os
import pathlib
import shutil
import stat
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
BANNER_LINES = 9  # an empty line, seven art rows, the name line


class Scenario:
    def __init__(self, path):
        self.path = path
        self.sections = []  # (kind, argument, options, text)
        self._parse(path.read_text(encoding="utf-8"))

    def _parse(self, source):
        current = None
        lines = source.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        for line in lines:
            if line.startswith("=== "):
                words = line[4:].split()
                kind = words[0]
                argument = None
                options = set()
                rest = words[1:]
                if kind in ("file", "dir", "capture", "file-after") and rest:
                    argument, rest = rest[0], rest[1:]
                options.update(rest)
                current = [kind, argument, options, []]
                self.sections.append(current)
            elif current is not None:
                current[3].append(line)
        for section in self.sections:
            lines = section[3]
            text = "".join(l + "\n" for l in lines)
            if "noeol" in section[2] and text.endswith("\n"):
                text = text[:-1]
            section[3] = text

    def get(self, kind):
        return [s for s in self.sections if s[0] == kind]


def expand(text, directory, tools):
    replacements = {
        "{DIR}": str(directory),
        "{FAKE_TSHARK}": str(tools["fake_tshark"]),
        "{TSHARK}": tools["tshark"] or "tshark",
        "{TAB}": "\t", "{CR}": "\r", "{VT}": "\v", "{FF}": "\f", "{NUL}": "\0",
    }
    for key, value in replacements.items():
        text = text.replace(key, value)
    return text


def strip_banner(stdout):
    """Checks the banner's shape and returns what follows it."""
    lines = stdout.split("\n")
    if len(lines) < BANNER_LINES or lines[0] != "":
        return None, "output does not start with the banner"
    for row in lines[1:8]:
        if len(row) != 34 or not row.startswith("  "):
            return None, "banner art row of wrong width: %r" % row
    if lines[8].replace(" ", "") != "Vorrindal":
        return None, "banner name line wrong: %r" % lines[8]
    return "\n".join(lines[BANNER_LINES:]), None


def show_difference(label, expected, actual):
    out = ["--- %s differs" % label]
    out += difflib.unified_diff(
        expected.splitlines(keepends=True), actual.splitlines(keepends=True),
        "expected", "actual")
    out.append("\nexpected: %r\nactual:   %r" % (expected, actual))
    return "".join(x if x.endswith("\n") else x + "\n" for x in out)


def run_scenario(scenario, zav, tools, keep):
    directory = pathlib.Path(tempfile.mkdtemp(prefix="zav-e2e-"))
    try:
        for kind, argument, options, text in scenario.sections:
            if kind == "dir":
                (directory / argument).mkdir(parents=True, exist_ok=True)
            elif kind == "file":
                target = directory / argument
                target.parent.mkdir(parents=True, exist_ok=True)
                data = expand(text, directory, tools)
                if "crlf" in options:
                    data = data.replace("\n", "\r\n")
                target.write_bytes(data.encode("utf-8", "surrogateescape"))
                if "exec" in options:
                    target.chmod(target.stat().st_mode | stat.S_IXUSR)
            elif kind == "capture":
                target = directory / argument
                target.parent.mkdir(parents=True, exist_ok=True)
                dump = directory / (argument + ".hex")
                dump.write_text(text)
                subprocess.run([tools["text2pcap"], "-q", str(dump), str(target)],
                               check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                dump.unlink()
        stdin_sections = scenario.get("stdin")
        stdin = expand(stdin_sections[0][3], directory, tools) if stdin_sections else ""
        env = dict(os.environ)
        env["LC_ALL"] = "C"
        arguments = [expand(s[3], directory, tools).split() for s in scenario.get("args")]
        result = subprocess.run([zav] + sum(arguments, []), cwd=directory, input=stdin.encode("utf-8", "surrogateescape"),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                                timeout=60)
        stdout = result.stdout.decode("utf-8", "surrogateescape")
        stderr = result.stderr.decode("utf-8", "surrogateescape")
        failures = []
        if result.returncode != 0:
            failures.append("exit status %d" % result.returncode)
        rest, problem = strip_banner(stdout)
        if problem:
            failures.append(problem + "\n" + repr(stdout[:400]))
            rest = stdout
        for _, _, _, text in scenario.get("stdout"):
            expected = expand(text, directory, tools)
            if rest != expected:
                failures.append(show_difference("stdout", expected, rest))
        for _, _, _, text in scenario.get("stdout-contains"):
            for line in expand(text, directory, tools).splitlines():
                if line not in rest:
                    failures.append("stdout lacks %r\n%s" % (line, rest))
        expected_err = scenario.get("stderr")
        expected_err = expand(expected_err[0][3], directory, tools) if expected_err else ""
        if stderr != expected_err:
            failures.append(show_difference("stderr", expected_err, stderr))
        for _, argument, _, text in scenario.get("file-after"):
            expected = expand(text, directory, tools)
            path = directory / argument
            actual = path.read_bytes().decode("utf-8", "surrogateescape") if path.exists() else "<missing>"
            if actual != expected:
                failures.append(show_difference("file " + argument, expected, actual))
        return failures
    finally:
        if keep:
            print("kept", directory)
        else:
            shutil.rmtree(directory, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", required=True, help="the zav binary")
    parser.add_argument("--keep", action="store_true", help="keep the scenario directories")
    parser.add_argument("paths", nargs="+", help="scenario files or directories")
    args = parser.parse_args()
    zav = str(pathlib.Path(args.zav).resolve())
    tools = {
        "fake_tshark": HERE / "fake_tshark.sh",
        "tshark": shutil.which("tshark"),
        "text2pcap": shutil.which("text2pcap") or "text2pcap",
    }
    files = []
    for path in map(pathlib.Path, args.paths):
        files += sorted(path.rglob("*.test")) if path.is_dir() else [path]
    failed = 0
    for path in files:
        failures = run_scenario(Scenario(path), zav, tools, args.keep)
        name = os.path.relpath(path, HERE)
        if failures:
            failed += 1
            print("FAIL %s\n%s" % (name, "\n".join(failures)))
        else:
            print("ok   %s" % name)
    print("%d passed, %d failed" % (len(files) - failed, failed))
    return 1 if failed or not files else 0


if __name__ == "__main__":
    sys.exit(main())
