#!/usr/bin/env python3
"""What a terminal shows, checked under a pseudo-terminal: colours and the
title reach a terminal as escape sequences, never a pipe or with NO_COLOR;
Ctrl-C at the prompt and Ctrl-D do not end the shell, Ctrl-C during a line
stops all of it, SIGTERM ends the shell with the running command; ulogic
puts the old logic on the terminal's clipboard (OSC 52) and clears it
afterwards; lines are edited, recalled and completed. Also the standard
streams without a terminal: a pipe, a closed stdout or stderr."""
import argparse
import base64
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from pty_session import PtySession  # noqa: E402

CONFIG = """<ZAV CONFIGURATION FILE>
ZAV_CMD_FILE_PATH = LOCAL;
LOAD_CMD_ZAV_FILE = FALSE;
TSHARK_EXE_PATH = tshark;
PCAP_DIR_PATH = ./;
DEFAULT_PCAP_NAME = a.pcap;
HISTORY_DIR_PATH = LOCAL;
LOAD_HISTORY_FILE = FALSE;
"""

GREEN = b"\x1b[92m"
NORMAL = b"\x1b[39;49m"
# The line editor draws the prompt. It would drop a colour change at the very
# end of a prompt, so the colour is put back before the blank.
PROMPT = b"ZAV" + GREEN + b">" + NORMAL + b" "
LEFT = b"\x1b[D"
RIGHT = b"\x1b[C"
UP = b"\x1b[A"
CTRL_C = b"\x03"
CTRL_D = b"\x04"


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def prompt_is_coloured_on_a_terminal(zav, directory):
    session = PtySession([zav], directory)
    session.read_until(PROMPT)
    out = session.output
    check(out.startswith(NORMAL), "normal colour is set first: %r" % out[:40])
    check(b"\x1b]0;ZAV (Vorrindal) v1.1 (64-bit)  Release Date: [November 05, 2017]\x07" in out,
          "title is set")
    check(b"\x1b[4 q" in out, "thin cursor is set")
    session.send(b"exit\n")
    check(session.finish() == 0, "exit status 0")
    check(session.output.endswith(b"\x1b[0m\x1b[0 q"), "terminal restored at exit: %r"
          % session.output[-30:])


def start(zav, directory):
    session = PtySession([zav], directory)
    session.prompts = 1
    session.read_until(PROMPT)
    return session


def enter(session, keys, then=None):
    """Types keys and Enter, waits for `then` in the output (when given) and
    for the next prompt."""
    start = len(session.output)
    session.send(keys + b"\r")
    session.prompts += 1
    session.read_until(PROMPT, count=session.prompts)
    if then is not None:
        check(then in session.output[start:], "expected %r; got %r"
              % (then, session.output[start:][-300:]))


def leave(session):
    session.send(b"exit\r")
    check(session.finish() == 0, "exit status 0")


def output_line(text):
    """A line written by a command, as opposed to the typed line's echo."""
    return b"\r\n" + text + b"\r\n"


def typing_and_editing_with_arrows(zav, directory):
    session = start(zav, directory)
    enter(session, b"echo typed", then=output_line(b"typed"))
    # The cursor goes back into the word, a letter goes in, and forward again.
    enter(session, b"echo hllo" + LEFT * 3 + b"e" + RIGHT * 3 + b"!",
          then=output_line(b"hello!"))
    # A character of several bytes is one step of the cursor and arrives
    # whole, whatever locale the terminal's user has set.
    umlaut, sharp_s = "\u00fc".encode(), "\u00df".encode()
    enter(session, b"echo gr" + umlaut + b"e" + LEFT + sharp_s,
          then=output_line(b"gr" + umlaut + sharp_s + b"e"))
    leave(session)


def up_recalls_accepted_lines(zav, directory):
    session = start(zav, directory)
    enter(session, b"echo first")
    enter(session, b"echo second")
    # Not accepted, so not recalled: a line that begins with a blank.
    enter(session, b" echo skipped")
    enter(session, UP * 2 + b" again", then=output_line(b"first again"))
    leave(session)


def up_recalls_the_history_file(zav, directory):
    pathlib.Path(directory, "ZAV.cfg").write_text(
        CONFIG.replace("LOAD_HISTORY_FILE = FALSE", "LOAD_HISTORY_FILE = TRUE"))
    pathlib.Path(directory, ".zav_history").write_text("echo from-file\n")
    session = start(zav, directory)
    enter(session, b"echo this-run")
    # This run's line first, then the file's.
    enter(session, UP, then=output_line(b"this-run"))
    enter(session, UP * 3, then=output_line(b"from-file"))
    leave(session)


def use_command_file(directory):
    pathlib.Path(directory, "ZAV.cfg").write_text(
        CONFIG.replace("LOAD_CMD_ZAV_FILE = FALSE", "LOAD_CMD_ZAV_FILE = TRUE"))
    pathlib.Path(directory, "CMD.zav").write_text(COMMAND_FILE)


def tab_completes_command_and_capture_names(zav, directory):
    use_command_file(directory)
    pathlib.Path(directory, "captures").mkdir()
    for name in ("alpha.pcap", "beta.pcap"):
        pathlib.Path(directory, "captures", name).write_text("")
    config = pathlib.Path(directory, "ZAV.cfg")
    fake_tshark = pathlib.Path(__file__).resolve().parent / "fake_tshark.sh"
    config.write_text(config.read_text()
                      .replace("PCAP_DIR_PATH = ./;", "PCAP_DIR_PATH = captures/;")
                      .replace("TSHARK_EXE_PATH = tshark;", "TSHARK_EXE_PATH = %s;" % fake_tshark))
    session = start(zav, directory)
    # A built-in name: two candidates share "getpcap", one more letter and
    # Tab completes the other.
    enter(session, b"getpc\t", then=b"\r\n+ Current pcap file name is: a.pcap\r\n")
    enter(session, b"getpc\tpa\t", then=b"\r\n+ Current pcap path is set to: captures/\r\n")
    # A capture file of the capture directory.
    enter(session, b"setpcap al\t")
    enter(session, b"getpcap", then=b"\r\n+ Current pcap file name is: alpha.pcap\r\n")
    # A command of the command file, first word and argument of info.
    enter(session, b"inf\td\t", then=b"dns" + NORMAL + b": DNS\r\n")
    enter(session, b"dn\t", then=b"[-Y][dns]\r\n")
    leave(session)


def ulogic_offers_the_old_logic(zav, directory):
    use_command_file(directory)
    session = start(zav, directory)
    offered = b'Please enter new logic for ZAV/WIN CMD "dns": -Y dns && '
    # Enter on the offered logic, untouched, keeps it.
    session.send(b"ulogic dns\r")
    session.read_until(offered + b"udp")
    enter(session, b"", then=b"\r\n+ Logic hasn't been updated\r\n")
    # The old logic is there to edit: its last word replaced.
    session.send(b"ulogic dns\r")
    session.read_until(offered + b"udp", count=2)
    enter(session, b"\x7f" * 3 + b"tcp")
    enter(session, b"logic dns", then=b": -Y dns && tcp\r\n")
    # Cleared to empty: kept as well.
    session.send(b"ulogic dns\r")
    session.read_until(offered + b"tcp")
    enter(session, b"\x15", then=b"\r\n+ Logic hasn't been updated\r\n")
    leave(session)


def tab_completes_file_names(zav, directory):
    pathlib.Path(directory, "captures").mkdir()
    pathlib.Path(directory, "captures", "only.pcap").write_text("")
    session = start(zav, directory)
    enter(session, b"echo captures/on\t", then=output_line(b"captures/only.pcap"))
    # A directory ends with its separator, not a blank: the next Tab goes on inside it.
    enter(session, b"echo capt\ton\t", then=output_line(b"captures/only.pcap"))
    leave(session)


def ctrl_c_discards_the_line(zav, directory):
    session = start(zav, directory)
    session.send(b"echo discarded")
    session.read_until(b"discarded")
    # Let the editor finish with the typed keys and wait for the next one;
    # on a loaded machine a Ctrl-C can otherwise overtake them.
    time.sleep(0.5)
    session.send(CTRL_C)
    session.prompts += 1
    session.read_until(PROMPT, count=session.prompts)
    enter(session, b"echo kept", then=output_line(b"kept"))
    check(output_line(b"discarded") not in session.output, "the interrupted line did not run")
    leave(session)


def programs_in_group(group):
    """The names of the programs running in a process group."""
    if not os.path.isdir("/proc"):
        listing = subprocess.run(["ps", "-A", "-o", "pgid=,comm="], stdout=subprocess.PIPE,
                                 universal_newlines=True).stdout
        return [fields[1].strip() for fields in (line.split(None, 1) for line in
                listing.splitlines()) if len(fields) == 2 and fields[0] == str(group)]
    names = []
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/stat" % entry) as stat_file:
                stat = stat_file.read()
        except (OSError, ValueError):
            continue
        # The name stands in parentheses and may hold blanks; after it come
        # the state, the parent and the process group.
        name = stat[stat.find("(") + 1:stat.rfind(")")]
        fields = stat[stat.rfind(")") + 2:].split()
        if len(fields) > 2 and fields[2] == str(group) and fields[0] != "Z":
            names.append(name)
    return names


def wait_for_program(session, name, timeout=10.0):
    """Waits until a program of that name runs in the shell's process group:
    a Ctrl-C sent while the command processor is still starting it can be
    taken by the command processor alone."""
    deadline = time.time() + timeout
    while name not in programs_in_group(session.process.pid):
        if time.time() > deadline:
            raise AssertionError("%s did not start" % name)
        time.sleep(0.05)


def ctrl_c_stops_only_the_running_command(zav, directory):
    session = start(zav, directory)
    # Far longer than the wait below: the prompt comes back only if Ctrl-C
    # stopped the child.
    session.send(b"sleep 60\r")
    wait_for_program(session, "sleep")
    session.send(CTRL_C)
    session.prompts += 1
    session.read_until(PROMPT, count=session.prompts, timeout=20)
    enter(session, b"echo alive", then=output_line(b"alive"))
    leave(session)


def sigterm_ends_the_command_and_the_shell(zav, directory):
    session = start(zav, directory)
    # Two commands, so that /bin/sh waits for them rather than becoming one.
    session.send(b"sleep 60; sleep 61\r")
    wait_for_program(session, "sleep")
    os.kill(session.process.pid, signal.SIGTERM)
    check(session.finish() == 128 + signal.SIGTERM, "exit status 143")
    check(session.output.endswith(b"\x1b[0m\x1b[0 q"), "terminal restored: %r"
          % session.output[-30:])
    deadline = time.time() + 10
    while programs_in_group(session.process.pid) and time.time() < deadline:
        time.sleep(0.05)
    check(not programs_in_group(session.process.pid), "the command was left running")


def processes_running(argument_list):
    """The ids of live processes whose arguments are exactly these."""
    found = []
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as cmdline:
                arguments = cmdline.read()
            with open("/proc/%s/stat" % entry) as stat_file:
                state = stat_file.read().rsplit(")", 1)[1].split()[0]
        except (OSError, IndexError):
            continue
        if arguments == b"\0".join(argument_list) + b"\0" and state != "Z":
            found.append(int(entry))
    return found


def sigterm_without_a_terminal_ends_the_command(zav, directory):
    # Started by a program, through pipes, in that program's process group:
    # the command gets a group of its own, which the signal reaches.
    starter = subprocess.Popen(["sh", "-c", '"$0"; echo $? >status', zav], cwd=directory,
                               stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                               start_new_session=True)
    starter.stdin.write(b"sleep 6017; sleep 6018\n")
    starter.stdin.flush()
    deadline = time.time() + 10
    while not processes_running([b"sleep", b"6017"]) and time.time() < deadline:
        time.sleep(0.05)
    os.kill(processes_running([zav.encode()])[0], signal.SIGTERM)
    starter.wait(timeout=10)
    check(pathlib.Path(directory, "status").read_text() == "143\n", "exit status 143")
    while processes_running([b"sleep", b"6017"]) and time.time() < deadline:
        time.sleep(0.05)
    check(not processes_running([b"sleep", b"6017"]), "the command was left running")


def closed_stdout_or_stderr_stays_closed_to_the_history(zav, directory):
    pathlib.Path(directory, "ZAV.cfg").write_text(
        CONFIG.replace("LOAD_HISTORY_FILE = FALSE", "LOAD_HISTORY_FILE = TRUE"))
    typed = b"echo output\nexh 99\nexit\n"  # exh writes its message to stderr
    for closed in (1, 2):
        pathlib.Path(directory, ".zav_history").write_bytes(b"")
        subprocess.run([zav], cwd=directory, input=typed, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, preexec_fn=lambda: os.close(closed), timeout=30)
        history = pathlib.Path(directory, ".zav_history").read_bytes()
        check(history == typed, "fd %d closed, only typed lines: %r" % (closed, history[:200]))


SLOW_COMMANDS = """<ZAV CONTROL COMMANDS>
ZAV() {
    NAME = one
    LOGIC =  -c 1
    INFO = One
}
MCU(three) {
    one
    one
    one
};
"""


def ctrl_c_stops_the_whole_line(zav, directory):
    slow = pathlib.Path(directory, "slow_tshark.sh")
    slow.write_text("#!/bin/sh\necho run >> runs.log\nexec sleep 60\n")
    slow.chmod(0o755)
    pathlib.Path(directory, "ZAV.cfg").write_text(
        CONFIG.replace("LOAD_CMD_ZAV_FILE = FALSE", "LOAD_CMD_ZAV_FILE = TRUE")
        .replace("TSHARK_EXE_PATH = tshark;", "TSHARK_EXE_PATH = %s;" % slow))
    pathlib.Path(directory, "CMD.zav").write_text(SLOW_COMMANDS)
    session = start(zav, directory)
    session.send(b"exmcu three\r")
    wait_for_program(session, "sleep")
    session.send(CTRL_C)
    session.prompts += 1
    session.read_until(PROMPT, count=session.prompts, timeout=20)
    check(b"\r\n+ Interrupted.\r\n" in session.output, "reported: %r" % session.output[-200:])
    runs = pathlib.Path(directory, "runs.log").read_text()
    check(runs == "run\n", "one run only: %r" % runs)
    leave(session)


def no_color_turns_colours_off(zav, directory):
    session = PtySession([zav], directory, env=dict(os.environ, NO_COLOR=""))
    session.read_until(b"ZAV> ")
    session.send(b"exit\n")
    check(session.finish() == 0, "exit status 0")
    check(re.search(rb"\x1b\[[0-9;]*m", session.output) is None,
          "no colour: %r" % session.output[:80])


def pipe_gets_plain_text(zav, directory):
    result = subprocess.run([zav], cwd=directory, input=b"exit\n", stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, timeout=30)
    check(b"\x1b" not in result.stdout, "no escape sequence on a pipe: %r" % result.stdout[:80])
    check(result.stdout.endswith(b"\nZAV> \n"), "plain prompt on a pipe")


def interrupt_and_end_of_input_keep_the_shell(zav, directory):
    session = PtySession([zav], directory)
    session.read_until(PROMPT)
    session.send(b"\x03")  # Ctrl-C at the prompt: a new prompt
    session.read_until(PROMPT, count=2)
    session.send(b"\x04")  # Ctrl-D on an empty line: a new prompt
    session.read_until(PROMPT, count=3)
    session.send(b"echo alive\n")
    session.read_until(b"alive\r\n")
    session.send(b"exit\n")
    check(session.finish() == 0, "exit status 0")


COMMAND_FILE = """<ZAV CONTROL COMMANDS>
ZAV() {
    NAME = dns
    LOGIC = -Y dns && udp
    INFO = DNS
}
"""


def ulogic_uses_the_terminal_clipboard(zav, directory):
    pathlib.Path(directory, "ZAV.cfg").write_text(
        CONFIG.replace("LOAD_CMD_ZAV_FILE = FALSE", "LOAD_CMD_ZAV_FILE = TRUE"))
    pathlib.Path(directory, "CMD.zav").write_text(COMMAND_FILE)
    session = PtySession([zav], directory)
    session.read_until(PROMPT)
    session.send(b"ulogic dns\n")
    copy = b"\x1b]52;c;" + base64.b64encode(b"-Y dns && udp") + b"\x07"
    out = session.read_until(copy)
    check(out.index(b'Please enter new logic for ZAV/WIN CMD "dns": ') < out.index(copy),
          "the prompt comes before the copy")
    # The line editor offers the old logic for editing; once it is shown,
    # Ctrl-U erases it.
    session.read_until(b'\rPlease enter new logic for ZAV/WIN CMD "dns": -Y dns && udp')
    session.send(b"\x15-Y http\n")
    out = session.read_until(b"\x1b]52;c;!\x07")
    check(b"clipboard" not in out and b"Clipboard" not in out, "no clipboard message: %r"
          % out[-200:])
    session.read_until(PROMPT, count=2)
    session.send(b"logic dns\n")
    session.read_until(b": -Y http\r\n")
    session.send(b"exit\n")
    check(session.finish() == 0, "exit status 0")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zav", required=True)
    args = parser.parse_args()
    zav = str(pathlib.Path(args.zav).resolve())
    tests = [prompt_is_coloured_on_a_terminal, pipe_gets_plain_text,
             interrupt_and_end_of_input_keep_the_shell, ulogic_uses_the_terminal_clipboard,
             typing_and_editing_with_arrows, up_recalls_accepted_lines,
             up_recalls_the_history_file, tab_completes_file_names,
             tab_completes_command_and_capture_names, ulogic_offers_the_old_logic,
             ctrl_c_discards_the_line, ctrl_c_stops_only_the_running_command,
             sigterm_ends_the_command_and_the_shell,
             sigterm_without_a_terminal_ends_the_command,
             closed_stdout_or_stderr_stays_closed_to_the_history,
             ctrl_c_stops_the_whole_line, no_color_turns_colours_off]
    failed = 0
    for test in tests:
        directory = tempfile.mkdtemp(prefix="zav-pty-")
        try:
            pathlib.Path(directory, "ZAV.cfg").write_text(CONFIG)
            test(zav, directory)
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
