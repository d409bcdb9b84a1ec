"""Runs the program on a pseudo-terminal and checks the final key wait:
one key ends the run without Enter or echo, every key counts (Ctrl-C,
Ctrl-S, arrows, non-ASCII letters), the shell's prompt then starts on a line
of its own, nothing typed or pasted is left for the shell, and the terminal
settings are the same afterwards whatever ended the run: a key, a signal, or
a stop and continue from a job-control shell. The Windows program, given,
runs under wine's terminal console too."""

import contextlib
import fcntl
import os
import re
import signal
import subprocess
import sys
import tempfile
import termios
import time

PROGRAM = os.path.abspath(sys.argv[1])
# Optional: wine, its prefix and the Windows program, run on the terminal too.
WINE = sys.argv[2:5]
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


class Paste(bytes):
    """A step that pastes its bytes as fast as the terminal takes them."""


def list_folder():
    """A temporary folder with a small word list."""
    folder = tempfile.TemporaryDirectory()
    with open(os.path.join(folder.name, "EnglishWL.txt"), "w") as words:
        words.write("a\ni\n")
    return folder


@contextlib.contextmanager
def new_terminal():
    """A pseudo-terminal: its two ends and its settings before any run."""
    master, slave = os.openpty()
    try:
        yield master, slave, termios.tcgetattr(slave)
    finally:
        os.close(master)
        os.close(slave)


def report(name, problems):
    print("%s: %s" % (name, "; ".join(problems) if problems else "ok"))
    return not problems


def take_terminal_ignoring_hup():
    take_terminal()
    signal.signal(signal.SIGHUP, signal.SIG_IGN)


def left_for_the_shell(slave):
    """Reads what is still queued, in non-canonical mode: canonical mode
    would report only complete lines."""
    settings = termios.tcgetattr(slave)
    raw = list(settings)
    raw[3] &= ~termios.ICANON
    raw[6] = list(raw[6])
    raw[6][termios.VMIN] = 0
    raw[6][termios.VTIME] = 0
    termios.tcsetattr(slave, termios.TCSANOW, raw)
    left = read_available(slave)
    termios.tcsetattr(slave, termios.TCSANOW, settings)
    return left


def paste(master, data, seconds=5.0):
    """Writes `data` as fast as the terminal takes it; returns what it could
    not write before the deadline."""
    deadline = time.monotonic() + seconds
    while data and time.monotonic() < deadline:
        try:
            data = data[os.write(master, data):]
        except BlockingIOError:
            time.sleep(0.001)
    return data


def run_case(name, steps=(), output_to_file=False, expected_status=0, ignore_hup=False):
    """Starts the program on a new terminal, and once it waits for the key
    takes the steps: bytes are typed, a number is a pause in seconds, a
    signal is sent, and a Paste is pasted whole."""
    problems = []
    with new_terminal() as (master, slave, before), list_folder() as folder:
        out_path = os.path.join(folder, "out")
        out = open(out_path, "wb") if output_to_file else slave
        proc = subprocess.Popen([PROGRAM], cwd=folder, stdin=slave, stdout=out, stderr=slave,
                                preexec_fn=take_terminal_ignoring_hup if ignore_hup else take_terminal)
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
        unpasted = b""
        for step in steps:
            if isinstance(step, signal.Signals):
                proc.send_signal(step)
            elif isinstance(step, float):
                time.sleep(step)
            elif isinstance(step, Paste):
                unpasted += paste(master, step)
            else:
                os.write(master, step)
        try:
            status = proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            status = proc.wait()
            problems.append("did not end after the key or signal")
        screen += read_available(master)
        text = written()

        # A key ends the run, and on a terminal the shell's prompt then
        # starts on a line of its own; a signal ends it at the prompt.
        ending = b"\n" if expected_status == 0 and not output_to_file else b""
        if status != expected_status:
            problems.append("exit status %d, expected %d" % (status, expected_status))
        if not text.endswith(PROMPT + ending):
            problems.append("output does not end at the prompt (key echoed?): %r" % text[-40:])
        lines = text.split(b"\n")
        if len(lines) != 7 + len(ending) or any(len(line) != 6 for line in lines[:3]):
            problems.append("unexpected layout: %r" % text[:200])
        if termios.tcgetattr(slave) != before:
            problems.append("terminal settings not restored")
        left = unpasted + left_for_the_shell(slave)
        if left:
            problems.append("%d bytes left for the shell: %r" % (len(left), left[:40]))
    return report(name, problems)


def run_in_shell(name, steps):
    """Runs the program from an interactive job-control shell, which stops,
    resumes and reports it as a user's shell would. The steps are typed at
    the shell or the program; a signal goes to the program, and the name of
    a check waits for it to hold."""
    problems = []
    with new_terminal() as (master, slave, before), list_folder() as folder:
        shell = subprocess.Popen(["bash", "--norc", "--noprofile", "--noediting", "-i"], stdin=slave, stdout=slave,
                                 stderr=slave, preexec_fn=take_terminal, env=dict(os.environ, PS1="$ "))
        screen = b""
        pid = None

        def shown(text):
            nonlocal screen
            screen += read_available(master)
            return text in screen

        def waiting():
            return termios.tcgetattr(slave)[3] & WAIT_FLAGS == 0 and shown(PROMPT.strip())

        def gone():
            """The program has ended (the shell may not have reaped it yet)."""
            try:
                with open("/proc/%d/stat" % pid) as stat:
                    return stat.read().rsplit(")", 1)[1].split()[0] in ("Z", "X")
            except OSError:  # reaped, or going as it was read
                return True

        checks = {"waiting": waiting, "stopped": lambda: shown(b"Stopped"),
                  "ended": lambda: shown(b"status=0"), "gone": gone}
        os.write(master, b"cd %s; %s\n" % (folder.encode(), PROGRAM.encode()))
        for step in steps:
            if isinstance(step, signal.Signals):
                pid = pid or os.tcgetpgrp(master)
                os.kill(pid, step)
            elif isinstance(step, float):
                time.sleep(step)
            elif step in checks:
                if not wait_until(checks[step], 10):
                    problems.append("not %s: %r" % (step, screen[-80:]))
                    break
            else:
                os.write(master, step)
        if termios.tcgetattr(slave)[3] & WAIT_FLAGS != before[3] & WAIT_FLAGS:
            problems.append("terminal left in raw mode")
        # A second exit leaves even with a job the shell still counts as stopped.
        os.write(master, b"exit\n")
        if not wait_until(lambda: shell.poll() is not None, 3):
            os.write(master, b"exit\n")
        try:
            shell.wait(timeout=10)
        except subprocess.TimeoutExpired:
            shell.kill()
            shell.wait()
            problems.append("the shell did not exit")
    return report(name, problems)


SHELL_CASES = [
    ("SIGTSTP, fg, then a key",
     ["waiting", signal.SIGTSTP, "stopped", b"fg; echo status=$?\n", "waiting", b"x", "ended"]),
    # The shell's kill sends a stopped job SIGTERM and SIGCONT: the program
    # goes on in the background and must still end.
    ("SIGTERM in the background", ["waiting", signal.SIGSTOP, "stopped", b"kill %1\n", "gone"]),
]


def run_under_wine(name, key):
    """The Windows program under wine's terminal console: the key ends it,
    and the terminal is as it was before."""
    problems = []
    wine, prefix, program = WINE[0], os.path.abspath(WINE[1]), os.path.abspath(WINE[2])
    with new_terminal() as (master, slave, before), list_folder() as folder:
        proc = subprocess.Popen([wine, program], cwd=folder, stdin=slave, stdout=slave, stderr=slave,
                                preexec_fn=take_terminal,
                                env=dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all"))
        screen = b""

        def prompt_shown():
            nonlocal screen
            screen += read_available(master)
            # wine's console draws the text between cursor movements, and
            # moves over spaces
            return PROMPT.strip().replace(b" ", b"") in re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]| ", b"", screen)

        if not wait_until(prompt_shown, 60):
            problems.append("no prompt: %r" % screen[-80:])
        time.sleep(0.5)  # the console reads its input only once the program asks for it
        os.write(master, key)
        try:
            if proc.wait(timeout=20) != 0:
                problems.append("exit status %d" % proc.returncode)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            problems.append("did not end after the key")
        if termios.tcgetattr(slave) != before:
            problems.append("terminal settings not restored")
    return report(name, problems)


WINE_CASES = [("a letter", b"x"), ("Up arrow", b"\x1b[A")]

PASTE = b"".join(b"line %05d of a long pasted text that goes on\n" % i for i in range(450)) + b"touch LEAK\n"

CASES = [
    ("a key, no Enter", dict(steps=[b"x"])),
    ("Ctrl-C is the key", dict(steps=[b"\x03"])),
    ("Ctrl-S is the key", dict(steps=[b"\x13"])),
    ("Ctrl-Q is the key", dict(steps=[b"\x11"])),
    ("Up arrow", dict(steps=[b"\x1b[A"])),
    ("Up arrow in two writes", dict(steps=[b"\x1b", 0.005, b"[A"])),
    ("F5", dict(steps=[b"\x1b[15~"])),
    ("Alt+x", dict(steps=[b"\x1bx"])),
    ("e acute, two UTF-8 bytes", dict(steps=["\u00e9".encode()])),
    ("a 20 KB paste ending in a command line", dict(steps=[Paste(PASTE)])),
    ("a key, then a command 20 ms later", dict(steps=[b"x", 0.02, b"echo LEAK\r"])),
    ("SIGTERM during the wait", dict(steps=[signal.SIGTERM], expected_status=-signal.SIGTERM)),
    ("SIGHUP during the wait", dict(steps=[signal.SIGHUP], expected_status=-signal.SIGHUP)),
    ("SIGINT during the wait", dict(steps=[signal.SIGINT], expected_status=-signal.SIGINT)),
    ("SIGQUIT during the wait", dict(steps=[signal.SIGQUIT], expected_status=-signal.SIGQUIT)),
    ("SIGUSR1 during the wait", dict(steps=[signal.SIGUSR1], expected_status=-signal.SIGUSR1)),
    ("SIGALRM during the wait", dict(steps=[signal.SIGALRM], expected_status=-signal.SIGALRM)),
    ("SIGPIPE during the wait", dict(steps=[signal.SIGPIPE], expected_status=-signal.SIGPIPE)),
    ("an ignored SIGHUP stays ignored", dict(steps=[signal.SIGHUP, 0.2, b"x"], ignore_hup=True)),
    ("output to a file", dict(steps=[b"q"], output_to_file=True)),
]

results = [run_case(name, **options) for name, options in CASES]
results += [run_in_shell(name, steps) for name, steps in SHELL_CASES]
if WINE:
    results += [run_under_wine("Windows program, " + name, key) for name, key in WINE_CASES]
passed = sum(results)
print("%d passed, %d failed" % (passed, len(results) - passed))
sys.exit(0 if all(results) else 1)
