#!/usr/bin/env python3
# Hostile input, end to end: each case generates its huge, malformed or
# self-referencing inputs in a fresh directory, runs zav on them and checks
# that it ends normally within its time, still answers a line typed after
# the hostile part, shows what the case expects, and keeps its peak memory
# within a multiple of the input (not under AddressSanitizer, whose shadow
# memory makes the figure meaningless).
#
# Usage: run_hostile.py --zav build/zav [case-name ...]
import argparse, os, pathlib, random, resource, shutil, signal, subprocess, sys, tempfile  # noqa: E401

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(ROOT / "bench"))
from generate_command_file import generate  # noqa: E402

MB = 1 << 20
ALIVE = b"shell-still-answers"
HEADER = b"<ZAV CONTROL COMMANDS>\n"
JUNK = b"\x00\xff\xfe\xc3\x28\xe2\x82\x00\xed\xa0\x80\xf4\x90\x80\x80\x1b[31m\r\x0b\x0c"
SANITIZED = "ASAN_OPTIONS" in os.environ
# zav starts from a small Python of its own: a child's wait4 peak also counts
# what its parent held before the exec, here megabytes of generated input.
MEASURE = ("import os, sys\npid = os.fork()\nif pid == 0: os.execv(sys.argv[1], sys.argv[1:2])\n"
           "_, status, usage = os.wait4(pid, 0)\nopen(sys.argv[2], 'w').write(str(usage.ru_maxrss))\n"
           "sys.exit(os.waitstatus_to_exitcode(status) & 255)")


def config(commands=True, history=False):
    return (b"<ZAV CONFIGURATION FILE>\nZAV_CMD_FILE_PATH = LOCAL;\nLOAD_CMD_ZAV_FILE = %s;\nTSHARK_EXE_PATH = %s;\n"
            b"PCAP_DIR_PATH = ./;\nDEFAULT_PCAP_NAME = a.pcap;\nHISTORY_DIR_PATH = LOCAL;\nLOAD_HISTORY_FILE = %s;\n"
            % (b"TRUE" if commands else b"FALSE", bytes(ROOT / "tests/e2e/fake_tshark.sh"), b"TRUE" if history else b"FALSE"))


def block(name, logic, kind=b"ZAV", extra=b""):
    return b"%s() {\n  NAME = %s\n  LOGIC = %s\n  INFO = i\n%s}\n" % (kind, name, logic, extra)


PROBE = block(b"probe", b"-Y probe.loaded")
GRAMMAR = b"ZAV() {\n|NAME = a\n|LOGIC = [CALL(a)]\n|}\n|MCU(m){|};|L.f = [INSERT(f)]\n|#include <x>\n".split(b"|")
# Each case: files, typed lines, expected output; optional factor (peak memory
# above the idle shell, per byte of input), timeout in seconds, FIFOs to make.
CASES = {
    "command_file_10mb": lambda: dict(files={"CMD.zav": generate(66000).encode() + PROBE}, stdin=b"probe\ncmd0 7\n",
                                      expect=[b"[probe.loaded]"]),
    # 350,000 surplus words; one word too long for the command processor (reported); 200,000 command
    # words; "exh" first, so entry 0 is itself: 500,000 runs of itself, each word a string.
    "prompt_line_1mb": lambda: dict(files={"CMD.zav": HEADER + block(b"port", b"-Y tcp.port==[%_ARG_%]")},
                                    stdin=b"\n".join([b"exh" + b" 0" * (MB // 2), b"port " + b"80 " * (MB // 3),
                                                      b"nosuchcommand" + b"x" * MB, b"port " * (MB // 5), b"port 443\n"]),
                                    expect=[b"[tcp.port==443]", b"+ The command line is %d bytes long" % (13 + MB)],
                                    factor=24),
    # One-megabyte LIST items, headings, an unclosed PRINT, a LIST file name and block fields.
    "list_line_1mb": lambda: dict(files={"CMD.zav": HEADER + b"L.big = " + b"b" * MB + b"\n"
                                         + block(b"each", b"-Y [%_LIST<items.txt>_%]")
                                         + block(b"longname", b"[%_LIST<" + b"n" * MB + b">_%]")
                                         + block(b"big", b"b" * MB + b"[INSERT(big)]", extra=b"TAG = " + b"t" * MB + b"|x\n")
                                         + b"MCU(u){\n" + b"u" * MB + b"\n};\n",
                                         "items.txt": b"v" * MB + b"\n[%_PRINT<" + b"P" * MB + b">_%]tail\n[%_PRINT<"
                                         + b"%" * MB + b"\n" + b" " * MB + b"\nshort\n"},
                                  stdin=b"each\nlongname\nlogic big\n", expect=[b"P" * MB, b"[short]", b"b" * 2 * MB]),
    "nul_and_invalid_utf8": lambda: dict(
        files={"ZAV.cfg": JUNK + config(history=True) + JUNK + b"\nTSHARK_EXE_PATH = " + JUNK + b";\n",
               "CMD.zav": JUNK + HEADER + JUNK + b"L.bad" + JUNK + b" = x\nL.frag = -Y " + JUNK + b"\nL.nf = a\0b\n"
               + block(b"z", b"-e " + JUNK + b" [INSERT(frag)] [%_ARG_%]") + block(b"nul", b"x\0[INSERT(nf)]")
               + block(b"na\0me", b"x") + block(b"w", b"echo " + JUNK[1:8] + b" [CALL(z)] [%_LIST<li\0st>_%]", b"WIN")
               + b"#include <inc\0.zav>\n#include <\xff\xfe.zav>\nMCU(m){\n z \0\n\xff\n};\n"
               + b"Prefix.ZAV = {*} -> [L.frag]\nSuffix.ZAV = {z, \0} -> [L.frag]\nPrefix.WIN = {!w, !\xff}\n" + JUNK,
               "li": JUNK + b"\n[%_PRINT<" + JUNK.replace(b"%", b"") + b">_%]" + JUNK + b"\n",
               ".zav_history": b"\n".join([JUNK, b"exh 0", b"\0", JUNK * 3]) + b"\n"},
        stdin=b"\n".join([JUNK, b"z " + JUNK, b"w", b"x\0y", b"\xff\xfe", b"exh 0 1 2 3", b"setpcap " + JUNK,
                          b"info " + JUNK, b"logic z", b"ulogic z", JUNK, b"exmcu m", b"gic pre.zav.g", b"history",
                          b"getallcmds", b"auxl", b"z 1", b"logic nul\n"]), expect=[b"x\0a\0b\n"]),
    # Openings that never close: a search from each must not scan the rest of the file again,
    # and what follows them still counts.
    "unclosed_constructs_1mb": lambda: dict(files={
        "CMD.zav": HEADER + b"MCU(x){\n" + b"    a1 -x\n" * (MB // 10) + b"#include <b.zav>\n#include <c.zav>\n",
        "b.zav": HEADER + b"MCU(y){\n" * (MB // 8) + b"}\nMCU(z){\nprobe\n};\n" + PROBE + b"ZAV() {\n" * (MB // 8),
        "c.zav": HEADER + b"ZAV() {\n" + b"  L.a = x\n\n" * (MB // 11) + b"\n" * MB + b"Prefix.ZAV = {" + b"a," * (MB // 2)},
        stdin=b"exmcu x\nexmcu z\n", expect=[b"[probe.loaded]"]),
    # White space, comments and Auxiliary Logic lines that make a backtracking search of the block,
    # fragment and ZAV.cfg patterns exponential, quadratic or deep; key lines without ";".
    "long_white_space_and_comments": lambda: dict(files={
        "ZAV.cfg": config().replace(b"TSHARK_EXE_PATH", b"NOT_A_KEY") + b"TSHARK_EXE_PATH = x\n" * 100000,
        "CMD.zav": HEADER + b"ZAV() {\nNAME = bad\n" + b"\n// step\n" * 20 + b"LOGIC = -b\n}\n" + block(b"good2", b"-g2")
        + b"ZAV() {\n" + b"  // a comment\n\n" * 100000 + b"NAME = c\nLOGIC = -c\nINFO = i\n}\n"
        + b"ZAV() {\n" + b"L.x0 = y\n" * 400000 + b"NAME = a4\nLOGIC = -a4\nINFO = i\n}\n#include <b.zav>\n"
        # Headers nested in fragment values, every one failing behind the same long INFO line.
        + b"ZAV() {\n" + b"L.x =\nZAV() {\n" * 100000 + b"NAME = n\nLOGIC = -n\nINFO = " + b"i" * MB + b"\n",
        "b.zav": HEADER + b"ZAV() {\n" + b" \t" * (MB // 4) + b"\nZAV() {\n" + b"\n" * MB},
        stdin=b"logic good2\nlogic c\nlogic a4\n", expect=[b"  good2: -g2", b"  c: -c", b"  a4: -a4"], timeout=60),
    # Callers before their callees, the order that makes every expansion walk the whole chain,
    # and a cycle that does not pass through the command being expanded.
    "calls_nested_1000": lambda: dict(files={"CMD.zav": HEADER + b"".join(
        block(b"c%d" % i, b"-e l%d [CALL(c%d)]" % (i, i + 1)) for i in range(1000)) + block(b"c1000", b"-e bottom")
        + block(b"r0", b"[CALL(r1)]") + block(b"r1", b"[CALL(r2)]") + block(b"r2", b"[CALL(r1)]")},
        stdin=b"c0\n", expect=[b"[l0][-e][l1]", b"[bottom]"], factor=40),
    # Units and history entries that each run the next ten times: 10^8 runs from a few hundred bytes.
    "runs_fan_out": lambda: dict(files={
        "ZAV.cfg": config(history=True), ".zav_history": b"".join(b"exh" + b" %d" % (i + 1) * 10 + b"\n" for i in range(8))
        + b"getpcap\n", "CMD.zav": HEADER + b"".join(b"MCU(u%d){\n%s};\n" % (i, b"exmcu u%d\n" % (i + 1) * 10)
                                                      for i in range(8)) + b"MCU(u8){\ngetpcap\n};\n"},
        stdin=b"exmcu u0\nexh 0\n", expect=[b"Current pcap file name is: a.pcap"], timeout=60),
    # 100,000 includes (the first thousand twice), twenty of which exist and include each other in a ring.
    "includes_100k": lambda: dict(files=dict({"CMD.zav": HEADER + b"".join(
        b"#include <inc%d.zav>\n" % (i % 100000) for i in range(0, 101000)) + PROBE},
        **{"inc%d.zav" % i: HEADER + b"#include <inc%d.zav>\n" % ((i + 1) % 20) for i in range(20)}),
        stdin=b"probe\n", expect=[b"[probe.loaded]"], timeout=300),
    # The last entry says something different when it runs than when it is listed.
    "history_1m_lines": lambda: dict(files={"ZAV.cfg": config(commands=False, history=True), ".zav_history": b"".join(
        b"echo entry %d\n" % i for i in range(999999)) + b"\n\necho last-entry-$((6*7))\n"},
        stdin=b"exh 999999\nhistory\nchistory\nhistory\n", expect=[b"last-entry-42"], factor=2),
    # Things that are not regular files: a device that never ends, FIFOs that never answer, a directory.
    "special_files": lambda: dict(files={"ZAV.cfg": config(history=True), "adir/x": b"", "CMD.zav": HEADER
                                         + b"#include </dev/zero>\n#include <fifo.zav>\n#include <adir>\n" + PROBE
                                         + block(b"zero", b"-Y [%_LIST</dev/zero>_%]") + block(b"fifo", b"-Y [%_LIST<fifo.txt>_%]")},
                                  stdin=b"zero\nfifo\nprobe\n", expect=[b"[probe.loaded]"],
                                  fifos=["fifo.zav", "fifo.txt", ".zav_history"], timeout=60),
    # Random bytes with the grammar's tokens strewn in.
    "binary_garbage_4mb": lambda rng=random.Random(1): dict(files={"CMD.zav": b"".join(
        rng.randbytes(224) + rng.choice(GRAMMAR).ljust(32, b"\n") for _ in range(16384))}),
}


# Runs a case: exit status (None on a hang), peak memory, input size, stdout, stderr.
def run(zav, case):
    files, directory = dict({"ZAV.cfg": config()}, **case["files"]), tempfile.mkdtemp(prefix="zav-hostile-")
    stdin, peak, cap = case.get("stdin", b"") + b"echo " + ALIVE + b"\nexit\n", pathlib.Path(directory + ".peak"), 4 << 30
    try:
        for name, data in files.items():
            pathlib.Path(directory, name).parent.mkdir(parents=True, exist_ok=True)
            pathlib.Path(directory, name).write_bytes(data)
        for name in case.get("fifos", []):
            os.mkfifo(pathlib.Path(directory, name))
        with tempfile.TemporaryFile() as fin, tempfile.TemporaryFile() as fout, tempfile.TemporaryFile() as ferr:
            fin.write(stdin)
            fin.seek(0)
            # The address space cap makes a runaway allocation fail the case instead of the machine.
            process = subprocess.Popen([sys.executable, "-c", MEASURE, zav, str(peak)], cwd=directory, stdin=fin,
                                       stdout=fout, stderr=ferr, env=dict(os.environ, LC_ALL="C"), start_new_session=True,
                                       preexec_fn=None if SANITIZED else lambda: resource.setrlimit(resource.RLIMIT_AS, (cap, cap)))
            try:
                status = process.wait(case.get("timeout", 120))
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                status = process.wait() and None  # reaped; a hang has no status
            size = int(peak.read_text()) * 1024 if peak.exists() else 0
            return status, size, sum(map(len, files.values())) + len(stdin), *(f.seek(0) or f.read() for f in (fout, ferr))
    finally:
        shutil.rmtree(directory, ignore_errors=True)
        peak.unlink(missing_ok=True)


def main():
    parser = argparse.ArgumentParser(description="Hostile input, end to end.")
    parser.add_argument("--zav", required=True, help="the zav binary")
    parser.add_argument("cases", nargs="*", help="names of the cases to run (default: all): " + ", ".join(CASES))
    args = parser.parse_args()
    if set(args.cases) - set(CASES):
        parser.error("no such case; cases: " + ", ".join(CASES))
    zav, chosen, failed = str(pathlib.Path(args.zav).resolve()), args.cases or list(CASES), 0
    baseline = run(zav, {"files": {"ZAV.cfg": config(commands=False)}})[1]
    for name in chosen:
        status, peak, size, out, err = run(zav, case := CASES[name]())
        limit = baseline + 16 * MB + case.get("factor", 8) * size  # 16 MB: arenas, the pattern engine's stacks
        failures = ["no end within %d s" % case.get("timeout", 120)] if status is None else \
            ["exit status %d; stderr ends %r" % (status, err[-2000:])] if status else []
        failures += ["stdout lacks %r" % needle[:60] for needle in case.get("expect", []) + [ALIVE] if needle not in out]
        failures += ["peak memory %.1f MB above %.1f MB" % (peak / MB, limit / MB)] if peak > limit and not SANITIZED else []
        print("%s %s, input %.1f MB, peak %.1f MB%s" % ("FAIL" if failures else "ok  ", name, size / MB, peak / MB,
                                                         "".join("\n  " + failure for failure in failures)), flush=True)
        failed += bool(failures)
    print("%d passed, %d failed" % (len(chosen) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
