#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <iostream>

#include "KeyWait.h"

namespace {

// One key press, a paste and keys typed right after it arrive as one burst,
// and none of it may reach the shell: the wait reads until the input has been
// quiet for a moment, within a bound that an endless stream cannot stretch.
constexpr int kQuietMilliseconds = 50;
constexpr auto kLongestBurst = std::chrono::seconds(1);

// The signals another process can send that end or stop the process, and
// SIGCONT, after which a stopped wait takes the terminal back.
constexpr std::array<int, 14> kHandledSignals{SIGHUP,  SIGINT,  SIGQUIT, SIGPIPE,   SIGALRM,
                                              SIGTERM, SIGUSR1, SIGUSR2, SIGVTALRM, SIGPROF,
                                              SIGXCPU, SIGXFSZ, SIGTSTP, SIGCONT};

// Shared with the signal handler; written before the handlers are installed.
termios savedSettings;
termios rawSettings;
volatile std::sig_atomic_t isRaw = 0;

// TCSAFLUSH drops what is still queued: keys typed at the program are not
// shell commands.
void restoreTerminal() {
    if (isRaw != 0) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedSettings);
        isRaw = 0;
    }
}

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

extern "C" void onSignal(int signalNumber) {
    const int savedErrno = errno;
    if (signalNumber == SIGCONT) {
        // Back from a stop; the shell has had the terminal meanwhile.
        if (isRaw == 0 && tcgetpgrp(STDIN_FILENO) == getpgrp()) {
            isRaw = tcsetattr(STDIN_FILENO, TCSANOW, &rawSettings) == 0 ? 1 : 0;
        }
    } else {
        // Restore, then act as the signal would have (async-signal-safe calls
        // only): end the process, or stop it until SIGCONT.
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

private:
    std::array<struct sigaction, kHandledSignals.size()> previous{};
};

// Waits for at least one byte; false at end of input or on an error.
bool readInput(char* bytes, std::size_t size) {
    ssize_t n = 0;
    while ((n = read(STDIN_FILENO, bytes, size)) < 0 && errno == EINTR) {
    }
    return n > 0;
}

void drainBurst() {
    std::array<char, 4096> bytes{};
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + kLongestBurst;
    while (std::chrono::steady_clock::now() < end && poll(&input, 1, kQuietMilliseconds) > 0 &&
           readInput(bytes.data(), bytes.size())) {
    }
}

}  // namespace

void waitForKey() {
    {
        const RawTerminal terminal;
        // A pipe, a file or a terminal that refused raw mode: one byte or none.
        char first = 0;
        if (readInput(&first, 1) && isRaw != 0) {
            drainBurst();
        }
    }
    // The shell's prompt starts on a line of its own; a file or pipe gets none.
    if (isatty(STDOUT_FILENO) != 0) {
        std::cout << std::endl;
    }
}
