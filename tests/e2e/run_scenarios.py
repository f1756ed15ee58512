#!/usr/bin/env python3
# Runs the end-to-end scenarios: each one starts the built zav binary in a
# fresh temporary directory holding the scenario's files, types its input and
# compares what the shell wrote, byte for byte.
#
# A scenario is a text file of sections; lines before the first are comments.
# A section starts with a line "=== <kind> [argument] [options]":
#
#   session [noeol] [fsize=N]  the run as a terminal shows it: each line
#       "ZAV> <text>" types <text>; standard output, after the start banner
#       (checked for its shape, then removed), must be the session without the
#       typed texts. "noeol": the last prompt types nothing, input ends there.
#       fsize limits the files zav writes to N bytes (as a full disk).
#   stdin [noeol]              more input, typed after the session's
#   stdout [noeol]             expected standard output, where no prompt shows
#   stdout-contains            lines that must occur in standard output (a
#                              line given twice, twice)
#   stderr [noeol]             expected standard error (default: nothing)
#   status <n>                 expected exit status (default 0)
#   args [nobanner]            command-line arguments, one a line; "nobanner":
#                              no start banner expected
#   file <path> [crlf] [crlf-too] [noeol] [exec]   a file to create; with
#       "crlf-too" the scenario runs twice, with LF and with CR LF line ends
#   dir <path>                 an empty directory to create
#   capture <path>             a capture, made by text2pcap from the hex dump
#   file-after <path> [noeol]  expected content of a file after the run
#   config [KEY=VALUE]... [-KEY]... [dir=<path>] [none]   the ZAV.cfg made
#       unless a "file ZAV.cfg" is given: DEFAULT_CONFIG, with LOAD_CMD_ZAV_FILE
#       TRUE when there is a CMD.zav, KEY=VALUE set, -KEY left out, written
#       into dir; "none": no ZAV.cfg.
#
# A section's text is its lines, each ended by a line feed ("noeol" drops the
# last one). In every text these are replaced: {DIR} the scenario directory,
# {FAKE_TSHARK} a TShark stand-in that prints its arguments in brackets,
# {TSHARK} the real TShark, {TAB} {CR} {VT} {FF} {NUL}.
import argparse, difflib, os, pathlib, resource, shutil, signal, stat, subprocess, sys, tempfile

HERE = pathlib.Path(__file__).resolve().parent
PROMPT = "ZAV> "
DEFAULT_CONFIG = {"ZAV_CMD_FILE_PATH": "LOCAL", "LOAD_CMD_ZAV_FILE": "FALSE",
                  "TSHARK_EXE_PATH": "{FAKE_TSHARK}", "PCAP_DIR_PATH": "{DIR}/",
                  "DEFAULT_PCAP_NAME": "a.pcap", "HISTORY_DIR_PATH": "LOCAL",
                  "LOAD_HISTORY_FILE": "FALSE"}


class Scenario:
    def __init__(self, path):
        self.sections = []  # [kind, argument, options, text]; a session becomes stdout
        self.typed = ""  # the session's typed lines, then the stdin section
        lines = path.read_text(encoding="utf-8").split("\n")
        for line in lines[:-1] if lines[-1] == "" else lines:
            if line.startswith("=== "):
                kind, *rest = line[4:].split()
                argument = rest.pop(0) if kind in ("file", "dir", "capture", "file-after", "status") else None
                self.sections.append([kind, argument, set(rest), []])
            elif self.sections:
                self.sections[-1][3].append(line)
        for section in self.sections:
            lines, noeol = section[3], "noeol" in section[2]
            if section[0] == "session":
                self.typed += "".join(l[len(PROMPT):] + "\n" for l in lines[:len(lines) - noeol]
                                      if l.startswith(PROMPT))
                section[0], lines = "stdout", [PROMPT if l.startswith(PROMPT) else l for l in lines]
            section[3] = "".join(l + "\n" for l in lines)[:-1 if noeol and lines else None]
        self.typed += "".join(s[3] for s in self.get("stdin"))

    def get(self, kind):
        return [s for s in self.sections if s[0] == kind]

    def files(self, crlf=False):
        # (path, text, options) of every file to create, ZAV.cfg included.
        files = [(a, t.replace("\n", "\r\n") if "crlf" in o or (crlf and "crlf-too" in o) else t, o)
                 for _, a, o, t in self.get("file")]
        words = [w for s in self.get("config") for w in s[2]]
        if "none" in words or any(a == "ZAV.cfg" for a, _, _ in files):
            return files
        folder = "".join(w[4:] + "/" for w in words if w.startswith("dir="))
        values = dict(DEFAULT_CONFIG, LOAD_CMD_ZAV_FILE="TRUE" if any(
            a == folder + "CMD.zav" for a, _, _ in files) else "FALSE")
        for word in words:
            if word.startswith("-"):
                values.pop(word[1:])
            elif not word.startswith("dir="):
                values.update([word.split("=", 1)])
        text = "<ZAV CONFIGURATION FILE>\n" + "".join("%s = %s;\n" % kv for kv in values.items())
        return [(folder + "ZAV.cfg", text, set())] + files


def strip_banner(stdout):
    # What follows the banner (an empty line, seven art rows, the name line),
    # and what is wrong with its shape.
    lines = stdout.split("\n")
    if len(lines) < 9 or lines[0] or any(len(r) != 34 or r[:2] != "  " for r in lines[1:8]) \
            or lines[8].replace(" ", "") != "Vorrindal":
        return stdout, "the output does not start with the banner\n%r" % stdout[:400]
    return "\n".join(lines[9:]), None


def run_scenario(scenario, zav, tools, keep, crlf, first_args):
    directory = pathlib.Path(tempfile.mkdtemp(prefix="zav-e2e-"))
    values = {"{DIR}": str(directory), "{FAKE_TSHARK}": str(HERE / "fake_tshark.sh"),
              "{TSHARK}": tools["tshark"] or "tshark", "{TAB}": "\t", "{CR}": "\r", "{VT}": "\v",
              "{FF}": "\f", "{NUL}": "\0"}

    def expand(text):
        for key, value in values.items():
            text = text.replace(key, value)
        return text
    try:
        for _, argument, _, _ in scenario.get("dir"):
            (directory / argument).mkdir(parents=True, exist_ok=True)
        for argument, text, options in scenario.files(crlf):
            target = directory / argument
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(expand(text).encode("utf-8", "surrogateescape"))
            if "exec" in options:
                target.chmod(target.stat().st_mode | stat.S_IXUSR)
        for _, argument, _, text in scenario.get("capture"):
            (directory / argument).parent.mkdir(parents=True, exist_ok=True)
            subprocess.run([tools["text2pcap"], "-q", "-", str(directory / argument)], input=text.encode(),
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        limits = [int(o[6:]) for s in scenario.sections for o in s[2] if o.startswith("fsize=")]

        def limit():
            # A runaway allocation fails the scenario, not the machine (not under AddressSanitizer,
            # whose shadow memory takes a vast address space).
            if "ASAN_OPTIONS" not in os.environ:
                resource.setrlimit(resource.RLIMIT_AS, (2 << 30, 2 << 30))
            if limits:  # a write past the limit then fails with EFBIG instead of a signal
                signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                resource.setrlimit(resource.RLIMIT_FSIZE, (limits[0], limits[0]))
        args = scenario.get("args")
        result = subprocess.run([zav] + first_args + (expand(args[0][3]).splitlines() if args else []), cwd=directory,
                                input=expand(scenario.typed).encode("utf-8", "surrogateescape"),
                                env=dict(os.environ, LC_ALL="C"), capture_output=True, timeout=60,
                                preexec_fn=limit)
        stdout, stderr = (b.decode("utf-8", "surrogateescape") for b in (result.stdout, result.stderr))
        status = scenario.get("status")
        failures = ["exit status %d" % result.returncode] if result.returncode != int(
            status[0][1] if status else 0) else []
        stdout, problem = (stdout, None) if args and "nobanner" in args[0][2] else strip_banner(stdout)
        failures += [problem] if problem else []
        checks = [("stdout", expand(t), stdout) for _, _, _, t in scenario.get("stdout")]
        checks.append(("stderr", "".join(expand(s[3]) for s in scenario.get("stderr")), stderr))
        for _, argument, _, text in scenario.get("file-after"):
            path = directory / argument
            checks.append(("file " + argument, expand(text), path.read_bytes().decode(
                "utf-8", "surrogateescape") if path.exists() else "<missing>"))
        for label, expected, actual in checks:
            if expected != actual:
                failures.append("".join(["--- %s differs\n" % label] + list(difflib.unified_diff(
                    expected.splitlines(True), actual.splitlines(True), "expected", "actual")))
                    + "\nexpected: %r\nactual:   %r" % (expected, actual))
        for _, _, _, text in scenario.get("stdout-contains"):
            wanted = expand(text).splitlines()
            failures += ["stdout lacks %r\n%s" % (line, stdout) for line in set(wanted)
                         if stdout.count(line) < wanted.count(line)]
        return failures
    finally:
        print("kept", directory) if keep else shutil.rmtree(directory, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description="Runs the end-to-end scenarios (their format: the comment at the top of this file)")
    parser.add_argument("--zav", required=True, help="the zav binary")
    parser.add_argument("--keep", action="store_true", help="keep the scenario directories")
    parser.add_argument("--first-args", default="", help="arguments before every scenario's own, "
                        "one string split at blanks (-j4: side by side must read the same)")
    parser.add_argument("paths", nargs="+", help="scenario files or directories")
    args = parser.parse_args()
    tools = {"tshark": shutil.which("tshark"), "text2pcap": shutil.which("text2pcap") or "text2pcap"}
    files = [f for p in map(pathlib.Path, args.paths) for f in (sorted(p.rglob("*.test")) if p.is_dir() else [p])]
    failed = 0
    for path in files:
        scenario = Scenario(path)
        twice = any("crlf-too" in s[2] for s in scenario.get("file"))
        failures = [("(CR LF) " if crlf else "") + f for crlf in ((False, True) if twice else (False,))
                    for f in run_scenario(scenario, str(pathlib.Path(args.zav).resolve()), tools, args.keep, crlf,
                                                   args.first_args.split())]
        print(("FAIL %s\n%s" % (path, "\n".join(failures))) if failures else "ok   %s" % path)
        failed += bool(failures)
    print("%d passed, %d failed" % (len(files) - failed, failed))
    return 1 if failed or not files else 0


if __name__ == "__main__":
    sys.exit(main())
