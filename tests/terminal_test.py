"""Runs the program on a pseudo-terminal and checks the final key wait:
one key ends the run without Enter or echo, every key counts (Ctrl-C,
Ctrl-S, arrows, non-ASCII letters), the shell's prompt then starts on a line
of its own, nothing typed or pasted is left for the shell, and the terminal
settings are the same afterwards whatever ended the run: a key, a signal, a
stop and continue from a job-control shell, or a start in the background.
The Windows program, given, runs under wine's terminal console too, and on
NUL and a pipe.

Each row runs alone with --row and its name from --list, as CTest does."""

import argparse
import contextlib
import fcntl
import os
import re
import resource
import signal
import subprocess
import sys
import tempfile
import termios
import time

ARGUMENTS = argparse.ArgumentParser(description=__doc__)
ARGUMENTS.add_argument("program")
ARGUMENTS.add_argument("wine", nargs="*", help="wine, its prefix and the Windows program, run on the terminal too")
ARGUMENTS.add_argument("--list", action="store_true", help="print the rows' names, for these arguments and the "
                       "environment (WORDGRID_EMULATED, WORDGRID_SLOW_RAISE), and run none")
ARGUMENTS.add_argument("--row", help="run only the row of this name")
OPTIONS = ARGUMENTS.parse_args()
if len(OPTIONS.wine) not in (0, 3):
    ARGUMENTS.error("wine needs its prefix and the Windows program")
PROGRAM = os.path.abspath(OPTIONS.program)
WINE = OPTIONS.wine
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
    """Makes the terminal, standard error in every run, the controlling one
    of a new session."""
    os.setsid()
    fcntl.ioctl(2, termios.TIOCSCTTY, 0)


class Paste(bytes):
    """A step that pastes its bytes as fast as the terminal takes them."""


class Burst(bytes):
    """A step that types its bytes amid SIGCONTs sent for half a second, or
    until the program ends: past the wait's drain and restore."""


class Stream(bytes):
    """A step that types its bytes every 10 ms, for at most 5 s, until the
    wait has given the terminal back: that must take at most the wait's bound
    of one second, with some slack (it takes 1.02 s)."""


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


def stream(master, data, waiting):
    """Types `data` every 10 ms while `waiting()`, for at most 5 s; returns
    the problem if the wait held out past its one-second bound, with slack."""
    started = time.monotonic()
    while waiting() and time.monotonic() - started < 5:
        os.write(master, data)
        time.sleep(0.01)
    held = time.monotonic() - started
    return ["input that never went quiet held the wait for %.1f s" % held] if held > 1.5 else []


def run_case(name, steps=(), output_to_file=False, expected_status=0, ignored=(), blocked=(), typed_early=b"",
             nonblocking=False, leak_check=True, controlling=True, piped_input=False, beside=None):
    """Starts the program on a new terminal, as its session's leader, and
    once it waits for the key takes the steps: bytes are typed, a number is a
    pause in seconds, a signal is sent, a Paste, a Burst or a Stream as they
    say, and "cooked" sets the terminal back to its first settings from
    outside. The program inherits the signals `ignored` as ignored and
    `blocked` as blocked. `typed_early` is typed before the program starts;
    `nonblocking` sets O_NONBLOCK on the terminal, as a parent may. Without
    `controlling`, the terminal is not the session's; with `piped_input`, the
    keys come through a pipe. Without `leak_check`, a sanitizer build skips
    its leak check at exit. `beside` is a shell command run in the program's
    group before it starts. `expected_status` may be a tuple of those allowed."""
    problems = []
    with new_terminal() as (master, slave, before), list_folder() as folder:
        out_path = os.path.join(folder, "out")
        out = open(out_path, "wb") if output_to_file else slave
        if nonblocking:
            os.set_blocking(slave, False)
        file_flags = fcntl.fcntl(slave, fcntl.F_GETFL)

        def start():
            if controlling:
                take_terminal()
            else:
                os.setsid()
            resource.setrlimit(resource.RLIMIT_CORE, (0, 0))  # no core files from the signals sent
            for number in ignored:
                signal.signal(number, signal.SIG_IGN)
            signal.pthread_sigmask(signal.SIG_BLOCK, blocked)
            if typed_early:
                os.write(master, typed_early)
                os.read(master, 64)  # its echo: the terminal has it, and the run's output starts clean

        env = dict(os.environ) if leak_check else dict(os.environ, ASAN_OPTIONS="detect_leaks=0")
        command = ["sh", "-c", beside + '; exec "$0"', PROGRAM] if beside else [PROGRAM]
        proc = subprocess.Popen(command, cwd=folder, stdin=subprocess.PIPE if piped_input else slave, stdout=out,
                                stderr=slave, preexec_fn=start, env=env)
        keys = proc.stdin.fileno() if piped_input else master
        if output_to_file:
            out.close()

        def written():
            if output_to_file:
                with open(out_path, "rb") as f:
                    return f.read()
            return screen.replace(b"\r\n", b"\n")

        screen = b""

        def in_wait():
            return termios.tcgetattr(slave)[3] & WAIT_FLAGS == 0

        def prompt_shown_and_waiting():
            nonlocal screen
            screen += read_available(master)
            return (piped_input or in_wait()) and written().endswith(PROMPT)

        if not wait_until(prompt_shown_and_waiting):
            problems.append("never reached the key wait with the prompt shown: %r" % written())
        if proc.poll() is not None:
            problems.append("ended before any key")
        unpasted = b""
        for step in steps:
            if isinstance(step, float):
                time.sleep(step)
            elif isinstance(step, int):
                proc.send_signal(step)
            elif step == "cooked":
                termios.tcsetattr(slave, termios.TCSANOW, before)
            elif isinstance(step, Paste):
                unpasted += paste(master, step)
            elif isinstance(step, Burst):
                os.write(master, step)
                started = time.monotonic()
                while proc.poll() is None and time.monotonic() - started < 0.5:
                    proc.send_signal(signal.SIGCONT)
            elif isinstance(step, Stream):
                problems += stream(master, step, in_wait)
            else:
                os.write(keys, step)
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
        ending = b"\n" if status == 0 and not output_to_file else b""
        # A stream's byte typed as the wait ended is the shell's, and the
        # terminal, given back, may echo it.
        streamed = b"".join(step for step in steps if isinstance(step, Stream))
        if streamed and text.endswith(PROMPT + streamed + ending):
            text = text[:-len(streamed + ending)] + ending
        if status not in (expected_status if isinstance(expected_status, tuple) else (expected_status,)):
            problems.append("exit status %d, expected %s" % (status, expected_status))
        if not text.endswith(PROMPT + ending):
            problems.append("output does not end at the prompt (key echoed?): %r" % text[-40:])
        lines = text.split(b"\n")
        if len(lines) != 7 + len(ending) or any(len(line) != 6 for line in lines[:3]):
            problems.append("unexpected layout: %r" % text[:200])
        if termios.tcgetattr(slave) != before:
            problems.append("terminal settings not restored")
        if fcntl.fcntl(slave, fcntl.F_GETFL) != file_flags:
            problems.append("file status flags changed")
        left = unpasted + left_for_the_shell(slave)
        if len(left) > (1 if streamed else 0):
            problems.append("%d bytes left for the shell: %r" % (len(left), left[:40]))
    return report(name, problems)


SHELLS = {"bash": ["bash", "--norc", "--noprofile", "--noediting", "-i"], "dash": ["dash", "-i"]}


def run_in_shell(name, steps, background=False, under="bash", prelude=b"", after=b""):
    """Runs the program from an interactive job-control shell, which stops,
    resumes and reports it as a user's shell would; `background` starts it
    with &, between the shell command's `prelude` and `after`. Unlike bash, dash gives a
    stopped job the terminal as it left it. The steps are typed at the shell or the program, a Paste pasted; a
    signal goes to the program, and the name of a check waits for it to
    hold. Nothing pasted may run as a command."""
    problems = []
    with new_terminal() as (master, slave, before), list_folder() as folder:
        shell = subprocess.Popen(SHELLS[under], stdin=slave, stdout=slave, stderr=slave, preexec_fn=take_terminal,
                                 env=dict(os.environ, PS1="$ "))
        screen = b""
        pid = None

        def shown(text):
            nonlocal screen
            screen += read_available(master)
            return text in screen

        def waiting():
            return termios.tcgetattr(slave)[3] & WAIT_FLAGS == 0 and shown(PROMPT.strip())

        def gone():
            """The program has ended; the shell may not have reaped it, and
            need not have noticed: ps tells, on every system."""
            nonlocal pid
            if pid is None:  # the shell gives a job's number when it starts it in the background
                started = re.search(rb"\[1\] ([0-9]+)", screen)
                pid = int(started.group(1)) if started else os.tcgetpgrp(master)
            state = subprocess.run(["ps", "-o", "stat=", "-p", str(pid)], capture_output=True, text=True).stdout
            return state.strip()[:1] in ("", "Z")

        # set -b: bash reports a stopped job at once, not at its next prompt.
        checks = {"waiting": waiting, "stopped": lambda: shown(b"Stopped"), "prompted": lambda: shown(PROMPT.strip()),
                  "ended": lambda: shown(b"status=0"), "gone": gone,
                  "running": lambda: shown(PROMPT.strip()) and b"Stopped" not in screen,
                  "raw": lambda: termios.tcgetattr(slave)[3] & WAIT_FLAGS == 0,
                  "the shell's terminal": lambda: termios.tcgetattr(slave)[3] == before[3]}
        os.write(master, b"%scd %s; %s%s%s%s\n" % (b"set -b; " if under == "bash" else b"", folder.encode(), prelude,
                                                  PROGRAM.encode(), b" &" if background else b"", after))
        for step in steps:
            if isinstance(step, int):
                pid = pid or os.tcgetpgrp(master)
                os.kill(pid, step)
            elif isinstance(step, float):
                time.sleep(step)
            elif step in checks:
                if not wait_until(checks[step], 10):
                    problems.append("not %s: %r" % (step, screen[-80:]))
                    break
            elif isinstance(step, Paste):
                paste(master, step)
            else:
                os.write(master, step)
        time.sleep(0.2)
        if shown(b"PWNED-42"):
            problems.append("a pasted command ran")
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


COMMAND_PASTE = Paste(b"some pasted text\necho PWNED-$((6*7))\n")

SHELL_CASES = [
    ("SIGTSTP, fg, then a key",
     dict(steps=["waiting", signal.SIGTSTP, "stopped", b"fg; echo status=$?\n", "waiting", b"x", "ended"])),
    # Stopped by SIGTTOU, which the shell gives a cooked terminal back.
    ("SIGTTOU, fg, then a key, under dash",
     dict(steps=["waiting", signal.SIGTTOU, "stopped", "the shell's terminal", b"fg; echo status=$?\n", "waiting", b"x",
                 "ended"], under="dash")),
    # In the background, reading stops the program until fg.
    ("SIGSTOP, bg, fg, then a key",
     dict(steps=["waiting", signal.SIGSTOP, "stopped", b"bg\n", 0.3, b"fg; echo status=$?\n", "waiting", b"x",
                 "ended"])),
    # The shell's kill sends a stopped job SIGTERM and SIGCONT: the program
    # goes on in the background and must still end.
    ("SIGTERM in the background",
     dict(steps=["waiting", signal.SIGSTOP, "stopped", b"kill %1\n", "gone"])),
    # Started with &, the program is stopped before it takes the terminal.
    ("started in the background, fg, then a paste",
     dict(steps=["stopped", "the shell's terminal", b"fg; echo status=$?\n", "waiting", COMMAND_PASTE, "ended"],
          background=True)),
    ("started in the background, then killed",
     dict(steps=["stopped", "the shell's terminal", b"kill %1\n", "gone"], background=True)),
    # Not stopped then: it waits without the terminal, until the shell's fg
    # gives it back, which bash does without a signal.
    ("started in the background with SIGTTOU ignored, fg, then a key",
     dict(steps=[0.5, "the shell's terminal", b"fg; echo status=$?\n", "waiting", b"x", "ended"], background=True,
          prelude=b"trap '' TTOU; ")),
    # A command typed ahead while the shell runs another is the shell's: the
    # program neither reads it nor stops for it.
    ("started in the background with SIGTTOU ignored, a command typed ahead, fg, then a key",
     dict(steps=["running", b"sleep 1\n", 0.2, b"true\n", 1.5, "running", "the shell's terminal",
                 b"fg; echo status=$?\n", "waiting", b"x", "ended"], background=True, prelude=b"trap '' TTOU; ")),
] + [
    # A pager that set its settings before the wait's, and quits first, puts
    # back those it found: the wait must leave them. With a first screen
    # before the program's output, the pager reads first and takes the q; a
    # line then answers the wait on the cooked terminal.
    ("wordgrid | less on 4 rows, q, then a line, under " + shell,
     dict(steps=["raw", b"q", 0.5, b"x\r", "ended", "the shell's terminal"], under=shell,
          prelude=b"stty rows 4; { seq 5; sleep 0.3; ", after=b"; } | LESS= TERM=vt100 less; echo status=$?"))
    for shell in ("bash", "dash")
]
# With raise() a second slow (support/SlowRaise.cpp, on this machine's Linux
# only), a stop signal the program would raise itself comes after the fg: it
# would then stop in the foreground. The kernel's stop, from the background,
# comes before, and fg undoes it. ASan lets the preload go before its runtime.
if os.environ.get("WORDGRID_SLOW_RAISE") and sys.platform.startswith("linux"):
    SHELL_CASES.append(
        ("started in the background with raise() slow, fg, then a key",
         dict(steps=["prompted", 0.2, b"fg; echo status=$?\n", "waiting", b"x", "ended"], background=True,
              prelude=b"LD_PRELOAD=%s ASAN_OPTIONS=verify_asan_link_order=0 " %
              os.environ["WORDGRID_SLOW_RAISE"].encode())))


def run_under_wine(name, key=b"", given="console"):
    """The Windows program under wine's terminal console, with its input the
    console, NUL (through cmd) or a pipe: the key, if any, ends it (a
    Stream is typed until the prompt's line ends, within the bound; in a
    tuple, bytes and pauses in seconds come in turn); the
    shell's prompt then starts on a line of its own, as the output is the
    console; and the terminal is as it was before."""
    problems = []
    wine, prefix, program = WINE[0], os.path.abspath(WINE[1]), os.path.abspath(WINE[2])
    command = {"console": [wine, program], "pipe": [wine, program],
               "NUL": [wine, "cmd", "/c", "Z:%s < NUL" % program.replace("/", "\\")]}[given]
    with new_terminal() as (master, slave, before), list_folder() as folder:
        proc = subprocess.Popen(command, cwd=folder, stdin=subprocess.PIPE if given == "pipe" else slave, stdout=slave,
                                stderr=slave, preexec_fn=take_terminal,
                                env=dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all"))
        screen = b""

        def text():
            """What the screen shows: wine's console draws the text between
            cursor movements, and moves over spaces."""
            nonlocal screen
            screen += read_available(master)
            return re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]| ", b"", screen)

        if not wait_until(lambda: PROMPT.strip().replace(b" ", b"") in text(), 60):
            problems.append("no prompt: %r" % screen[-80:])
        time.sleep(0.5)  # the console reads its input only once the program asks for it
        if given == "pipe":
            proc.stdin.write(key)
            proc.stdin.flush()  # and the pipe stays open
        elif isinstance(key, Stream):
            problems += stream(master, key, lambda: not re.search(rb"continue\.\.\.\r*\n", text()))
        else:
            for step in key if isinstance(key, tuple) else (key,):
                if isinstance(step, float):
                    time.sleep(step)
                else:
                    os.write(master, step)
        try:
            if proc.wait(timeout=20) != 0:
                problems.append("exit status %d" % proc.returncode)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            problems.append("did not end after the key" if key else "waited for a key")
        if not re.search(rb"continue\.\.\.\r*\n$", text()):
            problems.append("no line end after the prompt: %r" % text()[-40:])
        if termios.tcgetattr(slave) != before:
            problems.append("terminal settings not restored")
    return report("Windows program, " + name, problems)


WINE_CASES = [
    ("a letter", dict(key=b"x")),
    ("Up arrow", dict(key=b"\x1b[A")),
    ("input from NUL", dict(given="NUL")),
    ("a lone CR on a pipe", dict(key=b"\r", given="pipe")),
    ("input that never goes quiet", dict(key=Stream(b"s"))),
    # Part of the burst, as on other systems: not a control event that ends
    # the program (under wine, the terminal's SIGINT)
    ("a Ctrl-C 30 ms after the key", dict(key=(b"x", 0.03, b"\x03"))),
]

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
    # A pager or a job in the group that reads first may take the key: the
    # wait must still act on SIGTERM. (Elsewhere than on Linux, it may get it.)
    ("a second reader takes the key, then SIGTERM",
     dict(steps=[b"x", 0.2, signal.SIGTERM], beside="head -c1 </dev/tty >/dev/null & sleep 0.2",
          expected_status=(0, -signal.SIGTERM))),
    ("an ignored SIGHUP stays ignored", dict(steps=[signal.SIGHUP, 0.2, b"x"], ignored=(signal.SIGHUP,))),
    ("a blocked SIGTERM stays blocked", dict(steps=[signal.SIGTERM, 0.2, b"x"], blocked=(signal.SIGTERM,))),
    ("a terminal that is not the controlling one", dict(steps=[b"x"], controlling=False)),
    ("keys from a pipe, output on the terminal", dict(steps=[b"x"], piped_input=True)),
    ("output to a file", dict(steps=[b"q"], output_to_file=True)),
    ("SIGABRT during the wait", dict(steps=[signal.SIGABRT], expected_status=-signal.SIGABRT)),
    ("SIGSEGV during the wait", dict(steps=[signal.SIGSEGV], expected_status=-signal.SIGSEGV)),
    ("a real-time signal during the wait",
     dict(steps=[signal.SIGRTMIN + 1], expected_status=-(signal.SIGRTMIN + 1))),
    # A session's leader is in an orphaned group, whose stops are discarded.
    ("SIGTSTP to a session's leader, then a key", dict(steps=[signal.SIGTSTP, 0.2, b"x"])),
    ("SIGSTOP, the terminal set cooked, SIGCONT, then a key",
     dict(steps=[signal.SIGSTOP, 0.1, "cooked", signal.SIGCONT, 0.2, b"x"])),
    # The restore drops what was typed at the program while it was stopped.
    ("keys typed while stopped, then SIGTERM and SIGCONT",
     dict(steps=[signal.SIGSTOP, 0.1, b"echo LEAK\r", 0.1, signal.SIGTERM, signal.SIGCONT],
          expected_status=-signal.SIGTERM)),
    ("SIGCONT during the drain of a paste", dict(steps=[b"x", 0.01, signal.SIGCONT, 0.01, Paste(PASTE)])),
    ("O_NONBLOCK on the terminal", dict(steps=[0.2, b"x"], nonblocking=True)),
    ("Enter before the prompt, then a key", dict(steps=[0.2, b"x"], typed_early=b"\r")),
    ("input that never goes quiet", dict(steps=[Stream(b"s")])),
] + [
    # LeakSanitizer stops the process at exit with ptrace, and a SIGCONT
    # that comes then undoes that stop, so its check would wait forever.
    ("a burst of SIGCONT as the key comes, run %d" % run, dict(steps=[Burst(b"x")], leak_check=False))
    for run in range(1, 6)
]

# Rows that qemu-user, running another machine's program (WORDGRID_EMULATED
# set), cannot run as that machine would: it reports a core-dumping signal on
# standard error itself, takes a SIGSEGV from outside for a fault of its own,
# and keeps some real-time signals for itself without passing them on; a
# preload would reach qemu, not the program.
if os.environ.get("WORDGRID_EMULATED"):
    NOT_EMULATED = {"SIGQUIT during the wait", "SIGABRT during the wait", "SIGSEGV during the wait",
                    "a real-time signal during the wait",
                    "started in the background with raise() slow, fg, then a key"}
    for name in sorted(NOT_EMULATED) if not (OPTIONS.list or OPTIONS.row) else []:
        print("%s: not run under the emulator" % name)
    CASES = [case for case in CASES if case[0] not in NOT_EMULATED]
    SHELL_CASES = [case for case in SHELL_CASES if case[0] not in NOT_EMULATED]

if not WINE:
    WINE_CASES = []
# Each row under a name valid as a CTest test's: the table, then its words.
ROWS = {"%s.%s" % (table, re.sub(r"[^0-9A-Za-z]+", "_", name).strip("_")): (run, name, options)
        for table, run, cases in [("pty", run_case, CASES), ("shell", run_in_shell, SHELL_CASES),
                                  ("wine", run_under_wine, WINE_CASES)] for name, options in cases}
assert len(ROWS) == len(CASES) + len(SHELL_CASES) + len(WINE_CASES), "two rows of one name"
if OPTIONS.list:
    print("\n".join(ROWS))
    sys.exit(0)
if OPTIONS.row and OPTIONS.row not in ROWS:
    sys.exit("no row %s here; --list names them" % OPTIONS.row)
results = [run(name, **options) for row, (run, name, options) in ROWS.items() if OPTIONS.row in (None, row)]
passed = sum(results)
print("%d passed, %d failed" % (passed, len(results) - passed))
sys.exit(0 if all(results) else 1)
