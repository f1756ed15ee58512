#!/usr/bin/env python3
"""Measures how long and how much memory the zav binary takes to load
generated command files of 10,000 and 100,000 commands in several shapes
(see generate_command_file.py), optionally side by side with a reference
binary (an older revision) in the same run.

Each run starts zav in a directory holding the configuration and the
command file and types "exit". The load time is the median of those runs
less the median of runs with the command file switched off (start-up and
exit alone), both as wall time and as CPU time (user + system, which a
machine busy with other work disturbs less), and the best CPU time (the
least disturbed run, less the best run without a file); the memory is the
peak resident set, less that of the runs without a file. Sizes are in MiB
(2^20 bytes), file and memory alike. With --reference-zav the two binaries
take turns run by run, and each figure is followed by its ratio new /
reference. Each shape ends with the growth of the CPU time from the
smallest count to the largest. With --hostile it times the large and
hostile files of hostile_command_files.py instead. Not a test: it asserts
nothing.

Every round of runs goes once through the binaries, the run without a file
and each count of one shape, so that a change in the machine's load falls
on all of them alike. --instructions adds callgrind's instruction count of
one run each (less the run without a file), which that load does not
disturb.

Usage: run_load_benchmark.py --zav build/zav [--reference-zav OLD] [--runs 7]
                             [--counts 10000 100000]
                             [--shapes generated comments10 comments20 plain]
                             [--instructions] [--hostile]
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
from generate_command_file import generate_shape  # noqa: E402
from hostile_command_files import CASES  # noqa: E402

CONFIG = """<ZAV CONFIGURATION FILE>
ZAV_CMD_FILE_PATH = LOCAL;
LOAD_CMD_ZAV_FILE = %s;
TSHARK_EXE_PATH = tshark;
PCAP_DIR_PATH = ./;
DEFAULT_PCAP_NAME = a.pcap;
HISTORY_DIR_PATH = LOCAL;
LOAD_HISTORY_FILE = FALSE;
"""


MIB = float(1 << 20)


def peak_resident_mib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0.0


def run_once(zav, directory="."):
    """(wall s, CPU s, peak resident MiB, messages) of one start and "exit" in
    `directory`. The peak is read from /proc at the first prompt,
    when the load is over: the peak that wait4 reports would include the
    interpreter that started the child. The child is reaped with a blocking
    wait4, which gives its CPU time: polling for its end would add tens of
    milliseconds."""
    start = time.perf_counter()
    child = subprocess.Popen([zav], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, env=dict(os.environ, LC_ALL="C"),
                             cwd=directory)
    output = b""
    while not output.endswith(b"ZAV> "):
        block = os.read(child.stdout.fileno(), 1 << 16)
        if not block:
            break
        output += block
    peak = peak_resident_mib(child.pid)
    child.stdin.write(b"exit\n")
    child.stdin.close()
    output += child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit("%s ended with status %d" % (zav, child.returncode))
    return wall, usage.ru_utime + usage.ru_stime, peak, output.count(b"\n+ ")


def measure(zavs, directories, runs):
    """Per directory and binary: median wall s, median CPU s, median peak MiB
    and best CPU s. Every round runs each binary once in each directory, so
    a change in the machine's load touches all figures alike."""
    samples = {(d, zav): [] for d in directories for zav in zavs}
    for _ in range(runs):
        for d in directories:
            for zav in zavs:
                samples[(d, zav)].append(run_once(zav, d))
    return {key: tuple(statistics.median(s[i] for s in runs_) for i in range(3))
            + (min(s[1] for s in runs_),) for key, runs_ in samples.items()}


def instructions(zav, directory):
    """Instructions of one start and "exit", counted by callgrind."""
    out = pathlib.Path(directory) / "callgrind.out"
    subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=%s" % out, zav],
                   input=b"exit\n", cwd=directory, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    for line in out.read_text().splitlines():
        if line.startswith(("summary:", "totals:")):
            out.unlink()
            return int(line.split()[1])
    sys.exit("callgrind wrote no total for %s" % zav)


def ratio(new, old):
    return " (%.2fx)" % (new / old) if old > 0 else ""


def generated_files(zavs, directory, args):
    idle = directory / "idle"
    idle.mkdir()
    (idle / "ZAV.cfg").write_text(CONFIG % "FALSE")
    print("%-10s %-9s %8s %8s %16s %16s %16s %26s%s" % (
        "shape", "binary", "commands", "file MiB", "load wall ms", "load CPU ms", "best CPU ms",
        "peak MiB above idle", " %22s" % "instructions (M)" if args.instructions else ""))
    for shape in args.shapes:
        sizes, places = {}, {}
        for count in args.counts:
            place = directory / ("%s-%d" % (shape, count))
            place.mkdir()
            (place / "ZAV.cfg").write_text(CONFIG % "TRUE")
            text = generate_shape(shape, count)
            (place / "CMD.zav").write_text(text)
            sizes[count], places[count] = len(text), place
        figures = measure(zavs, [idle] + list(places.values()), args.runs)
        counted = {}
        if args.instructions:
            for d in [idle] + list(places.values()):
                for zav in zavs:
                    counted[(d, zav)] = instructions(zav, d)
        cpu = {zav: {} for zav in zavs}
        for count in args.counts:
            load = {zav: tuple(figures[(places[count], zav)][i] - figures[(idle, zav)][i]
                               for i in range(4)) for zav in zavs}
            work = {zav: counted[(places[count], zav)] - counted[(idle, zav)]
                    for zav in zavs} if counted else {}
            for zav in zavs:
                new, old = load[zav], load[zavs[-1]]
                cpu[zav][count] = new[1], new[3]
                compare = len(zavs) > 1 and zav != zavs[-1]
                print("%-10s %-9s %8d %8.1f %16s %16s %16s %26s%s" % (
                    shape, "new" if zav == zavs[0] else "reference", count, sizes[count] / MIB,
                    "%.1f%s" % (new[0] * 1000, ratio(new[0], old[0]) if compare else ""),
                    "%.1f%s" % (new[1] * 1000, ratio(new[1], old[1]) if compare else ""),
                    "%.1f%s" % (new[3] * 1000, ratio(new[3], old[3]) if compare else ""),
                    "%.1f = %.2fx file%s" % (new[2], new[2] * MIB / sizes[count],
                                             ratio(new[2], old[2]) if compare else ""),
                    " %22s" % ("%.1f%s" % (work[zav] / 1e6, ratio(work[zav], work[zavs[-1]])
                                           if compare else "")) if work else ""))
        low, high = min(args.counts), max(args.counts)
        if low != high:
            for zav in zavs:
                print("%-10s %-9s CPU of %d commands / CPU of %d: %.2fx median, %.2fx best" % (
                    shape, "new" if zav == zavs[0] else "reference", high, low,
                    cpu[zav][high][0] / cpu[zav][low][0], cpu[zav][high][1] / cpu[zav][low][1]))
        for place in places.values():
            shutil.rmtree(place)
        sys.stdout.flush()


def hostile_files(zavs, directory):
    (directory / "ZAV.cfg").write_text(CONFIG % "TRUE")
    for title, make in CASES:
        data = make()
        (directory / "CMD.zav").write_bytes(data)
        for zav in zavs:
            wall, cpu, peak, messages = run_once(zav)
            print("%-42s %-9s %6.1f MiB %7.2f s wall %7.2f s CPU %7.1f MiB peak  %d messages" % (
                title, "new" if zav == zavs[0] else "reference", len(data) / MIB, wall, cpu,
                peak, messages))
        sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", required=True)
    parser.add_argument("--reference-zav", help="an older build to measure side by side")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--counts", type=int, nargs="+", default=[10000, 100000])
    parser.add_argument("--shapes", nargs="+",
                        default=["generated", "comments10", "comments20", "plain"],
                        help="file shapes (generate_command_file.py): generated, plain, commentsN")
    parser.add_argument("--instructions", action="store_true",
                        help="also count instructions with callgrind (one run each, slow)")
    parser.add_argument("--hostile", action="store_true",
                        help="time the large and hostile files instead")
    args = parser.parse_args()
    zavs = [str(pathlib.Path(args.zav).resolve())]
    if args.reference_zav:
        zavs.append(str(pathlib.Path(args.reference_zav).resolve()))
    directory = pathlib.Path(tempfile.mkdtemp(prefix="zav-bench-"))
    os.chdir(directory)
    try:
        if args.hostile:
            hostile_files(zavs, directory)
        else:
            generated_files(zavs, directory, args)
    finally:
        shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    main()
