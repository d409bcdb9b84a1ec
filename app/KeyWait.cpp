#include "KeyWait.h"

#ifdef _WIN32

#include <conio.h>
#include <io.h>

void waitForKey() {
    if (_isatty(0) == 0) {
        // A pipe or a file: one byte, or its end, as on other platforms.
        // _getch would not wait here: it reads only a console.
        char byte = 0;
        (void)_read(0, &byte, 1);
        return;
    }
    // _getch takes a whole key press; an extended key's second code stays
    // inside the program's console input and goes with it.
    (void)_getch();
}

#else

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstddef>

namespace {

// The settings to put back when a signal ends the process during the wait.
// Written before any handler is installed, read only by the handler.
termios savedSettings;

// How long the rest of a key may trail its first byte (over a slow link).
constexpr int kGraceMilliseconds = 50;
// No key a terminal sends is longer; a stream of bytes cannot hold the wait.
constexpr std::size_t kLongestKey = 16;

constexpr unsigned char kEscape = 0x1b;

// Reads one byte; false at end of input or on an error.
bool readByte(unsigned char& byte) {
    ssize_t n = 0;
    while ((n = read(STDIN_FILENO, &byte, 1)) < 0 && errno == EINTR) {
    }
    return n == 1;
}

// Reads one more byte if it arrives within the grace period.
bool readTrailingByte(unsigned char& byte) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    int ready = 0;
    while ((ready = poll(&input, 1, kGraceMilliseconds)) < 0 && errno == EINTR) {
    }
    return ready > 0 && readByte(byte);
}

// Whether `key` (at least one byte) is a whole key press: a plain byte, a
// UTF-8 letter with all its continuation bytes, or an escape sequence (CSI
// "ESC [ ... final", SS3 "ESC O x", Alt+key "ESC x"). A lone ESC is the Esc
// key only once the grace period has passed with nothing after it.
bool isWholeKey(const std::array<unsigned char, kLongestKey>& key, std::size_t length) {
    const unsigned char first = key[0];
    if (first >= 0xc0) {
        const std::size_t utf8Length = first >= 0xf0 ? 4 : first >= 0xe0 ? 3 : 2;
        return length >= utf8Length;
    }
    if (first != kEscape) {
        return true;
    }
    if (length < 2) {
        return false;
    }
    if (key[1] == '[') {
        return length > 2 && key[length - 1] >= 0x40 && key[length - 1] <= 0x7e;
    }
    return key[1] == 'O' ? length >= 3 : true;
}

// Waits for one key press and consumes all of its bytes.
void readKey() {
    std::array<unsigned char, kLongestKey> key{};
    std::size_t length = 0;
    if (!readByte(key[length++])) {
        return;
    }
    while (!isWholeKey(key, length) && length < key.size() && readTrailingByte(key[length])) {
        ++length;
    }
}

// The terminal in raw mode for the wait: no line editing, no echo, and no
// key with a meaning of its own (Ctrl-C, Ctrl-Z, Ctrl-S, Ctrl-Q, Ctrl-V), so
// every key is just a key.
class RawMode {
public:
    explicit RawMode(const termios& settings) : saved(settings) {
        termios raw = settings;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
        raw.c_iflag &= ~static_cast<tcflag_t>(IXON);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        entered = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
    }
    // TCSAFLUSH discards what is still queued: keys typed ahead while the
    // program was busy were typed at it, and must not run as shell commands.
    ~RawMode() {
        if (entered) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        }
    }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;

    bool active() const { return entered; }

private:
    termios saved;
    bool entered = false;
};

constexpr std::array<int, 4> kEndingSignals{SIGINT, SIGQUIT, SIGTERM, SIGHUP};

extern "C" void restoreAndDie(int signalNumber) {
    // SA_RESETHAND has put the default action back: once the terminal is
    // restored, the signal ends the process as it would have.
    tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
    raise(signalNumber);
}

// While it lives, a signal that would end the process restores the terminal
// first. A signal the caller ignored stays ignored.
class RestoreOnSignal {
public:
    explicit RestoreOnSignal(const termios& saved) {
        savedSettings = saved;
        struct sigaction restoring = {};
        restoring.sa_handler = restoreAndDie;
        restoring.sa_flags = static_cast<int>(SA_RESETHAND);  // an unsigned constant in glibc
        sigemptyset(&restoring.sa_mask);
        for (int signalNumber : kEndingSignals) {
            sigaddset(&restoring.sa_mask, signalNumber);
        }
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            sigaction(kEndingSignals[i], nullptr, &previous[i]);
            if (previous[i].sa_handler != SIG_IGN) {
                sigaction(kEndingSignals[i], &restoring, nullptr);
            }
        }
    }
    ~RestoreOnSignal() {
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            sigaction(kEndingSignals[i], &previous[i], nullptr);
        }
    }
    RestoreOnSignal(const RestoreOnSignal&) = delete;
    RestoreOnSignal& operator=(const RestoreOnSignal&) = delete;

private:
    std::array<struct sigaction, kEndingSignals.size()> previous{};
};

}  // namespace

void waitForKey() {
    termios saved{};
    if (isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &saved) == 0) {
        const RestoreOnSignal signals(saved);
        const RawMode raw(saved);
        if (raw.active()) {
            readKey();
            return;
        }
    }
    // A pipe or a file, or a terminal that refused raw mode: one byte, or
    // the end of input.
    unsigned char byte = 0;
    (void)readByte(byte);
}

#endif
