#!/usr/bin/env python3
"""The demo as a person meets it: on a terminal, not through a pipe.

Usage: demo_terminal.py COMMAND... (the command that starts the demo program)

Runs the narrated session and then the prompt under a pseudo-terminal, waits
for what a person would see before typing, and checks the session's key lines
and one command's answer. Wine's console host draws on the terminal with
cursor movements; they are reduced to the plain text a person reads.
"""
import fcntl
import os
import pty
import re
import select
import struct
import sys
import termios
import time

TIMEOUT_SECONDS = 90
RAW_MODE_GRACE_SECONDS = 3
CURSOR_FORWARD = re.compile(rb"\x1b\[(\d*)C")
OTHER_ESCAPES = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]|\x1b\][^\x07]*\x07|\r")


def screen_text(raw):
    text = CURSOR_FORWARD.sub(lambda m: b" " * int(m.group(1) or 1), raw)
    return OTHER_ESCAPES.sub(b"", text).decode("utf-8", "replace")


class Terminal:
    def __init__(self, command):
        self.raw = b""
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execvp(command[0], command)
        fcntl.ioctl(self.fd, termios.TIOCSWINSZ, struct.pack("HHHH", 40, 120, 0, 0))
        self.deadline = time.monotonic() + TIMEOUT_SECONDS

    def text(self):
        return screen_text(self.raw)

    def _read_some(self):
        remaining = self.deadline - time.monotonic()
        if remaining <= 0:
            return False
        ready, _, _ = select.select([self.fd], [], [], remaining)
        if not ready:
            return False
        try:
            chunk = os.read(self.fd, 4096)
        except OSError:  # the other side closed: the program ended
            return False
        self.raw += chunk
        return bool(chunk)

    def wait_for(self, expected, after=0):
        while expected not in self.text()[after:]:
            if not self._read_some():
                fail(f"never saw {expected!r} on the terminal", self)
        return self.text().index(expected, after) + len(expected)

    def type(self, line):
        # A person types once the prompt is up and the program reads. Wine's
        # console host takes the terminal out of line mode only when the
        # program starts reading, so wait for that, as a person's pace does.
        # A native console stays in line mode; under Wine it leaves it in moments.
        deadline = time.monotonic() + RAW_MODE_GRACE_SECONDS
        while termios.tcgetattr(self.fd)[3] & termios.ICANON and time.monotonic() < deadline:
            time.sleep(0.05)
        # Enter on a terminal sends a carriage return.
        os.write(self.fd, line.encode() + b"\r")

    def finish(self):
        while self._read_some():
            pass
        _, status = os.waitpid(self.pid, 0)
        return os.waitstatus_to_exitcode(status)


def fail(message, terminal):
    print(f"FAIL: {message}\n--- the terminal showed ---\n{terminal.text()}\n---")
    sys.exit(1)


def check_narrated(command):
    terminal = Terminal(command)
    lines = [
        "== Start ==",
        "> steamInit(&languageSlot, &availableLanguagesSlot) -> true",
        "> steamAchievement(",
        "== Stop ==",
        "> steamFree() -> true",
    ]
    at = 0
    for line in lines:
        at = terminal.wait_for(line, at)
    status = terminal.finish()
    if status != 0:
        fail(f"the narrated session exited with {status}", terminal)


def check_interactive(command):
    terminal = Terminal(command + ["--interactive"])
    at = terminal.wait_for("steam>")
    terminal.type("status")
    at = terminal.wait_for("> steamStatus() -> ", at)
    at = terminal.wait_for("steam>", at)
    terminal.type("quit")
    terminal.wait_for("> steamFree() -> true", at)
    status = terminal.finish()
    if status != 0:
        fail(f"the prompt exited with {status}", terminal)


def main():
    command = sys.argv[1:]
    if not command:
        sys.exit(__doc__)
    check_narrated(command)
    check_interactive(command)
    print("the demo on a terminal: narrated session and prompt as a person sees them")


if __name__ == "__main__":
    main()
