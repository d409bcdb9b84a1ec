"""Runs the program on a pseudo-terminal and checks the final key wait:
one key ends the run without Enter or echo, every key counts (Ctrl-C,
Ctrl-S, arrows, non-ASCII letters), nothing of the key is left for the
shell, and the terminal settings are the same afterwards whatever ended the
run."""

import array
import fcntl
import os
import signal
import subprocess
import sys
import tempfile
import termios
import time

PROGRAM = os.path.abspath(sys.argv[1])
PROMPT = b"\nPress any key to continue..."
WAIT_FLAGS = termios.ICANON | termios.ECHO | termios.ISIG


def wait_until(condition, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.01)
    return False


def read_available(fd):
    data = b""
    os.set_blocking(fd, False)
    try:
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                break
            data += chunk
    except (BlockingIOError, OSError):
        pass
    return data


def take_terminal():
    os.setsid()
    fcntl.ioctl(0, termios.TIOCSCTTY, 0)


def run_case(name, key=(), signal_number=None, output_to_file=False, expected_status=0):
    problems = []
    master, slave = os.openpty()
    before = termios.tcgetattr(slave)
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "EnglishWL.txt"), "w") as words:
            words.write("a\ni\n")
        out_path = os.path.join(folder, "out")
        out = open(out_path, "wb") if output_to_file else slave
        proc = subprocess.Popen([PROGRAM], cwd=folder, stdin=slave, stdout=out, stderr=slave,
                                preexec_fn=take_terminal)
        if output_to_file:
            out.close()

        def written():
            if output_to_file:
                with open(out_path, "rb") as f:
                    return f.read()
            return screen.replace(b"\r\n", b"\n")

        screen = b""

        def prompt_shown_and_waiting():
            nonlocal screen
            screen += read_available(master)
            in_wait = termios.tcgetattr(slave)[3] & WAIT_FLAGS == 0
            return in_wait and written().endswith(PROMPT)

        if not wait_until(prompt_shown_and_waiting):
            problems.append("never reached the key wait with the prompt shown: %r" % written())
        if proc.poll() is not None:
            problems.append("ended before any key")
        for i, chunk in enumerate(key):  # the chunks of one key press, a little apart
            if i > 0:
                time.sleep(0.005)
            os.write(master, chunk)
        if signal_number is not None:
            proc.send_signal(signal_number)
        try:
            status = proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            status = proc.wait()
            problems.append("did not end after the key or signal")
        screen += read_available(master)
        text = written()

        if status != expected_status:
            problems.append("exit status %d, expected %d" % (status, expected_status))
        if not text.endswith(PROMPT):
            problems.append("output does not end at the prompt (key echoed?): %r" % text[-40:])
        lines = text.split(b"\n")
        if len(lines) != 7 or any(len(line) != 6 for line in lines[:3]):
            problems.append("unexpected layout: %r" % text)
        if termios.tcgetattr(slave) != before:
            problems.append("terminal settings not restored")
        queued = array.array("i", [0])
        fcntl.ioctl(slave, termios.FIONREAD, queued)
        if queued[0] != 0:
            problems.append("%d bytes left for the shell" % queued[0])
    os.close(master)
    os.close(slave)
    print("%s: %s" % (name, "; ".join(problems) if problems else "ok"))
    return not problems


CASES = [
    ("a key, no Enter", dict(key=[b"x"])),
    ("Ctrl-C is the key", dict(key=[b"\x03"])),
    ("Ctrl-S is the key", dict(key=[b"\x13"])),
    ("Ctrl-Q is the key", dict(key=[b"\x11"])),
    ("Up arrow", dict(key=[b"\x1b[A"])),
    ("Up arrow in two writes", dict(key=[b"\x1b", b"[A"])),
    ("F5", dict(key=[b"\x1b[15~"])),
    ("Alt+x", dict(key=[b"\x1bx"])),
    ("e acute, two UTF-8 bytes", dict(key=["\u00e9".encode()])),
    ("SIGTERM during the wait", dict(signal_number=signal.SIGTERM, expected_status=-signal.SIGTERM)),
    ("SIGHUP during the wait", dict(signal_number=signal.SIGHUP, expected_status=-signal.SIGHUP)),
    ("SIGINT during the wait", dict(signal_number=signal.SIGINT, expected_status=-signal.SIGINT)),
    ("SIGQUIT during the wait", dict(signal_number=signal.SIGQUIT, expected_status=-signal.SIGQUIT)),
    ("output to a file", dict(key=[b"q"], output_to_file=True)),
]

results = [run_case(name, **options) for name, options in CASES]
passed = sum(results)
print("%d passed, %d failed" % (passed, len(results) - passed))
sys.exit(0 if all(results) else 1)
