// The key wait on a POSIX terminal: raw mode for the one read, and a terminal
// put back as it was however the wait ends.

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <iostream>

#include "KeyWait.h"

namespace {

// One key press, a paste and keys typed right after it all arrive as one
// burst, and none of it may reach the shell once the program has ended: the
// wait reads until the input has been quiet for a moment, within a bound so
// that an endless stream cannot hold it.
constexpr int kQuietMilliseconds = 50;
constexpr auto kLongestBurst = std::chrono::seconds(1);

// Every signal another process can send that ends or stops the process, and
// SIGCONT, after which a stopped wait takes the terminal back.
constexpr std::array<int, 14> kHandledSignals{SIGHUP,  SIGINT,  SIGQUIT, SIGPIPE,   SIGALRM,
                                              SIGTERM, SIGUSR1, SIGUSR2, SIGVTALRM, SIGPROF,
                                              SIGXCPU, SIGXFSZ, SIGTSTP, SIGCONT};

// Shared with the signal handler; written before the handlers are installed.
termios savedSettings;
termios rawSettings;
volatile std::sig_atomic_t isRaw = 0;

// TCSAFLUSH drops what is still queued: keys typed at the program must not
// run as shell commands.
void restoreTerminal() {
    if (isRaw != 0) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedSettings);
        isRaw = 0;
    }
}

extern "C" void onSignal(int signalNumber);

// SIGTTOU is blocked in the handler, so a wait that has been put in the
// background restores the terminal instead of being stopped for trying.
void setAction(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGTTOU);
    for (int handled : kHandledSignals) {
        sigaddset(&action.sa_mask, handled);
    }
    sigaction(signalNumber, &action, nullptr);
}

// Only async-signal-safe calls.
extern "C" void onSignal(int signalNumber) {
    const int savedErrno = errno;
    if (signalNumber == SIGCONT) {
        // Back from a stop; the shell has had the terminal meanwhile.
        if (isRaw == 0 && tcgetpgrp(STDIN_FILENO) == getpgrp()) {
            isRaw = tcsetattr(STDIN_FILENO, TCSANOW, &rawSettings) == 0 ? 1 : 0;
        }
    } else {
        // Restore, then act as the signal would have: end the process, or
        // stop it until SIGCONT, after which the wait goes on.
        restoreTerminal();
        setAction(signalNumber, SIG_DFL);
        raise(signalNumber);
        sigset_t pending;
        sigemptyset(&pending);
        sigaddset(&pending, signalNumber);
        sigprocmask(SIG_UNBLOCK, &pending, nullptr);
        setAction(signalNumber, onSignal);
    }
    errno = savedErrno;
}

// While it lives: the terminal in raw mode (no line editing, no echo, and no
// key with a meaning of its own, so that Ctrl-C, Ctrl-Z, Ctrl-S and Ctrl-Q
// are keys too), and the handlers above. Each is set up once and undone once.
class RawTerminal {
public:
    RawTerminal() {
        if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &savedSettings) != 0) {
            return;
        }
        rawSettings = savedSettings;
        rawSettings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
        rawSettings.c_iflag &= ~static_cast<tcflag_t>(IXON);
        rawSettings.c_cc[VMIN] = 1;
        rawSettings.c_cc[VTIME] = 0;
        for (std::size_t i = 0; i < kHandledSignals.size(); ++i) {
            sigaction(kHandledSignals[i], nullptr, &previous[i]);
            if (previous[i].sa_handler != SIG_IGN) {  // an ignored signal stays ignored
                setAction(kHandledSignals[i], onSignal);
            }
        }
        isRaw = tcsetattr(STDIN_FILENO, TCSANOW, &rawSettings) == 0 ? 1 : 0;
    }
    ~RawTerminal() {
        restoreTerminal();
        for (std::size_t i = 0; i < kHandledSignals.size(); ++i) {
            sigaction(kHandledSignals[i], &previous[i], nullptr);
        }
    }
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

    static bool active() { return isRaw != 0; }

private:
    std::array<struct sigaction, kHandledSignals.size()> previous{};
};

// Reads at most `size` bytes, waiting for at least one; false at end of
// input or on an error.
bool readInput(char* bytes, std::size_t size) {
    ssize_t n = 0;
    while ((n = read(STDIN_FILENO, bytes, size)) < 0 && errno == EINTR) {
    }
    return n > 0;
}

void drainBurst() {
    using Clock = std::chrono::steady_clock;
    std::array<char, 4096> bytes{};
    const Clock::time_point end = Clock::now() + kLongestBurst;
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        pollfd input{STDIN_FILENO, POLLIN, 0};
        const int ready = poll(&input, 1, static_cast<int>(std::min<long>(left, kQuietMilliseconds)));
        if (ready == 0 || (ready < 0 && errno != EINTR) ||
            (ready > 0 && !readInput(bytes.data(), bytes.size()))) {
            return;
        }
    }
}

}  // namespace

void waitForKey() {
    {
        const RawTerminal terminal;
        // A pipe or a file, or a terminal that refused raw mode: one byte, or
        // the end of input.
        char first = 0;
        if (readInput(&first, 1) && RawTerminal::active()) {
            drainBurst();
        }
    }
    // The shell's prompt starts on a line of its own; output to a file or a
    // pipe stays as it was.
    if (isatty(STDOUT_FILENO) != 0) {
        std::cout << std::endl;
    }
}
