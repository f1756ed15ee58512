#!/usr/bin/env python3
# Runs spread over hosts (zav -S, --sshloginfile, --transfer) against two
# real sshd on loopback ports, with keys made here: the output must be the
# one-after-another run's, byte for byte, whether a host is down, drops out
# while it runs or each capture is copied; Ctrl-C and SIGTERM must leave no
# TShark run behind.
# Prints "Skipped: <reason>" and succeeds when sshd, ssh, GNU parallel or
# rsync is missing.
import argparse, os, pathlib, shutil, signal, socket, subprocess, sys, tempfile, time

NEEDED = {"sshd": "openssh-server", "ssh": "openssh-client", "ssh-keygen": "openssh-client",
          "parallel": "parallel", "rsync": "rsync"}

# Stands in for TShark: its arguments but the capture's path, then the
# capture itself (so a copied capture is seen to be read), a line on
# standard error, and where it ran; a "slow" filter sleeps under a name the
# test looks for; a "bad" one fails as TShark does. (ssh passes on no
# environment: the paths are written in.)
FAKE_TSHARK = """#!/bin/sh
capture=$2; shift 2
printf '[%s]' "$@"; printf '\\n'
cat "$capture"
echo "tshark: note for $*" >&2
echo "${{SSH_CONNECTION##* }}" >> {log}
case "$*" in *slow*) exec {sleeper} 300 ;; *pause*) exec {sleeper} 2 ;; *bad*) exit 2 ;; esac
"""
CMD_ZAV = "<ZAV CONTROL COMMANDS>\n" + "".join(
    "ZAV() {\n    NAME = %s\n    LOGIC = %s\n    INFO = i }\n" % block
    for block in [("dns", "-Y dns"), ("per_proto", " -Y [%_LIST<protos.lst>_%]"), ("slow", "-Y slow"),
                  ("pause", "-Y pause")])
CONFIG = ("<ZAV CONFIGURATION FILE>\nZAV_CMD_FILE_PATH = LOCAL;\nLOAD_CMD_ZAV_FILE = TRUE;\n"
          "TSHARK_EXE_PATH = {dir}/tshark.sh;\nPCAP_DIR_PATH = caps/;\nDEFAULT_PCAP_NAME = c1.pcap;\n"
          "HISTORY_DIR_PATH = LOCAL;\nLOAD_HISTORY_FILE = FALSE;\n")
LINES = ["setpcap *AF*", "dns", "setpcap c2.pcap", "per_proto", "setpcap *AF*", "per_proto"]
SHORT = LINES[:4]  # each login costs seconds on a loaded machine


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Hosts:
    # Two sshd on loopback, and an ssh configuration naming them.

    def __init__(self, root):
        self.root, self.daemons = root, []
        for name in ("host_key", "user_key"):
            subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", str(root / name)],
                           check=True)
        shutil.copy(root / "user_key.pub", root / "authorized_keys")
        self.ports = [free_port(), free_port(), free_port()]  # the third stays closed
        config = ["Host *", f"  IdentityFile {root}/user_key", "  IdentitiesOnly yes",
                  "  StrictHostKeyChecking no", "  UserKnownHostsFile /dev/null",
                  "  LogLevel ERROR", "  BatchMode yes"]
        for i, port in enumerate(self.ports):
            config += [f"Host zav-h{i + 1}", "  HostName 127.0.0.1", f"  Port {port}"]
        (root / "ssh_config").write_text("\n".join(config) + "\n")
        sshd = shutil.which("sshd") or "/usr/sbin/sshd"
        for port in self.ports[:2]:
            conf = root / f"sshd_{port}"
            conf.write_text("\n".join([
                f"Port {port}", "ListenAddress 127.0.0.1", f"HostKey {root}/host_key",
                f"AuthorizedKeysFile {root}/authorized_keys", f"PidFile {root}/sshd_{port}.pid",
                "UsePAM no", "StrictModes no", "PasswordAuthentication no",
                "KbdInteractiveAuthentication no", "PermitRootLogin prohibit-password",
                "MaxStartups 100", "MaxSessions 100"]) + "\n")
            self.daemons.append(subprocess.Popen([sshd, "-D", "-e", "-f", str(conf)],
                                                 stderr=open(root / f"sshd_{port}.log", "w")))
        for i in (1, 2):  # each answers before the test starts
            for _ in range(100):
                if subprocess.run(["ssh", "-F", str(root / "ssh_config"), f"zav-h{i}", "true"],
                                  capture_output=True).returncode == 0:
                    break
                time.sleep(0.2)
            else:
                raise SystemExit(f"sshd on port {self.ports[i - 1]} does not answer: "
                                 + (root / f"sshd_{self.ports[i - 1]}.log").read_text())

    def login(self, i):
        return f"1/ssh -F {self.root}/ssh_config zav-h{i}"

    # Host i drops out: its daemon and every session it serves are killed.
    def drop(self, i):
        daemon, gone = self.daemons[i - 1].pid, []
        family = [daemon]
        while family:
            pid = family.pop()
            gone.append(pid)
            family += [int(p) for p in subprocess.run(["pgrep", "-P", str(pid)], capture_output=True,
                                                      text=True).stdout.split()]
        for pid in gone:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def stop(self):
        for daemon in self.daemons:
            daemon.terminate()
            daemon.wait()


class Workspace:
    def __init__(self, zav, root):
        self.zav, self.dir = zav, root / "ws"
        (self.dir / "caps").mkdir(parents=True)
        for i in range(1, 5):
            (self.dir / "caps" / f"c{i}.pcap").write_text(f"packets of capture {i}\n")
        self.sleeper = self.dir / "zav_cluster_sleeper"
        self.log = self.dir / "where.log"
        (self.dir / "tshark.sh").write_text(FAKE_TSHARK.format(log=self.log, sleeper=self.sleeper))
        (self.dir / "tshark.sh").chmod(0o755)
        shutil.copy(shutil.which("sleep"), self.sleeper)
        (self.dir / "CMD.zav").write_text(CMD_ZAV)
        (self.dir / "protos.lst").write_text("dns\ntcp\nbad\n")
        (self.dir / "ZAV.cfg").write_text(CONFIG.format(dir=self.dir))

    def command(self, options, lines):
        return [self.zav] + options + [a for line in lines for a in ("-c", line)]

    def run(self, options, lines=LINES, merged=False):
        # (stdout, stderr, status); stderr into stdout when `merged`.
        done = subprocess.run(self.command(options, lines), cwd=self.dir,
                              stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT if merged else subprocess.PIPE)
        return done.stdout, done.stderr, done.returncode

    def sleepers(self):
        found = subprocess.run(["pgrep", "-f", str(self.sleeper)], capture_output=True, text=True)
        return found.stdout.split()


failures = []


def check(name, condition, detail=""):
    print(("ok   " if condition else "FAIL ") + name)
    if not condition:
        failures.append(name)
        if detail:
            print(detail)


def same(name, got, want):
    check(name, got == want, "--- expected\n%r\n--- got\n%r" % (want[-2000:], got[-2000:]))


def interrupt(ws, options, signal_number, group):
    # Starts the slow line, sends the signal once runs are going on both
    # hosts, and returns (stdout, status, sleepers left).
    ws.log.write_text("")
    zav = subprocess.Popen(ws.command(options, ["setpcap *AF*", "slow", "dns"]), cwd=ws.dir,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           start_new_session=True)
    for _ in range(600):  # until both hosts run one
        if len(set(ws.log.read_text().split())) >= 2 and len(ws.sleepers()) >= 2:
            break
        time.sleep(0.1)
    os.killpg(zav.pid, signal_number) if group else zav.send_signal(signal_number)
    out, _ = zav.communicate(timeout=120)
    for _ in range(100):  # what was stopped may take a moment to be reaped
        if not ws.sleepers():
            break
        time.sleep(0.1)
    return out, zav.returncode, ws.sleepers()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zav", required=True)
    args = parser.parse_args()
    missing = sorted({NEEDED[p] for p in NEEDED
                      if not shutil.which(p) and not (p == "sshd" and os.path.exists("/usr/sbin/sshd"))})
    if missing:
        print("Skipped: missing Debian packages: " + " ".join(missing) + " (tools/run_tests.sh installs them)")
        return 0
    if not os.path.isdir("/run/sshd") and os.geteuid() == 0:
        os.makedirs("/run/sshd", exist_ok=True)
    root = pathlib.Path(tempfile.mkdtemp(prefix="zav_cluster_"))
    hosts = Hosts(root)
    try:
        ws = Workspace(os.path.abspath(args.zav), root)
        both = hosts.login(1) + "," + hosts.login(2)

        # Each capture of all-files mode and each LIST item, spread over both.
        alone = ws.run([])
        ws.log.write_text("")
        spread = ws.run(["-S", both])
        same("spread: standard output as one after another", spread[0], alone[0])
        same("spread: standard error as one after another", spread[1], alone[1])
        # The "bad" filter fails its runs: status 1 either way.
        check("spread: exit status as one after another", spread[2] == 1 == alone[2],
              repr((spread[2], alone[2])))
        ran = set(ws.log.read_text().split())
        check("spread: runs on both hosts", {str(p) for p in hosts.ports[:2]} <= ran, repr(ran))
        same("spread, both streams into one file", ws.run(["-S", both], merged=True)[0],
             ws.run([], merged=True)[0])

        # A login file with a host that is down: its runs go to the others.
        (root / "logins").write_text("\n".join([hosts.login(1), hosts.login(3), hosts.login(2)]) + "\n")
        # Every run of this line succeeds: status 0, as one after another.
        good = ws.run([], LINES[:2])
        down = ws.run(["--sshloginfile", str(root / "logins")], LINES[:2])
        same("one host down: standard output complete", down[0], good[0])
        check("one host down: exit status 0 as one after another", down[2] == good[2] == 0, repr(down))
        short = ws.run([], SHORT)

        # Captures copied to the hosts: the same output.
        # (":" too: GNU parallel copies nothing for a run on this host.)
        transfer = ws.run(["-S", both + ",1/:", "--transfer"], SHORT)
        same("--transfer: standard output", transfer[0], short[0])
        same("--transfer: standard error", transfer[1], short[1])
        leftovers = list(pathlib.Path.home().glob(".parallel/tmp/*/*.pcap"))
        check("--transfer: the copies are removed", not leftovers, repr(leftovers))

        # No host answers: said once, and the lines end with status 1.
        nobody = ws.run(["-S", hosts.login(3)], ["setpcap *AF*", "dns"])
        check("no host: one message, status 1",
              nobody[0].count(b"+ No host ran the TShark runs of this line") == 1 and nobody[2] == 1,
              repr(nobody))

        # Wrong options end at once with status 2.
        for options, message in [(["--sshloginfile", str(root / "absent")], b"zav: cannot read the login file"),
                                 (["--transfer"], b"zav: --transfer needs -S or --sshloginfile")]:
            out, err, status = ws.run(options, ["dns"])
            check("option error: " + " ".join(options[:1]), status == 2 and err.startswith(message),
                  repr((out, err, status)))

        # Ctrl-C (to the whole group, as a terminal sends it) and SIGTERM end
        # the runs on every host.
        out, status, left = interrupt(ws, ["-S", both], signal.SIGINT, True)
        check("Ctrl-C: interrupted, status 130, no run left",
              b"+ Interrupted." in out and status == 130 and not left and b"[dns]" not in out,
              repr((out[-300:], status, left)))
        out, status, left = interrupt(ws, ["-S", both], signal.SIGTERM, False)
        check("SIGTERM: status 143, no run left", status == 143 and not left, repr((status, left)))

        # A host that drops out while it runs: its runs go to the other one.
        lines = ["setpcap *AF*", "pause"]
        ws.log.write_text("")
        zav = subprocess.Popen(ws.command(["-S", both], lines), cwd=ws.dir, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE)
        for _ in range(600):
            if len(set(ws.log.read_text().split())) >= 2 and len(ws.sleepers()) >= 2:
                break
            time.sleep(0.1)
        hosts.drop(2)
        out, err = zav.communicate(timeout=120)
        alone = ws.run([], lines)
        same("a host drops out: standard output complete", out, alone[0])
        check("a host drops out: exit status 0", zav.returncode == 0, repr((zav.returncode, err)))
    finally:
        hosts.stop()
        shutil.rmtree(root, ignore_errors=True)
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
