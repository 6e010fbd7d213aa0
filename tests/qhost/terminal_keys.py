#!/usr/bin/python3
"""qhost at a terminal (a pseudo-terminal): F1 shows the wait's help, a lone Escape cancels the
wait, Up brings back the line typed before (also from an earlier session, through the history
file), Ctrl+R finds a line typed before. Usage: terminal_keys.py QHOST"""
import os
import pty
import select
import subprocess
import sys
import tempfile
import time

F1, ESCAPE, UP, CTRL_R = b"\x1bOP", b"\x1b", b"\x1b[A", b"\x12"


class Terminal:
    def __init__(self, qhost, state):
        self.master, slave = pty.openpty()
        env = dict(os.environ, TERM="xterm", LANG="C.UTF-8", XDG_STATE_HOME=state, XDG_CONFIG_HOME=state)
        env.pop("LC_ALL", None)
        self.process = subprocess.Popen([qhost, "--no-module"], stdin=slave, stdout=slave, stderr=slave,
                                        env=env, close_fds=True, start_new_session=True)
        os.close(slave)
        self.seen = b""

    def wait_for(self, expected, what, seconds=20):
        """Reads until `expected` shows after what was seen before; fails naming `what`."""
        start = len(self.seen)
        deadline = time.monotonic() + seconds
        while expected not in self.seen[start:]:
            left = deadline - time.monotonic()
            ready = select.select([self.master], [], [], max(left, 0))[0] if left > 0 else []
            chunk = b""
            if ready:
                try:
                    chunk = os.read(self.master, 4096)
                except OSError:
                    chunk = b""
            if not chunk:
                sys.exit("FAIL %s: %r did not come; the terminal shows:\n%r" % (what, expected, self.seen[start:]))
            self.seen += chunk
        return self.seen[start:]

    def prompt(self, text, what):
        """Waits for the line editor to draw `text` again from the line's start: it then reads
        the keys itself (before, the terminal's own line discipline would take them)."""
        shown = self.wait_for(b"\r" + text, what)
        time.sleep(0.2)  # libedit draws the prompt a moment before it takes the terminal over
        return shown

    def send(self, keys):
        os.write(self.master, keys)

    def close(self):
        self.process.wait(timeout=20)
        os.close(self.master)
        return self.process.returncode


def main():
    qhost = sys.argv[1]
    with tempfile.TemporaryDirectory() as state:
        t = Terminal(qhost, state)
        t.prompt(b"Command: ", "the first prompt")
        t.send(F1)
        # The help ends the line; the wait goes on at the next line, without a prompt of its own.
        shown = t.wait_for(b"+--\r\n\r", "F1 at the command prompt")
        time.sleep(0.2)
        for part in (b"!help", b"+-- help: Command:", b"commands:", b"LINE"):
            if part not in shown:
                sys.exit("FAIL F1 shows the help: %r is not in\n%r" % (part, shown))

        t.send(b"LINE\r")
        t.prompt(b"Specify first point: ", "LINE asks for a point")
        t.send(ESCAPE)
        shown = t.prompt(b"Command: ", "Escape at a point prompt")
        if b"*Cancel*" not in shown:
            sys.exit("FAIL Escape cancels the wait as !escape does:\n%r" % shown)

        # Up: the line typed before comes back (F1 and Escape are not kept as lines).
        t.send(UP + b"\r")
        shown = t.prompt(b"Specify first point: ", "Up and Enter repeat LINE")
        t.send(ESCAPE)
        t.prompt(b"Command: ", "Escape again")

        t.send(b"LIST\r")
        t.prompt(b"Select object: ", "LIST asks for an object")
        t.send(ESCAPE)
        t.prompt(b"Command: ", "Escape at LIST")
        # The search redraws only what changes, so what it found shows when Enter runs it.
        t.send(CTRL_R + b"LIN")
        t.wait_for(b"N", "Ctrl+R searches")
        t.send(b"\r")
        t.prompt(b"Specify first point: ", "Enter runs the line Ctrl+R found")
        t.send(ESCAPE)
        t.prompt(b"Command: ", "Escape after the search")
        t.send(b"QUIT\r")
        status = t.close()
        if status != 0:
            sys.exit("FAIL QUIT ends qhost with status 0, not %d:\n%r" % (status, t.seen))

        history = os.path.join(state, "quillon", "history")
        if not os.path.exists(history):
            sys.exit("FAIL the history is kept in %s" % history)

        # A new session brings back the last session's lines.
        t = Terminal(qhost, state)
        t.prompt(b"Command: ", "the first prompt of the second session")
        t.send(UP + UP + b"\r")
        t.prompt(b"Specify first point: ", "Up twice brings back LINE from the session before")
        t.send(ESCAPE)
        t.prompt(b"Command: ", "Escape in the second session")
        t.send(b"QUIT\r")
        t.close()
    print("terminal keys: F1, Escape, Up, Ctrl+R and the kept history work")


if __name__ == "__main__":
    main()
