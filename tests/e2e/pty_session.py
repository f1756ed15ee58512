"""Runs zav under a pseudo-terminal, for tests of what a terminal user sees."""
import os
import pty
import select
import signal
import subprocess
import time


class PtySession:
    def __init__(self, argv, cwd, env=None):
        self.master, slave = pty.openpty()
        environment = dict(os.environ if env is None else env)
        environment.setdefault("TERM", "xterm")
        self.process = subprocess.Popen(argv, cwd=cwd, stdin=slave, stdout=slave, stderr=slave,
                                        env=environment, start_new_session=True,
                                        preexec_fn=self._take_terminal)
        os.close(slave)
        self.output = b""

    @staticmethod
    def _take_terminal():
        # Make the pseudo-terminal the child's controlling terminal so that
        # Ctrl-C typed into it reaches the child's foreground process group.
        import fcntl
        import termios
        fcntl.ioctl(0, termios.TIOCSCTTY, 0)

    def read_until(self, needle, timeout=10.0, count=1):
        """Reads until `needle` (bytes) has appeared `count` times in all the
        output so far; returns all output."""
        deadline = time.time() + timeout
        while self.output.count(needle) < count:
            remaining = deadline - time.time()
            if remaining <= 0:
                raise AssertionError("timed out waiting for %r; got %r" % (needle, self.output[-600:]))
            ready, _, _ = select.select([self.master], [], [], remaining)
            if ready:
                try:
                    chunk = os.read(self.master, 65536)
                except OSError:
                    chunk = b""
                if not chunk:
                    raise AssertionError("terminal closed waiting for %r; got %r" % (needle, self.output[-600:]))
                self.output += chunk
        return self.output

    def send(self, data):
        os.write(self.master, data)

    def finish(self, timeout=10.0):
        """Reads everything until the child ends; returns its exit status."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            ready, _, _ = select.select([self.master], [], [], 0.1)
            if ready:
                try:
                    chunk = os.read(self.master, 65536)
                except OSError:
                    chunk = b""
                if chunk:
                    self.output += chunk
                    continue
            if self.process.poll() is not None:
                break
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            raise AssertionError("zav did not end; got %r" % self.output[-600:])
        os.close(self.master)
        return self.process.returncode
