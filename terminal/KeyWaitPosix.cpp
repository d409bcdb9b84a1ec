// The key wait on a POSIX terminal, or on a pipe or file given as input.
//
// On a terminal the wait puts it in raw mode, so that one key ends the run
// without echo or Enter. The terminal is the user's: whatever happens during
// the wait, nothing typed reaches the shell and the terminal is left as it was
// found. So signals are acted on in the wait's own flow, never in a handler:
// they stay blocked except while the wait sleeps or reads, and their handler
// only records them, and keeps a read from waiting. No signal can then land
// between a change of the terminal and the wait's note of it.

#include "KeyWait.h"

#include <fcntl.h>
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

// The key wait has no time limit of its own.
constexpr Clock::time_point kForever = Clock::time_point::max();

// No sleep lasts longer. Where pselect is not atomic (older macOS, some
// libcs), a signal that comes just before the sleep interrupts nothing: it is
// acted on when the sleep ends.
constexpr std::chrono::milliseconds kLongestSleep{100};

// What raw mode turns off: line editing, echo, and every key with a meaning
// of its own, so that Ctrl-C, Ctrl-Z, Ctrl-S and Ctrl-Q are keys too.
constexpr tcflag_t kRawOffLocal = ICANON | ECHO | ISIG | IEXTEN;
constexpr tcflag_t kRawOffInput = IXON;

// Room for every signal number, the real-time ones included: up to 64 on
// Linux, 126 on FreeBSD.
constexpr int kSignalSlots = 128;

// The signals that have come, a flag per number. The handler sets one; the
// wait reads and clears it only while the signal is blocked.
std::array<volatile std::sig_atomic_t, kSignalSlots> arrived{};

// The wait's own description of the terminal, or -1. A signal makes it
// non-blocking, so that a read that waits for the key returns at once, also
// one that was about to start when the signal came.
volatile std::sig_atomic_t readerToWake = -1;

void recordSignal(int signalNumber) {
    arrived[static_cast<std::size_t>(signalNumber)] = 1;
    if (readerToWake >= 0) {
        const int error = errno;
        fcntl(static_cast<int>(readerToWake), F_SETFL, O_NONBLOCK);
        errno = error;
    }
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
    for (int number = SIGRTMIN; number <= SIGRTMAX && number < kSignalSlots; ++number) {
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

// Whether another job has the terminal and the program's parent, a shell in
// its session outside its group, can still bring it to the foreground. False
// once the terminal hangs up, or where the group may be orphaned.
bool shellHasTerminal() {
    const pid_t group = tcgetpgrp(STDIN_FILENO);
    const pid_t parent = getppid();
    return group >= 0 && group != getpgrp() && getsid(parent) == getsid(0) && getpgid(parent) != getpgrp();
}

// A pipe, a file, or a terminal whose settings cannot be read: one byte, or
// its end. A non-blocking input gives EAGAIN until there is one. No handler
// is set on this road, so its sleep has nothing to act on.
void readOneByte() {
    char byte = 0;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (read(STDIN_FILENO, &byte, 1) < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
        poll(&input, 1, -1);
    }
}

// A description of the terminal of the wait's own. Another reader of the
// terminal (a pager, a job in the group) may take the input the wait was
// woken for, or be waiting for it (Linux lets one read at a time, and the
// one waiting gets what comes): the wait's reads must then neither hold off
// the signals nor outlast the burst's bound. So the description does not
// block but in a read for the key, and a signal makes it not block there
// either. Standard input's description is shared with the shell, whose flags
// are not the wait's to change. -1 where none opens (no name, no access):
// standard input is read then.
int openReader() {
    std::array<char, 1024> name{};
    if (ttyname_r(STDIN_FILENO, name.data(), name.size()) != 0) {
        return -1;
    }
    return open(name.data(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

// The wait on a terminal. While it lives: the handler for every handled
// signal but those inherited as ignored or blocked, the signals blocked but in
// its sleeps, and the terminal raw whenever the program is in the foreground.
class TerminalWait {
public:
    explicit TerminalWait(const termios& found)
        : handled(handledSignals()), callerActions(handled.size()), reader(openReader()), saved(found) {
        readerToWake = reader;
        raw = saved;
        raw.c_lflag &= ~kRawOffLocal;
        raw.c_iflag &= ~kRawOffInput;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;

        sigset_t handledSet;
        sigemptyset(&handledSet);
        for (int number : handled) {
            arrived[static_cast<std::size_t>(number)] = 0;
            sigaddset(&handledSet, number);
        }
        sigprocmask(SIG_BLOCK, &handledSet, &callerMask);
        sigprocmask(SIG_BLOCK, nullptr, &callerMaskWithHandled);
        callerMaskWithoutHandled = callerMask;
        for (std::size_t i = 0; i < handled.size(); ++i) {
            sigaction(handled[i], nullptr, &callerActions[i]);
            // A signal inherited as ignored stays ignored, and one inherited
            // as blocked stays blocked. CONT is the exception: the process is
            // continued all the same, and the wait must know.
            const bool leftAlone =
                callerActions[i].sa_handler == SIG_IGN || sigismember(&callerMask, handled[i]) == 1;
            if (!leftAlone || handled[i] == SIGCONT) {
                sigdelset(&callerMaskWithoutHandled, handled[i]);
                setHandler(handled[i], recordSignal);
                handlesTtou = handlesTtou || handled[i] == SIGTTOU;
            }
        }
        resumed();  // a start in the background is one too
    }

    // What is still pending then acts as it would have without the wait.
    ~TerminalWait() {
        readerToWake = -1;
        if (reader >= 0) {
            close(reader);
        }
        restore();
        for (std::size_t i = 0; i < handled.size(); ++i) {
            sigaction(handled[i], &callerActions[i], nullptr);
        }
        sigprocmask(SIG_SETMASK, &callerMask, nullptr);
    }

    TerminalWait(const TerminalWait&) = delete;
    TerminalWait& operator=(const TerminalWait&) = delete;

    void run() {
        settle();
        std::array<char, 4096> bytes{};
        if (readInput(bytes, kForever) <= 0 || !holdsRaw()) {
            return;  // the end of input, or a terminal that refused raw mode: a line was read
        }
        const Clock::time_point end = Clock::now() + keywait::kLongestBurst;
        Clock::time_point until;
        do {
            until = std::min(Clock::now() + keywait::kQuiet, end);
        } while (readInput(bytes, until) > 0);
    }

private:
    // Where the terminal stands, as far as the wait knows. The three states
    // with a switch to raw mode due are passed through in settle() only.
    //
    //   state            event                                next state
    //   asFound,         continued, and may switch            firstSwitchDue
    //   firstSwitchDue   continued, and may not switch        asFound
    //   firstSwitchDue   switched                             raw
    //                    switch refused                       asFound
    //   raw,             continued in the foreground          rawAgainDue
    //   rawAgainDue      continued elsewhere, may switch      switchBackDue
    //                    continued elsewhere, may not         givenBack
    //                    the end, or a signal acted on        givenBack, restored (restore())
    //   rawAgainDue      switched, or switch refused          raw
    //   givenBack,       continued, and may switch            switchBackDue
    //   switchBackDue    continued, and may not switch        givenBack
    //   switchBackDue    switched                             raw
    //                    switch refused                       givenBack
    //
    // "Continued": a SIGCONT, a stop of the wait's own that ended, or a wait
    // in the background found in the foreground. "May switch": in the
    // foreground, or able to be stopped there by SIGTTOU. A switch that a
    // signal interrupts stays due.
    enum class Terminal {
        asFound,         // never switched: the job is in the background, or raw mode was refused
        firstSwitchDue,  // never switched; the switch drops what was typed before the prompt
        raw,             // in raw mode, to be restored
        rawAgainDue,     // in raw mode, but the shell has had it meanwhile: set it again
        givenBack,       // restored, or left to the shell when the job went to the background
        switchBackDue,   // given back, and the wait's again; what is typed meanwhile is a key
    };

    bool holdsRaw() const { return terminal == Terminal::raw || terminal == Terminal::rawAgainDue; }

    bool switchDue() const {
        return terminal == Terminal::firstSwitchDue || terminal == Terminal::rawAgainDue ||
               terminal == Terminal::switchBackDue;
    }

    // Changes the terminal as a job may, with the other signals let in, so
    // that kill %1 still ends it while stopped here. From the background,
    // SIGTTOU is at its default, so that the kernel stops the job until it
    // is brought back with fg; in the foreground one sent meanwhile is
    // recorded, and so restores the terminal before it stops the program.
    // The kernel's stop, unlike one the wait would make after recording the
    // signal, is undone by fg's SIGCONT however close the two come.
    int setTerminal(const termios& settings, int when) {
        const bool stoppable = handlesTtou && !inForeground();
        if (stoppable) {
            setHandler(SIGTTOU, SIG_DFL);
        }
        sigprocmask(SIG_SETMASK, &callerMaskWithoutHandled, nullptr);
        const int result = tcsetattr(STDIN_FILENO, when, &settings);
        const int error = errno;
        sigprocmask(SIG_SETMASK, &callerMaskWithHandled, nullptr);
        if (stoppable) {
            setHandler(SIGTTOU, recordSignal);
        }
        errno = error;
        return result;
    }

    // Whether the terminal still has what the wait set. Only what the wait
    // changes counts: a driver may change other settings on its own.
    bool stillRaw() const {
        termios now{};
        return tcgetattr(STDIN_FILENO, &now) == 0 &&
               (now.c_lflag & kRawOffLocal) == (raw.c_lflag & kRawOffLocal) &&
               (now.c_iflag & kRawOffInput) == (raw.c_iflag & kRawOffInput) &&
               now.c_cc[VMIN] == raw.c_cc[VMIN] && now.c_cc[VTIME] == raw.c_cc[VTIME];
    }

    // Only a terminal that the wait changed, only from the foreground (once
    // the job is in the background the shell has set its own settings), and
    // only while it still has what the wait set: another program that reads
    // it (a pager that quits first) may have put back the settings it found
    // meanwhile, and the wait's would undo them. TCSAFLUSH, or the flush
    // alone, drops what is still queued: keys typed at the program are not
    // shell commands.
    void restore() {
        if (holdsRaw()) {
            if (inForeground()) {
                if (stillRaw()) {
                    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
                } else {
                    tcflush(STDIN_FILENO, TCIFLUSH);
                }
            }
            terminal = Terminal::givenBack;
        }
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
    // ignored or blocked: then the shell's terminal stays as it is, and the
    // wait leaves it alone until fg.
    void resumed() {
        const bool foreground = inForeground();
        const bool due = foreground || handlesTtou;
        switch (terminal) {
            case Terminal::asFound:
            case Terminal::firstSwitchDue:
                terminal = due ? Terminal::firstSwitchDue : Terminal::asFound;
                break;
            case Terminal::raw:
            case Terminal::rawAgainDue:
                if (foreground) {
                    terminal = Terminal::rawAgainDue;
                    break;
                }
                [[fallthrough]];  // in the background, the shell's now
            case Terminal::givenBack:
            case Terminal::switchBackDue:
                terminal = due ? Terminal::switchBackDue : Terminal::givenBack;
                break;
        }
    }

    // Acts on the signals that have come, each in turn.
    void actOnArrived() {
        for (int number : handled) {
            volatile std::sig_atomic_t& flag = arrived[static_cast<std::size_t>(number)];
            if (flag != 0) {
                flag = 0;
                if (number != SIGCONT) {
                    actAsDefault(number);
                }
                resumed();
            }
        }
    }

    // One try at raw mode. The first switch drops what was typed before the
    // prompt was shown: a key must answer it. A signal that interrupts the
    // try leaves it due; a terminal that refuses raw mode is read a line at a
    // time instead.
    void switchToRaw() {
        if (setTerminal(raw, terminal == Terminal::firstSwitchDue ? TCSAFLUSH : TCSANOW) == 0) {
            terminal = Terminal::raw;
        } else if (errno != EINTR) {
            terminal = terminal == Terminal::firstSwitchDue ? Terminal::asFound
                       : terminal == Terminal::rawAgainDue  ? Terminal::raw
                                                            : Terminal::givenBack;
        }
    }

    // Acts on the signals that have come, and puts the terminal in raw mode
    // where that is due; signals that come during a switch are acted on
    // before the next try.
    void settle() {
        actOnArrived();
        while (switchDue()) {
            switchToRaw();
            actOnArrived();
        }
    }

    enum class Woken { input, timeout, signal, failure };

    // Sleeps, with the handled signals let in, until there is input (if
    // `watchInput`), a signal comes, or `nap` (at most kLongestSleep) has
    // passed.
    Woken sleepFor(Clock::duration nap, bool watchInput) {
        timespec timeout{};
        timeout.tv_nsec =
            static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(nap).count());
        fd_set input;
        FD_ZERO(&input);
        FD_SET(STDIN_FILENO, &input);
        const int ready = pselect(watchInput ? STDIN_FILENO + 1 : 0, watchInput ? &input : nullptr, nullptr,
                                  nullptr, &timeout, &callerMaskWithoutHandled);
        if (ready > 0) {
            return Woken::input;
        }
        if (ready == 0) {
            return Woken::timeout;
        }
        return errno == EINTR ? Woken::signal : Woken::failure;
    }

    // A read in the background, with SIGTTIN blocked: not the end of input.
    // Stops as SIGTTIN would, and waits again after fg. Returns false for an
    // orphaned job, which cannot stop, nor ever read again: so a job that
    // no shell can bring back ends its wait at the first key typed.
    bool stopForBackgroundRead() {
        if (!actAsDefault(SIGTTIN)) {
            return false;
        }
        resumed();
        settle();
        return true;
    }

    // Reads for the key, waiting while there is none: in turn with any other
    // reader of the terminal, so that one that keeps reading (cat in the
    // group) cannot take every key. Meanwhile the handled signals but SIGTTIN
    // are let in (from the background the read then fails, as it would
    // without them), and each makes the description non-blocking: the read
    // returns at once, also when the signal came just before it. Standard
    // input, read where the wait has no description of its own, cannot be
    // made so: a signal just before its read waits for the next key.
    ssize_t readForKey(std::array<char, 4096>& bytes) {
        if (reader >= 0) {
            fcntl(reader, F_SETFL, 0);
        }
        sigset_t reading = callerMaskWithoutHandled;
        sigaddset(&reading, SIGTTIN);
        sigprocmask(SIG_SETMASK, &reading, nullptr);
        const ssize_t count = read(reader >= 0 ? reader : STDIN_FILENO, bytes.data(), bytes.size());
        const int error = errno;
        sigprocmask(SIG_SETMASK, &callerMaskWithHandled, nullptr);
        if (reader >= 0) {
            fcntl(reader, F_SETFL, O_NONBLOCK);
        }
        errno = error;
        return count;
    }

    // Reads what a sleep found: the number of bytes read, -1 at the end of
    // input, or 0 when there is nothing to read yet. Only for the key may it
    // wait.
    ssize_t readAvailable(std::array<char, 4096>& bytes, bool forKey) {
        const ssize_t count = forKey ? readForKey(bytes)
                                     : read(reader >= 0 ? reader : STDIN_FILENO, bytes.data(), bytes.size());
        if (count > 0) {
            return count;
        }
        if (count == 0) {
            return -1;
        }
        const int error = errno;  // before inForeground(), which may set it
        if (error == EIO && !inForeground()) {
            return stopForBackgroundRead() ? 0 : -1;
        }
        return error == EAGAIN || error == EWOULDBLOCK || error == EINTR ? 0 : -1;
    }

    // Reads what comes before `until`: the number of bytes read, 0 at
    // `until`, or -1 at the end of input.
    ssize_t readInput(std::array<char, 4096>& bytes, Clock::time_point until) {
        for (;;) {
            const Clock::time_point now = Clock::now();
            if (now >= until) {
                return 0;
            }
            // Waiting for the key in the background without the terminal,
            // which a shell can give back without a signal (bash's fg of a
            // running job): the wait looks again after each sleep. What is
            // typed meanwhile is the shell's, its fg line too: the wait does
            // not read it, as that would stop the job just as fg runs, or,
            // after fg, wait for a line on the still cooked terminal.
            const bool forKey = until == kForever;
            const bool away = forKey && !holdsRaw() && !inForeground();
            // With the terminal its own, the wait reads for the key at once,
            // and so waits in turn with other readers (readForKey()).
            Woken woken = Woken::input;
            if (!forKey || away || reader < 0) {
                const bool watchInput = !away || !shellHasTerminal();
                woken = sleepFor(std::min(until, now + kLongestSleep) - now, watchInput);
            }
            if (woken == Woken::failure) {
                return -1;
            }
            if (woken == Woken::input) {
                const ssize_t count = readAvailable(bytes, forKey);
                if (count != 0) {
                    return count;
                }
            }
            if (woken == Woken::timeout && away && inForeground()) {
                resumed();
            }
            settle();
        }
    }

    std::vector<int> handled;                     // the numbers of the signals above
    std::vector<struct sigaction> callerActions;  // theirs as the caller left them
    sigset_t callerMask{};
    sigset_t callerMaskWithHandled{};     // awake: the caller's mask and every handled signal
    sigset_t callerMaskWithoutHandled{};  // asleep: the caller's mask, less those the wait handles
    bool handlesTtou = false;
    int reader;  // openReader()'s
    termios saved;
    termios raw{};
    Terminal terminal = Terminal::asFound;
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
