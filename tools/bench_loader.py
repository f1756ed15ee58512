#!/usr/bin/env python3
"""Times how long the built zav takes to start with large and hostile
command files, one fresh directory per case. Nothing is asserted: the
numbers show whether loading stays linear (a quadratic walk turns the
larger cases into minutes).

Usage: tools/bench_loader.py [--zav build/zav]
"""
import argparse
import os
import pathlib
import random
import subprocess
import sys
import tempfile
import time

CONFIG = """<ZAV CONFIGURATION FILE>
ZAV_CMD_FILE_PATH = LOCAL;
LOAD_CMD_ZAV_FILE = TRUE;
TSHARK_EXE_PATH = tshark;
PCAP_DIR_PATH = ./;
DEFAULT_PCAP_NAME = a.pcap;
HISTORY_DIR_PATH = LOCAL;
LOAD_HISTORY_FILE = FALSE;
"""
HEADER = b"<ZAV CONTROL COMMANDS>\n"


def ten_megabytes():
    parts, n = [HEADER], 0
    size = 0
    while size < 10 << 20:
        part = (
            "L.f{n} = -Y frame.number=={n}\n"
            "ZAV() {{\n  // block {n}\n  NAME = z{n}\n  LOGIC = [INSERT(f{n})] [CALL(w{n})]\n"
            "  INFO = command {n}\n  TAG = t|u\n}}\n"
            "WIN() -> hide {{\n  NAME = w{n}\n  LOGIC = echo {n}\n  INFO = i\n}}\n"
            "MCU(m{n}) {{\n  z{n}\n}};\n").format(n=n).encode()
        parts.append(part)
        size += len(part)
        n += 1
    return b"".join(parts)


def long_lines():
    big = b"b" * (1 << 20)
    return (HEADER + b"L.big = " + big + b"\nZAV() {\nNAME = a\nLOGIC = " + big +
            b"[INSERT(big)]\nINFO = " + big + b"\n}\n")


def unclosed_unit():
    return HEADER + b"MCU(x){\n" + b"a" * (1 << 20) + b"\n"


def many_unclosed_units():
    return HEADER + b"MCU(y){\n" * (1 << 17) + b"}\nMCU(z){ok};\n"


def block_exhausting_the_engine():
    return HEADER + b"ZAV() {\n" + b"L.x = y\n" * 400000 + b"NAME = a\nLOGIC = x\nINFO = i\n}\n"


def garbage():
    generator = random.Random(1)
    return bytes(generator.getrandbits(8) for _ in range(4 << 20))


def deep_calls():
    lines = [HEADER]
    for i in range(1000):
        lines.append(b"ZAV() {\nNAME = A%d\nLOGIC = [[CALL(A%d)]\nINFO = i\n}\n" % (i, i + 1))
    lines.append(b"ZAV() {\nNAME = A1000\nLOGIC = end\nINFO = i\n}\n")
    return b"".join(lines)


def endless_completion():
    return (HEADER + b"ZAV() {\nNAME = b\nLOGIC = [CALL(\nINFO = i\n}\n"
            b"WIN() {\nNAME = a\nLOGIC = [CALL(x[CALL(c)]\nINFO = i\n}\n"
            b"WIN() {\nNAME = c\nLOGIC = [CALL(b)]c)]\nINFO = i\n}\n")


CASES = [
    ("10 MB of ordinary definitions", ten_megabytes),
    ("1 MB fragment, logic and info lines", long_lines),
    ("MCU(x){ unclosed before 1 MB", unclosed_unit),
    ("1 MB of unclosed MCU headers", many_unclosed_units),
    ("400000 fragment lines in one block", block_exhausting_the_engine),
    ("4 MB of random bytes", garbage),
    ("call chain 1000 deep", deep_calls),
    ("pasting completes a marker without end", endless_completion),
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", default="build/zav")
    args = parser.parse_args()
    zav = str(pathlib.Path(args.zav).resolve())
    for title, make in CASES:
        with tempfile.TemporaryDirectory(prefix="zav-bench-") as directory:
            pathlib.Path(directory, "ZAV.cfg").write_text(CONFIG)
            data = make()
            pathlib.Path(directory, "CMD.zav").write_bytes(data)
            start = time.monotonic()
            result = subprocess.run([zav], cwd=directory, input=b"exit\n", capture_output=True,
                                    env=dict(os.environ, LC_ALL="C"), timeout=600)
            seconds = time.monotonic() - start
            messages = result.stdout.count(b"\n+ ")
            print("%-42s %7.1f MB %7.2f s  %d messages" %
                  (title, len(data) / 1e6, seconds, messages))
    return 0


if __name__ == "__main__":
    sys.exit(main())
