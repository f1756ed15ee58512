#!/usr/bin/env python3
"""Walks the example command library through the real zav and the real TShark.

The example workspace (examples/) is copied to a fresh directory, its sample
captures are made there from their hex dumps, and zav is started in it:

1. With the workspace's own ZAV.cfg, the command file and its include files
   must load without a single "+ " message.
2. With TShark replaced by a recorder that runs the real TShark and logs each
   run's exit status and output size, every command that getallcmds lists
   (plus the hidden ones named below) is typed once against sample.pcap,
   which holds packets of every kind the library looks for. Each TShark run
   must exit with 0 and print nothing on standard error; each command must
   print something, and the commands named in EXPECTED must print the text
   given there. WIN commands must print something and nothing on standard
   error.
3. Every Multi Command Unit runs, and the all-files mode runs a command over
   every capture of the directory.

A command that takes arguments needs an entry in ARGUMENTS, so a new command
with arguments fails this test until it is given sample words here.
"""
import argparse
import os
import pathlib
import re
import shutil
import stat
import subprocess
import sys
import tempfile

# Sample words for the commands that take arguments, chosen to match packets
# of sample.pcap.
ARGUMENTS = {
    "first": "5",
    "detail": "31",
    "hex": "31",
    "host": "203.0.113.10",
    "host_conv": "192.168.1.23",
    "port": "443",
    "udp_port": "53",
    "between": "3 3.5",
    "filter": "tcp.len>100",
    "tcp_stream": "0",
    "follow_tcp": "0",
    "follow_udp": "2",
    "dns_find": "nosuch",
    "capinfo": "sample.pcap",
}

# Hidden commands are not listed by getallcmds; they run all the same.
HIDDEN = ["flow_cols"]

# Texts that a command's output must contain: the field tables print their
# header line even when nothing matches, so for them only the content shows
# that the fields and filters still work with this TShark.
EXPECTED = {
    "dns_queries": ["nosuch.example.com", "dns.qry.name"],
    "dns_answers": ["secure.example.org", "2001:db8::10"],
    "dns_errors": ["No such name"],
    "dns_find": ["nosuch.example.com"],
    "http_requests": ["www.example.com", "/favicon.ico", "curl/7.88.1"],
    "http_responses": ["404", "text/html"],
    "http_csv": ['"www.example.com"'],
    "http_hosts": ["www.example.com"],
    "http_errors": ["404 Not Found"],
    "tls_sni": ["secure.example.org"],
    "tls_versions": ["0x0304"],
    "tls_clients": ["secure.example.org", "h2"],
    "streams": ["51514", "51520", "51530"],
    "follow_tcp": ["Host: www.example.com"],
    "retrans": ["Retransmission"],
    "resets": ["RST"],
    "reset_flows": ["51530"],
    "arp_table": ["02:42:ac:11:00:01"],
    "dhcp_clients": ["analyst-laptop"],
    "dhcp_leases": ["86400"],
    "icmp_errors": ["Port unreachable"],
    "pings": ["Echo (ping) reply"],
    "top_talkers": ["198.51.100.20"],
    "conv_tcp": ["203.0.113.10:80"],
    "hosts_seen": ["www.example.com"],
    "names": ["secure.example.org"],
    "port_check": ["Port tcp/23, Telnet (clear-text logins):", "Port udp/67, DHCP:"],
    "capinfo": ["Number of packets"],
    "captures": ["sample.pcap"],
}

ROOT_WARNING = re.compile(r'^Running as user "root" and group "root"\. This could be dangerous\.$')
MARK = "@@"

RECORDER = """#!/bin/sh
# Runs the real TShark and logs its exit status, output and error sizes.
out=$(mktemp) err=$(mktemp)
"$ZAV_TEST_TSHARK" "$@" >"$out" 2>"$err"
status=$?
grep -v '^Running as user "root"' "$err" > "$err.kept"
cat "$out"
cat "$err.kept" >&2
printf 'run\\t%s\\t%s\\t%s\\t%s\\n' "$status" "$(wc -c < "$out")" "$(wc -c < "$err.kept")" "$*" >> "$ZAV_TEST_LOG"
rm -f "$out" "$err" "$err.kept"
"""


def strip_root_warning(text):
    return "\n".join(l for l in text.split("\n") if not ROOT_WARNING.match(l))


def run_zav(zav, workspace, lines, env):
    result = subprocess.run([zav], cwd=workspace, input="".join(l + "\n" for l in lines),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                            text=True, errors="surrogateescape", timeout=900)
    if result.returncode != 0:
        raise SystemExit("zav ended with status %d" % result.returncode)
    return result.stdout, strip_root_warning(result.stderr)


def marker_line(name, log):
    # Goes to /bin/sh as typed: the mark lands in the log, on standard
    # output and on standard error, so all three can be cut per command.
    return "echo %s %s | tee -a %s | tee /dev/stderr" % (MARK, name, log)


def split_by_marks(text):
    """{name: text after its mark line, up to the next mark}"""
    parts = {}
    current = None
    for line in text.split("\n"):
        if line.startswith(MARK + " "):
            current = line[len(MARK) + 1:]
            parts.setdefault(current, "")
        elif current is not None:
            parts[current] += line + "\n"
    return parts


def own_output(segment):
    """What a command printed, without the prompts around it."""
    return segment.replace("ZAV> ", "").strip()


def listed_commands(stdout):
    """The ZAV and WIN commands that getallcmds lists."""
    lists = {}
    current = None
    for line in stdout.split("\n"):
        heading = re.match(r"^ \[ (.*) \]$", line)
        if heading:
            current = lists.setdefault(heading.group(1), [])
            continue
        item = re.match(r"^  \d+\. (\S+)$", line)
        if item and current is not None:
            current.append(item.group(1))
    return lists.get("External ZAV CMD List", []), lists.get("External WIN CMD List", [])


def shown_logic(stdout, name):
    match = re.search(r"^  %s: (.*)$" % re.escape(name), stdout, re.M)
    return match.group(1) if match else None


def prepare_workspace(root, directory):
    examples = root / "examples"
    for path in examples.iterdir():
        if path.is_file() and path.name != ".zav_history":
            shutil.copy(path, directory / path.name)
    (directory / "captures").mkdir()
    subprocess.run([str(root / "tools" / "make_sample_captures.sh"), str(directory / "captures")],
                   check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--zav", required=True)
    parser.add_argument("--tshark", default=shutil.which("tshark"))
    parser.add_argument("--root", default=str(pathlib.Path(__file__).resolve().parents[2]))
    parser.add_argument("--keep", action="store_true", help="keep the workspace copy")
    args = parser.parse_args()
    zav = str(pathlib.Path(args.zav).resolve())
    root = pathlib.Path(args.root)
    failures = []
    workspace = pathlib.Path(tempfile.mkdtemp(prefix="zav-examples-"))
    try:
        prepare_workspace(root, workspace)
        env = dict(os.environ, LC_ALL="C")

        # 1. The workspace as shipped loads without a message.
        stdout, _ = run_zav(zav, workspace, ["exit"], env)
        for line in stdout.split("\n"):
            if line.startswith("+ "):
                failures.append("loading the example CMD.zav printed: " + line)

        # 2. Every command through the recorder.
        log = workspace / "runs.log"
        recorder = workspace / "tshark_recorder.sh"
        recorder.write_text(RECORDER)
        recorder.chmod(recorder.stat().st_mode | stat.S_IXUSR)
        config = (workspace / "ZAV.cfg").read_text()
        config = re.sub(r"(?m)^TSHARK_EXE_PATH\s*=[^;]*;", "TSHARK_EXE_PATH = %s;" % recorder, config)
        config = re.sub(r"(?m)^LOAD_HISTORY_FILE\s*=[^;]*;", "LOAD_HISTORY_FILE = FALSE;", config)
        (workspace / "ZAV.cfg").write_text(config)
        env["ZAV_TEST_TSHARK"] = args.tshark
        env["ZAV_TEST_LOG"] = str(log)

        listing, _ = run_zav(zav, workspace, ["getallcmds", "getmculist"] +
                             ["logic " + name for name in HIDDEN] + ["exit"], env)
        zav_commands, win_commands = listed_commands(listing)
        units = []
        if "[ List of MCUs ]" in listing:
            units = re.findall(r"^  \d+\. (\S+)$", listing.split("[ List of MCUs ]")[-1], re.M)
        if len(zav_commands) + len(win_commands) < 30:
            failures.append("getallcmds lists only %d commands:\n%s"
                            % (len(zav_commands) + len(win_commands), listing))
        for name in HIDDEN:
            if name in zav_commands or shown_logic(listing, name) is None:
                failures.append("%s is not a hidden command" % name)
        zav_commands += HIDDEN
        if not units:
            failures.append("getmculist lists no unit")

        logic_out, _ = run_zav(zav, workspace, ["logic " + n for n in zav_commands + win_commands]
                               + ["exit"], env)
        lines = ["setpcap sample.pcap"]
        for name in zav_commands + win_commands:
            logic = shown_logic(logic_out, name)
            if logic is None:
                failures.append("logic %s shows nothing" % name)
                continue
            typed = name
            if "[%_ARG_%]" in logic:
                if name not in ARGUMENTS:
                    failures.append("%s takes arguments: give it sample words in ARGUMENTS" % name)
                    continue
                typed += " " + ARGUMENTS[name]
            lines += [marker_line(name, log), typed]
        for unit in units:
            lines += [marker_line("exmcu " + unit, log), "exmcu " + unit, "setpcap sample.pcap"]
        lines += [marker_line("all files", log), "setpcap *AF*", "phs", "exit"]
        stdout, stderr = run_zav(zav, workspace, lines, env)

        runs = split_by_marks(log.read_text() if log.exists() else "")
        outputs = split_by_marks(stdout)
        errors = split_by_marks(stderr)
        captures = sorted(p for p in (workspace / "captures").iterdir() if p.is_file())
        for name in zav_commands + win_commands + ["exmcu " + u for u in units] + ["all files"]:
            if name not in outputs:
                continue  # reported above
            output = own_output(outputs[name])
            if errors.get(name, "").strip():
                failures.append("%s wrote on standard error:\n%s" % (name, errors[name]))
            records = [l.split("\t") for l in runs.get(name, "").splitlines() if l.startswith("run\t")]
            if name in win_commands:
                if records:
                    failures.append("WIN command %s ran TShark" % name)
            elif not records and not name.startswith("exmcu "):
                failures.append("%s did not run TShark" % name)
            for _, status, out_size, err_size, arguments in records:
                if status != "0" or err_size != "0":
                    failures.append("%s: tshark %s exited with %s" % (name, arguments, status))
            if name == "all files" and len(records) != len(captures):
                failures.append("all-files mode ran %d times for %d captures"
                                % (len(records), len(captures)))
            if not output:
                failures.append("%s printed nothing" % name)
            for text in EXPECTED.get(name, []):
                if text not in output:
                    failures.append("%s: output lacks %r:\n%s" % (name, text, output))
        for name in EXPECTED:
            if name not in zav_commands + win_commands:
                failures.append("%s is expected but not defined" % name)
    finally:
        if args.keep:
            print("kept", workspace)
        else:
            shutil.rmtree(workspace, ignore_errors=True)
    for failure in failures:
        print("FAIL " + failure)
    print("%d problem(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
