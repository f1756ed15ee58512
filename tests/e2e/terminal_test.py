#!/usr/bin/env python3
# What only a terminal shows, checked under a pseudo-terminal: colours and
# the title reach a terminal, never a pipe, with NO_COLOR or TERM=dumb (no
# control sequence at all); the title is saved and put back; Ctrl-C and Ctrl-D
# at the prompt keep the shell, Ctrl-C during a line stops all of it, SIGTERM
# ends the shell with the running command; ulogic offers the old logic and
# puts it on the clipboard (OSC 52); lines are edited, recalled and completed.
# Also the standard streams without a terminal: a closed stdout or stderr.
# Usage: terminal_test.py --zav build/zav
import argparse, base64, fcntl, os, pathlib, pty, re, select, shutil, signal, subprocess, sys, tempfile, termios, time  # noqa: E401

FAKE_TSHARK = pathlib.Path(__file__).resolve().parent / "fake_tshark.sh"
CONFIG = ("<ZAV CONFIGURATION FILE>\nZAV_CMD_FILE_PATH = LOCAL;\nLOAD_CMD_ZAV_FILE = TRUE;\nTSHARK_EXE_PATH = %s;\n"
          "PCAP_DIR_PATH = captures/;\nDEFAULT_PCAP_NAME = a.pcap;\nHISTORY_DIR_PATH = LOCAL;\nLOAD_HISTORY_FILE = TRUE;\n"
          % FAKE_TSHARK)
# "slow" leaves a mark for each run and takes long: Ctrl-C must stop it.
COMMANDS = """<ZAV CONTROL COMMANDS>
ZAV() {
    NAME = dns
    LOGIC = -Y dns && udp
    INFO = DNS
}
ZAV() {
    NAME = slow
    LOGIC = ; echo run >> runs.log; sleep 61
    INFO = Slow
}
ZAV() {
    NAME = linger
    LOGIC = ; sleep 62 & exit 0
    INFO = Ends, but leaves its output open in a child
}
MCU(three) {
    slow
    slow
    slow
};
"""
MARK = b"ZAV_TERMINAL_TEST=%d" % os.getpid()
os.environ["ZAV_TERMINAL_TEST"] = str(os.getpid())
GREEN, NORMAL = b"\x1b[92m", b"\x1b[39;49m"
# The line editor would drop a colour change at the very end of a prompt.
PROMPT = b"ZAV" + GREEN + b">" + NORMAL + b" "
RESTORED = b"\x1b[0m\x1b[0 q\x1b[23;0t"  # colours, cursor, then the title saved at start
LEFT, RIGHT, UP, CTRL_C, CTRL_D, CTRL_U = b"\x1b[D", b"\x1b[C", b"\x1b[A", b"\x03", b"\x04", b"\x15"
ASK = b'Please enter new logic for ZAV/WIN CMD "dns": '


# A line written by a command, as opposed to the typed line's echo.
def line(text):
    return b"\r\n" + text + b"\r\n"


# Keys typed in one session (Enter follows, except after Ctrl-C or Ctrl-D),
# and what the output shows before the next prompt.
EDITING = [
    (b"echo this-run", line(b"this-run")), (UP, line(b"this-run")),
    (UP * 3, line(b"from-file")),  # this run's lines first, then the history file's
    (b"echo first", b""), (b"echo second", b""), (b" echo skipped", b""),  # a leading blank: not recalled
    (UP * 2 + b" again", line(b"first again")),
    # A new prompt each; nine ends of input in a row keep the shell, a tenth ends it.
    (CTRL_C, b""), *[(CTRL_D, b"")] * 9,
    (b"echo hllo" + LEFT * 3 + b"e" + RIGHT * 3 + b"!", line(b"hello!")),
    # A character of several bytes is one step of the cursor, whatever the locale.
    (b"echo gr\xc3\xbce" + LEFT + b"\xc3\x9f", line(b"gr\xc3\xbc\xc3\x9fe")),
    (b"getpc\t", line(b"+ Current pcap file name is: a.pcap")),
    (b"getpc\tpa\t", line(b"+ Current pcap path is set to: captures/")),
    (b"setpcap al\t", b""), (b"getpcap", line(b"+ Current pcap file name is: alpha.pcap")),
    (b"inf\td\t", b"dns" + NORMAL + b": DNS\r\n"), (b"dn\t", b"[-Y][dns]\r\n"),
    (b"echo captures/on\t", line(b"captures/only.pcap")),
    # A directory ends with its separator: the next Tab goes on inside it.
    (b"echo capt\ton\t", line(b"captures/only.pcap")),
    # A dot file is offered only for a word that starts with a dot.
    (b"setpcappath more/", b""), (b"setpcap \t", b""), (b"getpcap", line(b"+ Current pcap file name is: x.pcap")),
]
# ulogic: keys typed on the offered logic, the logic offered, the logic then.
ULOGIC = [(b"", b"-Y dns && udp", None), (b"\x7f" * 3 + b"tcp", b"-Y dns && udp", b"-Y dns && tcp"),
          (CTRL_U, b"-Y dns && tcp", None), (CTRL_U + b"-Y http", b"-Y dns && tcp", b"-Y http")]


def check(condition, message):
    if not condition:
        raise AssertionError(message)


# Ids of the live processes with exactly these arguments (in that group).
def processes(args, group=None):
    listing = subprocess.run(["ps", "-A", "-o", "pid=,pgid=,stat=,args="], stdout=subprocess.PIPE,
                             universal_newlines=True).stdout
    rows = [row.split(None, 3) for row in listing.splitlines()]
    return [int(r[0]) for r in rows if len(r) == 4 and r[3] == args and "Z" not in r[2]
            and group in (None, int(r[1])) and ours(r[0])]


# Started by this run of the test (they inherit MARK), not by another one
# running at the same time.
def ours(pid):
    try:
        return MARK in pathlib.Path("/proc", pid, "environ").read_bytes().split(b"\0")
    except OSError:
        return False


def wait_until(condition, what):
    deadline = time.time() + 20
    while not condition():
        check(time.time() < deadline, what)
        time.sleep(0.05)


# zav with a pseudo-terminal as its controlling terminal, so that Ctrl-C
# typed into it reaches its foreground process group.
# As `stty tostop` does: a process group that is not the terminal's
# foreground is stopped when it writes to it. Every session runs so.
def tostop(fd):
    attributes = termios.tcgetattr(fd)
    attributes[3] |= termios.TOSTOP
    termios.tcsetattr(fd, termios.TCSANOW, attributes)


class Session:
    def __init__(self, zav, directory, env=None, prompt=PROMPT, args=()):
        self.master, slave = pty.openpty()
        self.process = subprocess.Popen(
            [zav, *args], cwd=directory, stdin=slave, stdout=slave, stderr=slave,
            env=dict(dict(os.environ, TERM="xterm"), **(env or {})), start_new_session=True,
            preexec_fn=lambda: fcntl.ioctl(0, termios.TIOCSCTTY, 0) or tostop(0))
        self.terminal = os.ttyname(slave)
        os.close(slave)
        self.output, self.prompt, self.prompts = b"", prompt, 0
        if prompt:
            self.wait_for_prompt()

    # Reads what comes within timeout; False once the terminal closed.
    def pump(self, timeout):
        if select.select([self.master], [], [], max(timeout, 0))[0]:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                chunk = b""
            self.output += chunk
            return bool(chunk)
        return True

    def read_until(self, needle, start=0, count=1):
        deadline = time.time() + 20
        while self.output[start:].count(needle) < count:
            check(self.pump(deadline - time.time()) and time.time() < deadline,
                  "waiting for %r; got %r" % (needle, self.output[-600:]))

    def wait_for_prompt(self):
        self.prompts += 1
        self.read_until(self.prompt, count=self.prompts)

    def enter(self, keys, then=b""):
        start = len(self.output)
        os.write(self.master, keys if keys in (CTRL_C, CTRL_D) else keys + b"\r")
        self.wait_for_prompt()
        check(then in self.output[start:], "%r: expected %r; got %r" % (keys, then, self.output[start:]))

    # Ctrl-C once the program runs: sent while the command processor still
    # starts it, the command processor alone would take it.
    def interrupt(self, program):
        wait_until(lambda: processes(program, self.process.pid), program + " did not start")
        os.write(self.master, CTRL_C)
        self.wait_for_prompt()

    def finish(self, keys=b""):
        os.write(self.master, keys)
        deadline = time.time() + 20
        while time.time() < deadline and self.pump(deadline - time.time()):
            pass
        try:
            return self.process.wait(timeout=1)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, signal.SIGKILL)
            raise AssertionError("zav did not end; got %r" % self.output[-600:])
        finally:
            os.close(self.master)


def editing_recall_completion_and_interrupts(zav, directory):
    session = Session(zav, directory)
    check(session.output.startswith(NORMAL) and b"\x1b[22;0t\x1b]0;" in session.output
          and b"\x1b[4 q" in session.output, "colour, title, cursor: %r" % session.output[:80])
    for keys, then in EDITING:
        session.enter(keys, then)
    os.write(session.master, b"echo discarded")
    session.read_until(b"discarded", start=len(session.output))
    time.sleep(0.5)  # so that the Ctrl-C cannot overtake the typed keys
    session.enter(CTRL_C)
    check(line(b"discarded") not in session.output, "an interrupted line ran")
    for keys, offered, logic in ULOGIC:
        start, copy = len(session.output), base64.b64encode(offered)
        os.write(session.master, b"ulogic dns\r")
        session.read_until(b"\r" + ASK + offered, start)
        out = session.output[start:]
        check(out.find(ASK) < out.find(b"\x1b]52;c;" + copy + b"\x07"), "copied after the prompt")
        session.enter(keys, b"+ Logic hasn't been updated" if logic is None else b"\x1b]52;c;!\x07")
        check(b"lipboard" not in session.output[start:], "no clipboard message")
        session.enter(b"logic dns", b": " + (logic or offered) + b"\r\n")
    os.write(session.master, b"exmcu three\r")
    session.interrupt("sleep 61")
    check(line(b"+ Interrupted.") in session.output, "reported: %r" % session.output[-200:])
    check(pathlib.Path(directory, "runs.log").read_text() == "run\n", "one run only")
    os.write(session.master, b"sleep 62\r")
    session.interrupt("sleep 62")
    session.enter(b"echo alive", line(b"alive"))
    check(session.finish(b"exit\r") == 0 and session.output.endswith(RESTORED), "exit 0, terminal restored")


def sigterm_ends_the_command_and_the_shell(zav, directory):
    # At the prompt the line editor has the terminal in raw mode; the
    # user's shell must get it back as it was.
    session = Session(zav, directory)
    terminal = os.open(session.terminal, os.O_RDWR | os.O_NOCTTY)
    os.kill(session.process.pid, signal.SIGTERM)
    session.process.wait(timeout=20)
    modes = termios.tcgetattr(terminal)[3]
    os.close(terminal)
    check(session.finish() == 143, "status 143 at the prompt")
    check(modes & termios.ICANON and modes & termios.ECHO, "terminal modes restored: %o" % modes)
    session = Session(zav, directory)
    # Two commands, so that /bin/sh waits for them rather than becoming one.
    os.write(session.master, b"sleep 63; sleep 64\r")
    wait_until(lambda: processes("sleep 63", session.process.pid), "sleep did not start")
    os.kill(session.process.pid, signal.SIGTERM)
    check(session.finish() == 143 and session.output.endswith(RESTORED), "status 143, restored")
    wait_until(lambda: not processes("sleep 63"), "the command was left running")
    # Without a terminal, in the starter's process group: the command gets a group of its own.
    starter = subprocess.Popen(["sh", "-c", '"$0"; exit $?', zav], cwd=directory, stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, start_new_session=True)
    starter.stdin.write(b"sleep 6017; sleep 6018\n")
    starter.stdin.flush()
    wait_until(lambda: processes("sleep 6017"), "sleep did not start")
    os.kill(processes(zav, starter.pid)[0], signal.SIGTERM)
    check(starter.wait(timeout=20) == 143, "exit status 143 without a terminal")
    wait_until(lambda: not processes("sleep 6017"), "the command was left running")


# -j 2 over three captures: Ctrl-C and SIGHUP end every run side by side
# (the later captures show nothing), a tail that reads the terminal runs
# one capture after another in the foreground, and Ctrl-C ends -c lines.
def side_by_side_runs_stop_and_tails_keep_the_terminal(zav, directory):
    two_running = lambda: len(processes("sleep 61")) == 2  # noqa: E731
    session = Session(zav, directory, args=["-j", "2"])
    session.enter(b"setpcap *AF*")
    start = len(session.output)
    os.write(session.master, b"slow\r")
    wait_until(two_running, "two runs did not start")
    os.write(session.master, CTRL_C)
    session.wait_for_prompt()
    out = session.output[start:]
    check(line(b"+ Interrupted.") in out and b"beta" not in out, "interrupted: %r" % out)
    check(pathlib.Path(directory, "runs.log").read_text() == "run\nrun\n", "two runs only")
    wait_until(lambda: not processes("sleep 61"), "a run was left running")
    os.write(session.master, b"dns | sh -c 'cat; read x </dev/tty; echo got-$x'\r")
    for answered in range(3):
        session.read_until(b"got-y", count=answered)
        session.read_until(b"[-r][captures/", start, count=answered + 2)
        os.write(session.master, b"y\r")
    session.wait_for_prompt()
    # The command processors have ended, what they started still writes:
    # it goes with the shell all the same.
    os.write(session.master, b"linger\r")
    wait_until(lambda: len(processes("sleep 62")) == 2, "two runs did not start again")
    time.sleep(1)
    os.kill(session.process.pid, signal.SIGHUP)
    check(session.finish() == 129 and session.output.endswith(RESTORED), "status 129, restored")
    check(not processes("sleep 62"), "a run outlived the shell")
    session = Session(zav, directory, prompt=None,
                      args=["-j", "2", "-c", "setpcap *AF*", "-c", "slow", "-c", "echo after-slow"])
    wait_until(two_running, "two runs of -c did not start")
    os.write(session.master, CTRL_C)
    check(session.finish() == 130 and b"+ Interrupted." in session.output
          and b"after-slow" not in session.output, "-c interrupted: %r" % session.output[-300:])
    wait_until(lambda: not processes("sleep 61"), "a run of -c was left running")
    # Output that cannot be written is named, never lost silently.
    with open("/dev/full", "wb") as full:
        result = subprocess.run([zav, "-j", "3", "-c", "setpcap *AF*", "-c", "dns"], cwd=directory,
                                stdout=full, stderr=subprocess.PIPE, timeout=30)
    check(result.returncode == 1 and
          result.stderr.count(b"is incomplete: No space left on device.") == 3, result)


# The write calls of this process's finished children (Linux counts them to the parent).
def writes_of_children():
    return int(re.search(rb"syscw: (\d+)", pathlib.Path("/proc/self/io").read_bytes()).group(1))


def control_sequences_only_where_wanted(zav, directory):
    # NO_COLOR counts only when it is not empty; TERM=dumb gets no control sequence at all.
    for env, prompt in (({"NO_COLOR": ""}, PROMPT), ({"NO_COLOR": "1"}, b"ZAV> "), ({"TERM": "dumb"}, b"ZAV> ")):
        session = Session(zav, directory, env=env, prompt=prompt)
        colours = re.search(rb"\x1b\[[0-9;]*m", session.output)
        check(session.finish(b"exit\r") == 0 and bool(colours) == (prompt == PROMPT) and
              (b"\x1b" not in session.output) == ("TERM" in env), "%r: %r" % (env, session.output[:80]))
    piped = subprocess.run([zav], cwd=directory, input=b"exit\n", stdout=subprocess.PIPE, timeout=30)
    check(b"\x1b" not in piped.stdout and piped.stdout.endswith(b"\nZAV> \n"), "pipe: %r" % piped.stdout)
    # Into a pipe, about comes at once: a few writes, not one per character typed out.
    before = writes_of_children()
    subprocess.run([zav, "-c", "about"], cwd=directory, stdout=subprocess.DEVNULL, timeout=60)
    check(writes_of_children() - before < 100, "about typed out into a pipe")
    folder = os.open(directory, os.O_RDONLY)
    read = subprocess.run([zav, "-"], cwd=directory, stdin=folder, capture_output=True, timeout=30)
    os.close(folder)
    check(read.returncode == 1 and read.stderr == b"zav: cannot read standard input: Is a directory\n",
          "a directory as standard input: %r" % (read,))


def closed_stdout_or_stderr_stays_closed_to_the_history(zav, directory):
    typed = b"echo output\nexh 99\nexit\n"  # exh writes its message to stderr
    for closed in (1, 2):
        pathlib.Path(directory, ".zav_history").write_bytes(b"")
        subprocess.run([zav], cwd=directory, input=typed, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, preexec_fn=lambda: os.close(closed), timeout=30)
        history = pathlib.Path(directory, ".zav_history").read_bytes()
        check(history == typed, "fd %d closed, only typed lines: %r" % (closed, history[:200]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zav", required=True)
    zav = str(pathlib.Path(parser.parse_args().zav).resolve())
    tests = [editing_recall_completion_and_interrupts, sigterm_ends_the_command_and_the_shell,
             side_by_side_runs_stop_and_tails_keep_the_terminal,
             control_sequences_only_where_wanted, closed_stdout_or_stderr_stays_closed_to_the_history]
    failed = 0
    for test in tests:
        directory = pathlib.Path(tempfile.mkdtemp(prefix="zav-pty-"))
        try:
            (directory / "captures").mkdir()
            (directory / "more").mkdir()
            for name, text in (("ZAV.cfg", CONFIG), ("CMD.zav", COMMANDS), (".zav_history", "echo from-file\n"),
                               ("captures/alpha.pcap", ""), ("captures/beta.pcap", ""), ("captures/only.pcap", ""),
                               ("more/x.pcap", ""), ("more/.y.pcap", "")):
                (directory / name).write_text(text)
            test(zav, str(directory))
            print("ok   %s" % test.__name__)
        except AssertionError as error:
            failed += 1
            print("FAIL %s: %s" % (test.__name__, error))
        finally:
            shutil.rmtree(directory, ignore_errors=True)
    print("%d passed, %d failed" % (len(tests) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
