// The key wait on a POSIX terminal, or on a pipe or file given as input.
//
// On a terminal the wait puts it in raw mode, so that one key ends the run
// without echo or Enter. The terminal is the user's: whatever happens during
// the wait, nothing typed reaches the shell and the terminal is left as it was
// found. So signals are acted on in the wait's own flow, never in a handler:
// they stay blocked except while the wait sleeps, and their handler only
// records them. No signal can then land between a change of the terminal and
// the wait's note of it.

#include "KeyWait.h"

#include <poll.h>
#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <iostream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The signals that have come; outside the handler, touched only while they are blocked.
sigset_t arrived;

void recordSignal(int signalNumber) {
    sigaddset(&arrived, signalNumber);
}

// Every signal whose default action ends the process, dumps core or stops it,
// except KILL and STOP, which cannot be caught; and CONT, after which a
// stopped wait takes the terminal back. Some exist on some systems only, and
// the real-time ones are numbered at run time. A fault of the program's own
// comes while they are blocked, and so still ends it as it would, core dump
// included.
std::vector<int> handledSignals() {
    std::vector<int> numbers{SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,  SIGFPE,
                             SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ,
                             SIGVTALRM, SIGPROF, SIGSYS,  SIGTSTP, SIGTTIN, SIGTTOU, SIGCONT};
#ifdef SIGPOLL  // SIGIO, where its default ends the process
    numbers.push_back(SIGPOLL);
#endif
#ifdef SIGPWR
    numbers.push_back(SIGPWR);
#endif
#ifdef SIGSTKFLT
    numbers.push_back(SIGSTKFLT);
#endif
#ifdef SIGEMT
    numbers.push_back(SIGEMT);
#endif
#ifdef SIGRTMIN
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) {
        numbers.push_back(number);
    }
#endif
    return numbers;
}

void setHandler(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigfillset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
}

// Whether the terminal is the program's to change: it is in the terminal's
// foreground process group, or the terminal is not its controlling one, where
// no job control applies.
bool inForeground() {
    const pid_t group = tcgetpgrp(STDIN_FILENO);
    return group == getpgrp() || (group < 0 && errno == ENOTTY);
}

// A pipe, a file, or a terminal whose settings cannot be read: one byte, or
// its end. A non-blocking input gives EAGAIN until there is one.
void readOneByte() {
    char byte = 0;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (read(STDIN_FILENO, &byte, 1) < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
        poll(&input, 1, -1);
    }
}

// The wait on a terminal. While it lives: the handler for every handled
// signal but those inherited as ignored or blocked, the signals blocked but in
// its sleeps, and the terminal raw whenever the program is in the foreground.
class TerminalWait {
public:
    explicit TerminalWait(const termios& found)
        : numbers(handledSignals()), previous(numbers.size()), saved(found) {
        raw = saved;
        // No line editing, no echo, and no key with a meaning of its own, so
        // that Ctrl-C, Ctrl-Z, Ctrl-S and Ctrl-Q are keys too.
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
        raw.c_iflag &= ~static_cast<tcflag_t>(IXON);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;

        sigemptyset(&arrived);
        sigset_t handled;
        sigemptyset(&handled);
        for (int number : numbers) {
            sigaddset(&handled, number);
        }
        sigprocmask(SIG_BLOCK, &handled, &callerMask);
        sigprocmask(SIG_BLOCK, nullptr, &blocked);
        asleep = callerMask;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            sigaction(numbers[i], nullptr, &previous[i]);
            // A signal inherited as ignored stays ignored, and one inherited
            // as blocked stays blocked. CONT is the exception: the process is
            // continued all the same, and the wait must know.
            const bool leftAlone =
                previous[i].sa_handler == SIG_IGN || sigismember(&callerMask, numbers[i]) == 1;
            if (!leftAlone || numbers[i] == SIGCONT) {
                sigdelset(&asleep, numbers[i]);
                setHandler(numbers[i], recordSignal);
                handlesTtou = handlesTtou || numbers[i] == SIGTTOU;
            }
        }
        resumed();  // a start in the background is one too
    }

    // What is still pending then acts as it would have without the wait.
    ~TerminalWait() {
        restore();
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            sigaction(numbers[i], &previous[i], nullptr);
        }
        sigprocmask(SIG_SETMASK, &callerMask, nullptr);
    }

    TerminalWait(const TerminalWait&) = delete;
    TerminalWait& operator=(const TerminalWait&) = delete;

    void run() {
        settle();
        std::array<char, 4096> bytes{};
        if (readInput(bytes, nullptr) <= 0 || !changed) {
            return;  // the end of input, or a terminal that refused raw mode: a line was read
        }
        const Clock::time_point end = Clock::now() + keywait::kLongestBurst;
        Clock::time_point until;
        do {
            until = std::min(Clock::now() + keywait::kQuiet, end);
        } while (readInput(bytes, &until) > 0);
    }

private:
    // Changes the terminal as a job may, with the other signals let in, so
    // that kill %1 still ends it while stopped here. From the background,
    // SIGTTOU is at its default, so that the kernel stops the job until it
    // is brought back with fg; in the foreground one sent meanwhile is
    // recorded, and so restores the terminal before it stops the program.
    int setTerminal(const termios& settings, int when) {
        const bool stoppable = handlesTtou && !inForeground();
        if (stoppable) {
            setHandler(SIGTTOU, SIG_DFL);
        }
        sigprocmask(SIG_SETMASK, &asleep, nullptr);
        const int result = tcsetattr(STDIN_FILENO, when, &settings);
        const int error = errno;
        sigprocmask(SIG_SETMASK, &blocked, nullptr);
        if (stoppable) {
            setHandler(SIGTTOU, recordSignal);
        }
        errno = error;
        return result;
    }

    // Only a terminal that the wait changed, and only from the foreground:
    // once the job is in the background the shell has set its own settings.
    // TCSAFLUSH drops what is still queued: keys typed at the program are not
    // shell commands.
    void restore() {
        if (changed && inForeground()) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        }
        changed = false;
    }

    // Acts as the signal's default action would: ends the process by it, or
    // stops it. Returns whether the process was stopped and then continued;
    // the stop of an orphaned process group is discarded instead.
    bool actAsDefault(int signalNumber) {
        restore();
        setHandler(signalNumber, SIG_DFL);
        raise(signalNumber);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, signalNumber);
        sigprocmask(SIG_UNBLOCK, &only, nullptr);
        sigprocmask(SIG_BLOCK, &only, nullptr);
        setHandler(signalNumber, recordSignal);
        sigset_t pending;
        sigpending(&pending);
        return sigismember(&pending, SIGCONT) == 1;
    }

    // After a stop, or a continue after any stop (SIGSTOP too): the shell has
    // had the terminal meanwhile, so raw mode is set again, whatever the wait
    // believed. From the background, that stops the job until fg (bg sends
    // no signal to a running job that fg could wake), unless SIGTTOU is
    // ignored or blocked: then the shell's terminal stays as it is, and a
    // read there stops the job instead.
    void resumed() {
        const bool foreground = inForeground();
        rawDue = foreground || handlesTtou;
        changed = changed && foreground;
    }

    // Acts on the signals that have come, and puts the terminal in raw mode
    // where that is due. The first switch drops what was typed before the
    // prompt was shown: a key must answer it.
    void settle() {
        for (;;) {
            for (int number : numbers) {
                if (sigismember(&arrived, number) == 1) {
                    sigdelset(&arrived, number);
                    if (number != SIGCONT) {
                        actAsDefault(number);
                    }
                    resumed();
                }
            }
            if (!rawDue) {
                return;
            }
            if (setTerminal(raw, firstSwitch ? TCSAFLUSH : TCSANOW) == 0) {
                changed = true;
                firstSwitch = false;
                rawDue = false;
            } else if (errno != EINTR) {
                rawDue = false;  // it refuses raw mode: the wait reads a line instead
            }
        }
    }

    // Sleeps until there is input, or until `until` if given, and reads it.
    // Returns the number of bytes read, 0 at `until`, or -1 at the end of input.
    ssize_t readInput(std::array<char, 4096>& bytes, const Clock::time_point* until) {
        for (;;) {
            // Waiting in the background without the terminal, which a shell
            // can give back without a signal (bash's fg of a running job):
            // the wait looks again every tenth of a second.
            const bool parked = until == nullptr && !changed && !inForeground();
            timespec timeout{};
            if (until != nullptr) {
                const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(*until - Clock::now());
                if (left.count() <= 0) {
                    return 0;
                }
                const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
                timeout.tv_sec = static_cast<std::time_t>(seconds.count());
                timeout.tv_nsec = static_cast<long>((left - seconds).count());
            } else if (parked) {
                timeout.tv_nsec = 100'000'000;
            }
            fd_set input;
            FD_ZERO(&input);
            FD_SET(STDIN_FILENO, &input);
            const int ready = pselect(STDIN_FILENO + 1, &input, nullptr, nullptr,
                                      until != nullptr || parked ? &timeout : nullptr, &asleep);
            if (ready < 0) {
                if (errno != EINTR) {
                    return -1;
                }
                settle();
                continue;
            }
            if (ready == 0) {
                if (!parked) {
                    return 0;
                }
                if (inForeground()) {
                    resumed();
                    settle();
                }
                continue;
            }
            const ssize_t count = read(STDIN_FILENO, bytes.data(), bytes.size());
            if (count > 0) {
                return count;
            }
            if (count == 0) {
                return -1;
            }
            if (errno == EIO && !inForeground()) {
                // A read in the background, with SIGTTIN blocked: not the
                // end of input. Stop as SIGTTIN would, and wait again after
                // fg. An orphaned job cannot stop, nor ever read again.
                if (!actAsDefault(SIGTTIN)) {
                    return -1;
                }
                resumed();
                settle();
            } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                return -1;
            }
        }
    }

    std::vector<int> numbers;
    std::vector<struct sigaction> previous;
    sigset_t callerMask{};
    sigset_t blocked{};  // the caller's mask and every handled signal
    sigset_t asleep{};   // the caller's mask without them
    bool handlesTtou = false;
    termios saved;
    termios raw{};
    bool changed = false;  // the terminal holds the raw settings, as far as the wait knows
    bool rawDue = false;
    bool firstSwitch = true;
};

}  // namespace

void waitForKey() {
    termios found{};
    if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &found) != 0) {
        readOneByte();
    } else {
        TerminalWait(found).run();
    }
    // The shell's prompt starts on a line of its own; a file or pipe gets none.
    if (isatty(STDOUT_FILENO) != 0) {
        std::cout << '\n' << std::flush;
    }
}
