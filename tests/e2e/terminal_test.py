#!/usr/bin/env python3
"""What a terminal shows, checked under a pseudo-terminal: colours and the
title reach a terminal as escape sequences, never a pipe; Ctrl-C at the
prompt and Ctrl-D do not end the shell; ulogic puts the old logic on the
terminal's clipboard (OSC 52) and clears it afterwards."""
import argparse
import base64
import pathlib
import shutil
import subprocess
import sys
import tempfile

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
PROMPT = b"ZAV" + GREEN + b"> " + NORMAL


class Skipped(Exception):
    pass


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
    session.send(b"logic dns\n")
    out = session.read_until(PROMPT, count=2)
    if b"+ cmd dns is not valid" in out:
        # Only until the command file loader is part of the build.
        session.send(b"exit\n")
        session.finish()
        raise Skipped("no command file loader in this build")
    session.send(b"ulogic dns\n")
    copy = b"\x1b]52;c;" + base64.b64encode(b"-Y dns && udp") + b"\x07"
    out = session.read_until(copy)
    check(out.index(b'Please enter new logic for ZAV/WIN CMD "dns": ') < out.index(copy),
          "the prompt comes before the copy")
    # Ctrl-U first: where the line editor offers the old logic, it is erased.
    session.send(b"\x15-Y http\n")
    out = session.read_until(b"\x1b]52;c;!\x07")
    check(b"clipboard" not in out and b"Clipboard" not in out, "no clipboard message: %r"
          % out[-200:])
    session.read_until(PROMPT, count=3)
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
             interrupt_and_end_of_input_keep_the_shell, ulogic_uses_the_terminal_clipboard]
    failed = 0
    for test in tests:
        directory = tempfile.mkdtemp(prefix="zav-pty-")
        try:
            pathlib.Path(directory, "ZAV.cfg").write_text(CONFIG)
            test(zav, directory)
            print("ok   %s" % test.__name__)
        except Skipped as reason:
            print("skip %s: %s" % (test.__name__, reason))
        except AssertionError as error:
            failed += 1
            print("FAIL %s: %s" % (test.__name__, error))
        finally:
            shutil.rmtree(directory, ignore_errors=True)
    print("%d passed, %d failed" % (len(tests) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
