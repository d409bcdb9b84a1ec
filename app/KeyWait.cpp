#include "KeyWait.h"

#ifdef _WIN32

#include <conio.h>

void waitForKey() {
    (void)_getch();
}

#else

#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace {

// The settings to put back if the wait is ended by a signal. Only the
// handler below reads it, and only after it has been written.
termios savedSettings;

constexpr std::array<int, 2> kRestoringSignals{SIGTERM, SIGHUP};

extern "C" void restoreAndDie(int signalNumber) {
    // Only async-signal-safe calls here.
    tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);  // delivered with the default action once we return
}

void readOneByte() {
    char key = 0;
    while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
    }
}

}  // namespace

void waitForKey() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &savedSettings) != 0) {
        readOneByte();
        return;
    }

    // Restore the terminal if SIGTERM or SIGHUP ends the process during the
    // wait; a signal the caller chose to ignore stays ignored.
    std::array<struct sigaction, kRestoringSignals.size()> previous{};
    for (std::size_t i = 0; i < kRestoringSignals.size(); ++i) {
        struct sigaction restoring = {};
        restoring.sa_handler = restoreAndDie;
        sigemptyset(&restoring.sa_mask);
        sigaction(kRestoringSignals[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN) {
            sigaction(kRestoringSignals[i], &restoring, nullptr);
        }
    }

    // One byte, unbuffered, unechoed; with signal keys off, Ctrl-C is read
    // as the key press instead of killing the program mid-wait.
    termios raw = savedSettings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    readOneByte();
    tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);

    for (std::size_t i = 0; i < kRestoringSignals.size(); ++i) {
        sigaction(kRestoringSignals[i], &previous[i], nullptr);
    }
}

#endif
