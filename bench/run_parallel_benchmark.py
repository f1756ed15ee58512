#!/usr/bin/env python3
"""Times all-files runs over 8 and 32 captures with zav -j 1 (one after
another) against -j N, with a slow TShark stand-in (sleeps 0.2 s, prints its
arguments) and with the real TShark; time and peak memory of 16 runs that
write 8 MiB each; and the peak memory of starting with a
1,000,000-line history file, for this binary and, given --old-zav, for an
older one in the same run. Not a test: it asserts nothing.

Usage: run_parallel_benchmark.py --zav build/zav [--old-zav old/zav] [--runs 3]
"""
import argparse
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CONFIG = """<ZAV CONFIGURATION FILE>
ZAV_CMD_FILE_PATH = LOCAL;
LOAD_CMD_ZAV_FILE = TRUE;
TSHARK_EXE_PATH = %s;
PCAP_DIR_PATH = caps/;
DEFAULT_PCAP_NAME = *AF*;
HISTORY_DIR_PATH = LOCAL;
LOAD_HISTORY_FILE = %s;
"""
COMMANDS = "<ZAV CONTROL COMMANDS>\nZAV() {\n  NAME = names\n  LOGIC = -T fields -e frame.number -e dns.qry.name\n  INFO = i\n}\n"
# Writes 8 MiB per run: what side-by-side runs hold while they wait.
LOUD_TSHARK = "#!/bin/sh\nhead -c 8388608 /dev/zero | tr '\\0' x\n"
SLOW_TSHARK = "#!/bin/sh\nsleep 0.2\nprintf '[%s]' \"$@\"\nprintf '\\n'\n"
# One DNS query, for text2pcap.
PACKET = """0000  02 42 ac 11 00 01 02 42 ac 11 00 17 08 00 45 00
0010  00 3d 1c 47 40 00 40 11 9b 00 c0 a8 01 17 c0 a8
0020  01 01 cf 09 00 35 00 29 48 6d 1a 2b 01 00 00 01
0030  00 00 00 00 00 00 03 77 77 77 07 65 78 61 6d 70
0040  6c 65 03 63 6f 6d 00 00 01 00 01
"""


def run(zav, directory, arguments, stdin):
    """Wall seconds of one run."""
    start = time.perf_counter()
    subprocess.run([zav] + arguments, cwd=directory, input=stdin,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def peak_bytes(zav, directory, stdin):
    """Peak resident set of one run, from /usr/bin/time: the rusage of a
    child that Python forked counts Python's own pages from before the exec."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M", zav], cwd=directory, input=stdin,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return int(result.stderr.split()[-1]) * 1024


def parallel(zav, directory, tshark, runs):
    (directory / "ZAV.cfg").write_text(CONFIG % (tshark, "FALSE"))
    print("%-12s %8s %10s %10s %10s %10s" % ("TShark", "captures", "-j 1 s", "-j 2 s", "-j 4 s",
                                            "-j 8 s"))
    for count in (8, 32):
        caps = directory / "caps"
        shutil.rmtree(caps, ignore_errors=True)
        caps.mkdir()
        for i in range(count):
            shutil.copy(directory / "one.pcap", caps / ("c%02d.pcap" % i))
        times = [statistics.median(run(zav, directory, ["-j", str(j)], b"names\nexit\n")
                                   for _ in range(runs)) for j in (1, 2, 4, 8)]
        print("%-12s %8d %10.2f %10s %10s %10s" % (
            "real" if tshark == "tshark" else "slow stand-in", count, times[0],
            *("%.2f (%.2fx)" % (t, times[0] / t) for t in times[1:])))


def large_output(binaries, directory):
    """Time and peak memory of 16 runs that write 8 MiB each (128 MiB in
    all) through a pipe: what the shell holds while runs wait for their turn."""
    (directory / "ZAV.cfg").write_text(CONFIG % ("./loud_tshark", "FALSE"))
    caps = directory / "caps"
    shutil.rmtree(caps, ignore_errors=True)
    caps.mkdir()
    for i in range(16):
        shutil.copy(directory / "one.pcap", caps / ("c%02d.pcap" % i))
    print("%-12s %6s %10s %12s" % ("binary", "-j", "seconds", "peak MiB"))
    for label, zav in binaries:
        for j in (1, 4, 16):
            start = time.perf_counter()
            result = subprocess.run(["/usr/bin/time", "-f", "%M", zav, "-j", str(j)], cwd=directory,
                                    input=b"names\nexit\n", stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE)
            seconds = time.perf_counter() - start
            complete = result.stdout.count(b"x") == 16 * 8388608
            print("%-12s %6d %10.2f %12.1f%s" % (label, j, seconds,
                                                int(result.stderr.split()[-1]) / 1024,
                                                "" if complete else "  (output incomplete)"))


def history_memory(binaries, directory):
    (directory / "ZAV.cfg").write_text(CONFIG % ("tshark", "TRUE"))
    lines = b"".join(b"port %d and dns %d\n" % (i % 65536, i) for i in range(1000000))
    for label, zav in binaries:
        (directory / ".zav_history").write_bytes(lines)
        peak = peak_bytes(zav, directory, b"exit\n")
        print("1,000,000-line history (%.1f MB), %s: peak %.1f MB"
              % (len(lines) / 1e6, label, peak / 1e6))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", required=True)
    parser.add_argument("--old-zav")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    zav = str(pathlib.Path(args.zav).resolve())
    directory = pathlib.Path(tempfile.mkdtemp(prefix="zav-bench-"))
    try:
        (directory / "CMD.zav").write_text(COMMANDS)
        (directory / "one.hex").write_text(PACKET)
        subprocess.run(["text2pcap", "-q", "one.hex", "one.pcap"], cwd=directory, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        (directory / "loud_tshark").write_text(LOUD_TSHARK)
        (directory / "loud_tshark").chmod(0o755)
        (directory / "slow_tshark").write_text(SLOW_TSHARK)
        (directory / "slow_tshark").chmod(0o755)
        for tshark in ("./slow_tshark", "tshark"):
            parallel(zav, directory, tshark, args.runs)
        binaries = [("this binary", zav)]
        if args.old_zav:
            binaries.append(("old binary", str(pathlib.Path(args.old_zav).resolve())))
        large_output(binaries, directory)
        history_memory(binaries, directory)
    finally:
        shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
