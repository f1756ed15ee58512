#!/usr/bin/env python3
# Walks the example command library through the real zav and the real TShark.
#
# The example workspace (examples/) is copied to a fresh directory, its sample
# captures are made there from their hex dumps, and one zav types every
# command the library defines (hidden ones too) against sample.pcap, every
# Multi Command Unit, and a command over every capture (all-files mode). The
# library must load without a "+ " message, no run may write on standard error
# (TShark's warning about running as root aside), and zav must leave with 0.
# A command that takes arguments needs sample words in ARGUMENTS, or TShark
# refuses the marker left in its filter.
import argparse, os, pathlib, re, shutil, subprocess, sys, tempfile

# Sample words for the commands that take arguments, chosen to match packets
# of sample.pcap.
ARGUMENTS = {"first": "5", "detail": "31", "hex": "31", "host": "203.0.113.10",
             "host_conv": "192.168.1.23", "port": "443", "udp_port": "53", "between": "3 3.5",
             "filter": "tcp.len>100", "tcp_stream": "0", "follow_tcp": "0", "follow_udp": "2",
             "dns_find": "nosuch", "capinfo": "sample.pcap"}
ROOT_WARNING = re.compile(r'^Running as user "root" and group "root"\. This could be dangerous\.\n', re.M)


def prepare_workspace(root, directory, tshark="tshark"):
    for path in (root / "examples").iterdir():
        if path.is_file() and path.name != ".zav_history":
            shutil.copy(path, directory / path.name)
    config = directory / "ZAV.cfg"
    config.write_text(re.sub(r"TSHARK_EXE_PATH = [^;]*;", "TSHARK_EXE_PATH = %s;" % tshark, config.read_text()))
    subprocess.run([str(root / "tools" / "make_sample_captures.sh"), str(directory / "captures")], check=True)


def run_zav(zav, workspace, lines):
    # zav's standard output, and what it wrote on standard error beside the root warning.
    result = subprocess.run([zav], cwd=workspace, input="".join(l + "\n" for l in lines), text=True,
                            capture_output=True, env=dict(os.environ, LC_ALL="C"), errors="surrogateescape",
                            timeout=900)
    stderr = ROOT_WARNING.sub("", result.stderr)
    return result.stdout, stderr + ("zav ended with status %d\n" % result.returncode if result.returncode else "")


def main():
    parser = argparse.ArgumentParser(description="Walks the example command library through zav and TShark")
    parser.add_argument("--zav", required=True)
    parser.add_argument("--tshark", default=shutil.which("tshark"))
    parser.add_argument("--root", default=str(pathlib.Path(__file__).resolve().parents[2]))
    parser.add_argument("--keep", action="store_true", help="keep the workspace copy")
    args = parser.parse_args()
    root, workspace = pathlib.Path(args.root), pathlib.Path(tempfile.mkdtemp(prefix="zav-examples-"))
    try:
        prepare_workspace(root, workspace, args.tshark)
        definitions = "".join(p.read_text() for p in sorted(workspace.glob("*.zav")))
        names = re.findall(r"^\s*NAME\s*=\s*(\w+)", definitions, re.M)
        units = re.findall(r"^\s*MCU\(\s*(\w+)\s*\)", definitions, re.M)
        lines = ["setpcap sample.pcap"] + [(n + " " + ARGUMENTS.get(n, "")).strip() for n in names]
        lines += [line for unit in units for line in ("exmcu " + unit, "setpcap sample.pcap")]
        stdout, stderr = run_zav(str(pathlib.Path(args.zav).resolve()), workspace,
                                 lines + ["setpcap *AF*", "phs", "exit"])
        failures = [l for l in stdout.splitlines() if l.startswith("+ ")] + stderr.splitlines()
        if len(names) < 30 or not units or stdout.count("[ Working with file: ") < 2:
            failures.append("%d commands, %d units, all-files mode:\n%s" % (len(names), len(units), stdout))
    finally:
        print("kept", workspace) if args.keep else shutil.rmtree(workspace, ignore_errors=True)
    print("".join("FAIL %s\n" % f for f in failures) + "%d problem(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
