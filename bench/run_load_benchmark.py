#!/usr/bin/env python3
"""Times how long the zav binary takes to load generated command files of
1,000, 10,000 and 100,000 commands (see generate_command_file.py).

Each run starts zav in a directory holding the configuration and the
command file and types "exit"; the load time is the median of those runs
less the median of runs with the command file switched off (start-up and
exit alone), both as wall time and as CPU time (user + system, which a
machine busy with other work disturbs less). Not a test: it asserts nothing.

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
    """(wall seconds, CPU seconds) of each run. The child is reaped with a
    blocking wait4, which also gives its own CPU time: Popen.wait with a
    timeout polls at growing intervals and would add tens of milliseconds."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        child = subprocess.Popen([zav], cwd=directory, stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        child.stdin.write(b"exit\n")
        child.stdin.close()
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            sys.exit("zav ended with status %d" % child.returncode)
        times.append((wall, usage.ru_utime + usage.ru_stime))
    return times


def medians(times):
    return (statistics.median(t[0] for t in times), statistics.median(t[1] for t in times))


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
        idle_wall, idle_cpu = medians(time_runs(zav, directory, args.runs))
        print("start-up and exit alone: %.1f ms wall, %.1f ms CPU (median of %d)"
              % (idle_wall * 1000, idle_cpu * 1000, args.runs))
        (directory / "ZAV.cfg").write_text(CONFIG % "TRUE")
        print("%9s %8s %13s %13s %13s" % ("commands", "file MB", "load wall ms", "load CPU ms",
                                          "best wall ms"))
        for count in args.counts:
            text = generate(count)
            (directory / "CMD.zav").write_text(text)
            times = time_runs(zav, directory, args.runs)
            wall, cpu = medians(times)
            best = min(t[0] for t in times)
            print("%9d %8.1f %13.1f %13.1f %13.1f" % (
                count, len(text) / 1e6, (wall - idle_wall) * 1000, (cpu - idle_cpu) * 1000,
                (best - idle_wall) * 1000))
            sys.stdout.flush()
    finally:
        shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    main()
