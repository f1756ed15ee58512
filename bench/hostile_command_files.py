#!/usr/bin/env python3
"""Large and hostile command files for the load benchmark
(run_load_benchmark.py --hostile): whether loading stays linear shows in
their times, since a quadratic walk turns the larger ones into minutes."""
import random

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

