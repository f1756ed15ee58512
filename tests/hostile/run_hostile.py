#!/usr/bin/env python3
"""Hostile input, end to end: each case builds its (large or malformed)
inputs in a fresh directory, runs the real zav binary on them and checks
that it ends normally within its time, that the shell still answers a
command typed after the hostile part, and that its peak memory stays within
a small multiple of the input.

Inputs are generated here, never stored. Peak memory is the child's maximum
resident set size (wait4); under AddressSanitizer (ASAN_OPTIONS set) the
shadow memory and quarantine make it meaningless, so it is not checked then.

Usage: run_hostile.py --zav build/zav [case-name ...]
"""
import argparse
import os
import pathlib
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(ROOT / "bench"))
from generate_command_file import generate  # noqa: E402

FAKE_TSHARK = ROOT / "tests" / "e2e" / "fake_tshark.sh"
MB = 1024 * 1024
ALIVE = b"shell-still-answers"
# What every case types last: proof that the prompt loop survived.
CLOSING = b"echo " + ALIVE + b"\nexit\n"
# A runaway allocation fails the case instead of taking the machine down.
ADDRESS_SPACE_CAP = 4096 * MB
SANITIZED = "ASAN_OPTIONS" in os.environ
# Peak memory may exceed the idle shell's by this much whatever the input
# (allocator arenas, the pattern engine's stacks).
MEMORY_SLACK = 16 * MB


def config(load_commands=True, load_history=False, extra=b""):
    return (b"<ZAV CONFIGURATION FILE>\n"
            b"ZAV_CMD_FILE_PATH = LOCAL;\n"
            b"LOAD_CMD_ZAV_FILE = " + (b"TRUE" if load_commands else b"FALSE") + b";\n"
            b"TSHARK_EXE_PATH = " + str(FAKE_TSHARK).encode() + b";\n"
            b"PCAP_DIR_PATH = ./;\n"
            b"DEFAULT_PCAP_NAME = a.pcap;\n"
            b"HISTORY_DIR_PATH = LOCAL;\n"
            b"LOAD_HISTORY_FILE = " + (b"TRUE" if load_history else b"FALSE") + b";\n" + extra)


HEADER = b"<ZAV CONTROL COMMANDS>\n"


def win_block(name, logic):
    return b"WIN() {\n  NAME = %s\n  LOGIC = %s\n  INFO = i\n}\n" % (name, logic)


def zav_block(name, logic):
    return b"ZAV() {\n  NAME = %s\n  LOGIC = %s\n  INFO = i\n}\n" % (name, logic)


class Case:
    """files: name -> bytes; fifos: names made as FIFOs; stdin: bytes typed
    before CLOSING; expect: byte strings stdout must contain; factor: allowed
    peak memory above the idle shell (plus MEMORY_SLACK), as a multiple of
    the input size; timeout: seconds before the case counts as a hang."""

    def __init__(self, name, files, stdin=b"", expect=(), factor=8, timeout=120, fifos=()):
        self.name = name
        self.files = files
        self.fifos = fifos
        self.stdin = stdin + CLOSING
        self.expect = list(expect) + [ALIVE]
        self.factor = factor
        self.timeout = timeout

    def input_size(self):
        return sum(len(data) for data in self.files.values()) + len(self.stdin)


# --- The cases ------------------------------------------------------------

def command_file_10mb():
    text = generate(66000).encode()
    text += zav_block(b"probe", b"-Y probe.loaded")
    assert len(text) >= 10 * MB
    return Case("command_file_10mb", {"ZAV.cfg": config(), "CMD.zav": text},
                stdin=b"probe\ncmd0 7\n", expect=[b"[probe.loaded]"])


def prompt_line_1mb():
    commands = HEADER + zav_block(b"port", b"-Y tcp.port==[%_ARG_%]")
    words = b"port " + b"80 " * (MB // 3)         # one command, 350,000 surplus words
    unknown = b"nosuchcommand" + b"x" * MB        # one word, too long for the command processor
    repeated = b"port " * (MB // 5)               # 200,000 command words, one text
    # Typed first, so entry 0 is this very line: 500,000 runs of itself.
    exh = b"exh" + b" 0" * (MB // 2)
    stdin = b"\n".join([exh, words, unknown, repeated]) + b"\nport 443\n"
    # A line of two-character words is held as one string object per word
    # (32 bytes for 2), by the built-in dispatcher and again inside the one
    # run of itself that "exh" starts.
    return Case("prompt_line_1mb", {"ZAV.cfg": config(), "CMD.zav": commands}, stdin=stdin,
                expect=[b"[tcp.port==443]"], factor=24)


def list_line_1mb():
    commands = HEADER + zav_block(b"each", b"-Y [%_LIST<items.txt>_%]")
    items = (b"v" * MB + b"\n"
             + b"[%_PRINT<" + b"P" * MB + b">_%]tail\n"
             + b"[%_PRINT<" + b"%" * MB + b"\n"
             + b" " * MB + b"\n"
             + b"short\n")
    # The LIST marker itself a megabyte long: a file name the system refuses.
    commands += zav_block(b"longname", b"[%_LIST<" + b"n" * MB + b">_%]")
    return Case("list_line_1mb", {"ZAV.cfg": config(), "CMD.zav": commands, "items.txt": items},
                stdin=b"each\nlongname\n", expect=[b"P" * MB, b"[short]"])


def nul_and_invalid_utf8():
    junk = b"\x00\xff\xfe\xc3\x28\xe2\x82\x00\xed\xa0\x80\xf4\x90\x80\x80\x1b[31m\r\x0b\x0c"
    cfg = junk + config(extra=junk + b"\nTSHARK_EXE_PATH = " + junk + b";\n")
    commands = (junk + HEADER + junk
                + b"L.bad" + junk + b" = x\n"
                + b"L.frag = -Y " + junk + b"\n"
                + zav_block(b"z", b"-e " + junk + b" [INSERT(frag)] [%_ARG_%]")
                + b"ZAV() {\n  NAME = na\x00me\n  LOGIC = x\n  INFO = i\n}\n"
                + win_block(b"w", b"echo " + junk[1:8] + b" [CALL(z)] [%_LIST<li\x00st.txt>_%]")
                + b"#include <inc\x00.zav>\n#include <\xff\xfe.zav>\n"
                + b"MCU(m){\n z \x00\n\xff\n};\n"
                + b"Prefix.ZAV = {*} -> [L.frag]\nSuffix.ZAV = {z, \x00} -> [L.frag]\n"
                + b"Prefix.WIN = {!w, !\xff}\n" + junk)
    items = junk + b"\n[%_PRINT<" + junk.replace(b"%", b"") + b">_%]" + junk + b"\n"
    history = b"\n".join([junk, b"exh 0", b"\x00", junk * 3]) + b"\n"
    lines = [junk, b"z " + junk, b"w", b"x\x00y", b"\xff\xfe", b"exh 0 1 2 3",
             b"setpcap " + junk, b"info " + junk, b"logic z", b"ulogic z", junk,
             b"exmcu m", b"gic pre.zav.g", b"history", b"getallcmds", b"auxl", b"z 1"]
    cfg = cfg.replace(b"LOAD_HISTORY_FILE = FALSE", b"LOAD_HISTORY_FILE = TRUE")
    files = {"ZAV.cfg": cfg, "CMD.zav": commands, "li": items, "inc": commands,
             ".zav_history": history}
    return Case("nul_and_invalid_utf8", files, stdin=b"\n".join(lines) + b"\n")


def unclosed_constructs_1mb():
    body = b"    a1 -x\n" * (MB // 10)
    text = HEADER + b"MCU(x){\n" + body
    # Many openings that never close: a search from each of them must not
    # scan the rest of the file again.
    text2 = HEADER + b"MCU(y){\n" * (MB // 8)
    text3 = HEADER + b"ZAV() {\n" + b"  L.a = x\n\n" * (MB // 11)
    text4 = HEADER + b"ZAV() {\n" * (MB // 8)
    text5 = HEADER + b"\n" * MB + b"Prefix.ZAV = {" + b"a," * (MB // 2)
    files = {"ZAV.cfg": config(), "CMD.zav": text + b"#include <b.zav>\n"
             b"#include <c.zav>\n#include <d.zav>\n#include <e.zav>\n",
             "b.zav": text2, "c.zav": text3, "d.zav": text4, "e.zav": text5}
    return Case("unclosed_constructs_1mb", files, stdin=b"exmcu x\n")


def long_white_space_and_comments():
    """White space and comment lines that make a backtracking search of the
    block, fragment and ZAV.cfg patterns exponential or quadratic."""
    rejected = (b"ZAV() {\nNAME = bad\n" + b"\n// step\n" * 20 + b"LOGIC = -b\n}\n"
                + zav_block(b"good2", b"-g2"))
    comments = b"ZAV() {\n" + b"  // a comment\n\n" * 100000 + b"NAME = c\nLOGIC = -c\nINFO = i\n}\n"
    blanks = b"ZAV() {\n" + b" \t" * (MB // 4) + b"\nZAV() {\n" + b"\n" * MB
    # No ";" behind the key lines: each of them would read the rest of the file.
    cfg = config().replace(b"TSHARK_EXE_PATH", b"NOT_A_KEY") + b"TSHARK_EXE_PATH = x\n" * 100000
    files = {"ZAV.cfg": cfg,
             "CMD.zav": HEADER + rejected + comments + b"#include <b.zav>\n",
             "b.zav": HEADER + blanks}
    return Case("long_white_space_and_comments", files, stdin=b"logic good2\nlogic c\n",
                expect=[b"  good2: -g2", b"  c: -c"], timeout=60)


def calls_nested_1000():
    depth = 1000
    # Callers stand before their callees, the order that makes every
    # expansion walk the whole chain.
    text = HEADER
    for level in range(depth):
        text += zav_block(b"c%d" % level, b"-e l%d [CALL(c%d)]" % (level, level + 1))
    text += zav_block(b"c%d" % depth, b"-e bottom")
    # A cycle that does not pass through the command being expanded.
    text += zav_block(b"r0", b"[CALL(r1)]") + zav_block(b"r1", b"[CALL(r2)]")
    text += zav_block(b"r2", b"[CALL(r1)]")
    return Case("calls_nested_1000", {"ZAV.cfg": config(), "CMD.zav": text},
                stdin=b"c0\n", expect=[b"[l0][-e][l1]", b"[bottom]"], factor=40)


def runs_fan_out():
    """Units and history entries that each run the next one ten times: a
    hundred million runs asked for, from a few hundred bytes."""
    text = HEADER
    for level in range(8):
        text += b"MCU(u%d){\n%s};\n" % (level, b"exmcu u%d\n" % (level + 1) * 10)
    # The leaves are built-ins: ten thousand TShark runs would be slow work,
    # not a hang.
    text += b"MCU(u8){\ngetpcap\n};\n"
    history = b"".join(b"exh" + b" %d" % (level + 1) * 10 + b"\n" for level in range(8))
    history += b"getpcap\n"
    return Case("runs_fan_out", {"ZAV.cfg": config(load_history=True), "CMD.zav": text,
                                 ".zav_history": history},
                stdin=b"exmcu u0\nexh 0\n", expect=[b"Current pcap file name is: a.pcap"],
                timeout=60)


def includes_100k():
    count = 100000
    main = HEADER + b"".join(b"#include <inc%d.zav>\n" % i for i in range(count))
    main += b"".join(b"#include <inc%d.zav>\n" % i for i in range(0, count, 100))  # duplicates
    main += zav_block(b"probe", b"-Y probe.loaded")
    files = {"ZAV.cfg": config(), "CMD.zav": main}
    # A few that exist and include each other in a ring.
    for i in range(20):
        files["inc%d.zav" % i] = HEADER + b"#include <inc%d.zav>\n" % ((i + 1) % 20)
    return Case("includes_100k", files, stdin=b"probe\n", expect=[b"[probe.loaded]"],
                timeout=300)


def history_1m_lines():
    count = 1000000
    # The last entry says something different when it runs than when it is listed.
    lines = (b"".join(b"echo entry %d\n" % i for i in range(count - 1)) + b"\n\n"
             + b"echo last-entry-$((6*7))\n")
    return Case("history_1m_lines", {"ZAV.cfg": config(load_commands=False, load_history=True),
                                     ".zav_history": lines},
                stdin=b"exh %d\nhistory\nchistory\nhistory\n" % (count - 1),
                expect=[b"last-entry-42"], factor=2)


def special_files():
    """Names of things that are not regular files: a device that never
    ends, FIFOs that never answer, a directory."""
    text = (HEADER + b"#include </dev/zero>\n#include <fifo.zav>\n#include <adir>\n"
            + zav_block(b"zero", b"-Y [%_LIST</dev/zero>_%]")
            + zav_block(b"fifo", b"-Y [%_LIST<fifo.txt>_%]")
            + zav_block(b"probe", b"-Y probe.loaded"))
    files = {"ZAV.cfg": config(load_history=True), "CMD.zav": text, "adir/x": b""}
    return Case("special_files", files, stdin=b"zero\nfifo\nprobe\n",
                expect=[b"[probe.loaded]"], fifos=["fifo.zav", "fifo.txt", ".zav_history"],
                timeout=60)


CASES = [command_file_10mb, prompt_line_1mb, list_line_1mb, nul_and_invalid_utf8,
         unclosed_constructs_1mb, long_white_space_and_comments, calls_nested_1000, runs_fan_out, includes_100k,
         history_1m_lines,
         special_files]


# --- Running ----------------------------------------------------------------

class Outcome:
    def __init__(self):
        self.status = None
        self.timed_out = False
        self.peak_bytes = 0
        self.seconds = 0.0
        self.stdout = b""
        self.stderr = b""


def measure_and_exec(report_path, zav):
    """The small process that starts zav (run as "--measure"): the parent of
    zav must not be this big test runner, whose memory a child carries until
    its exec and which wait4 would count as zav's peak."""
    pid = os.fork()
    if pid == 0:
        try:
            if not SANITIZED:
                resource.setrlimit(resource.RLIMIT_AS, (ADDRESS_SPACE_CAP, ADDRESS_SPACE_CAP))
            os.execv(zav, [zav])
        finally:
            os._exit(127)
    _, status, usage = os.wait4(pid, 0)
    code = os.waitstatus_to_exitcode(status)
    pathlib.Path(report_path).write_text("%d %d\n" % (usage.ru_maxrss * 1024, code))
    os._exit(code if code >= 0 else 128 - code)


def run_zav(zav, directory, stdin, timeout):
    """Runs zav in `directory` with `stdin`; its output goes through files so
    that megabytes of it cannot fill a pipe."""
    outcome = Outcome()
    with tempfile.TemporaryDirectory(prefix="zav-hostile-io-") as io_dir:
        io = pathlib.Path(io_dir)
        (io / "in").write_bytes(stdin)
        env = dict(os.environ, LC_ALL="C")
        start = time.monotonic()
        with open(io / "in", "rb") as fin, open(io / "out", "wb") as fout, \
                open(io / "err", "wb") as ferr:
            process = subprocess.Popen(
                [sys.executable, __file__, "--measure", str(io / "report"), zav],
                cwd=directory, stdin=fin, stdout=fout, stderr=ferr, env=env,
                start_new_session=True)
            try:
                process.wait(timeout)
            except subprocess.TimeoutExpired:
                outcome.timed_out = True
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        outcome.seconds = time.monotonic() - start
        report = (io / "report").read_text().split() if (io / "report").exists() else []
        if report:
            outcome.peak_bytes, outcome.status = int(report[0]), int(report[1])
        else:
            outcome.status = process.returncode
        outcome.stdout = (io / "out").read_bytes()
        outcome.stderr = (io / "err").read_bytes()
    return outcome


def idle_peak(zav):
    directory = tempfile.mkdtemp(prefix="zav-hostile-")
    try:
        pathlib.Path(directory, "ZAV.cfg").write_bytes(config(load_commands=False))
        return run_zav(zav, directory, b"exit\n", 60).peak_bytes
    finally:
        shutil.rmtree(directory, ignore_errors=True)


def run_case(zav, case, baseline):
    directory = tempfile.mkdtemp(prefix="zav-hostile-")
    try:
        for name, data in case.files.items():
            pathlib.Path(directory, name).parent.mkdir(parents=True, exist_ok=True)
            pathlib.Path(directory, name).write_bytes(data)
        for name in case.fifos:
            os.mkfifo(pathlib.Path(directory, name))
        outcome = run_zav(zav, directory, case.stdin, case.timeout)
    finally:
        shutil.rmtree(directory, ignore_errors=True)
    failures = []
    if outcome.timed_out:
        failures.append("no end within %d s" % case.timeout)
    elif outcome.status != 0:
        failures.append("exit status %d; stderr ends %r" % (outcome.status, outcome.stderr[-2000:]))
    for needle in case.expect:
        if needle not in outcome.stdout:
            failures.append("stdout lacks %r" % needle[:60])
    limit = baseline + MEMORY_SLACK + case.factor * case.input_size()
    if not SANITIZED and outcome.peak_bytes > limit:
        failures.append("peak memory %.1f MB above the bound %.1f MB (%d x %.1f MB input)"
                        % (outcome.peak_bytes / MB, limit / MB, case.factor, case.input_size() / MB))
    memory = "memory not measured" if SANITIZED else "peak %.1f MB" % (outcome.peak_bytes / MB)
    summary = "%s, %.1f s, input %.1f MB, %s" % (case.name, outcome.seconds,
                                                case.input_size() / MB, memory)
    return summary, failures


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--measure":
        measure_and_exec(sys.argv[2], sys.argv[3])
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", required=True, help="the zav binary")
    parser.add_argument("cases", nargs="*", help="names of the cases to run (default: all)")
    args = parser.parse_args()
    zav = str(pathlib.Path(args.zav).resolve())
    chosen = [c for c in CASES if not args.cases or c.__name__ in args.cases]
    if not chosen:
        sys.exit("no such case; cases: " + ", ".join(c.__name__ for c in CASES))
    baseline = idle_peak(zav)
    failed = 0
    for make in chosen:
        summary, failures = run_case(zav, make(), baseline)
        if failures:
            failed += 1
            print("FAIL %s\n  %s" % (summary, "\n  ".join(failures)))
        else:
            print("ok   %s" % summary)
        sys.stdout.flush()
    print("%d passed, %d failed" % (len(chosen) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
