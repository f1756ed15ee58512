#!/usr/bin/env python3
"""Times how long the zav binary takes to load generated command files of
1,000, 10,000 and 100,000 commands (see generate_command_file.py).

Each run starts zav in a directory holding the configuration and the
command file and types "exit"; the load time is the median wall time of
those runs less the median of runs with the command file switched off
(start-up and exit alone). Not a test: it asserts nothing.

Usage: run_load_benchmark.py --zav build/zav [--runs 7] [--counts 1000 10000 100000]
"""
import argparse
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from generate_command_file import generate  # noqa: E402

CONFIG = """<ZAV CONFIGURATION FILE>
ZAV_CMD_FILE_PATH = LOCAL;
LOAD_CMD_ZAV_FILE = %s;
TSHARK_EXE_PATH = tshark;
PCAP_DIR_PATH = ./;
DEFAULT_PCAP_NAME = a.pcap;
HISTORY_DIR_PATH = LOCAL;
LOAD_HISTORY_FILE = FALSE;
"""


def time_runs(zav, directory, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([zav], cwd=directory, input=b"exit\n", stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True, timeout=600)
        times.append(time.perf_counter() - start)
    return times


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--counts", type=int, nargs="+", default=[1000, 10000, 100000])
    args = parser.parse_args()
    zav = str(pathlib.Path(args.zav).resolve())
    directory = pathlib.Path(tempfile.mkdtemp(prefix="zav-bench-"))
    try:
        (directory / "ZAV.cfg").write_text(CONFIG % "FALSE")
        idle = statistics.median(time_runs(zav, directory, args.runs))
        print("start-up and exit alone: %.1f ms" % (idle * 1000))
        (directory / "ZAV.cfg").write_text(CONFIG % "TRUE")
        print("%9s %10s %12s %12s %12s" % ("commands", "file MB", "load ms", "min ms", "max ms"))
        for count in args.counts:
            text = generate(count)
            (directory / "CMD.zav").write_text(text)
            times = time_runs(zav, directory, args.runs)
            load = statistics.median(times) - idle
            print("%9d %10.1f %12.1f %12.1f %12.1f" % (
                count, len(text) / 1e6, load * 1000, (min(times) - idle) * 1000,
                (max(times) - idle) * 1000))
            sys.stdout.flush()
    finally:
        shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    main()
