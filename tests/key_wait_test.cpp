#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <thread>
#include <vector>

#include "KeyWait.h"

namespace {

void callersHandler(int /*signalNumber*/) {}

// For every signal number, real-time ones included: blocked or not, and its
// handler. (Not its flags: glibc's sigaction adds one of its own to any
// action set, the caller's own put back included.)
std::vector<std::uintptr_t> signalState() {
    std::vector<std::uintptr_t> state;
    sigset_t mask;
    sigprocmask(SIG_BLOCK, nullptr, &mask);
    for (int number = 1; number < 128; ++number) {
        struct sigaction action = {};
        sigaction(number, nullptr, &action);
        state.push_back(sigismember(&mask, number) == 1 ? 1U : 0U);
        state.push_back(reinterpret_cast<std::uintptr_t>(action.sa_handler));
    }
    return state;
}

// The child's side: a caller with a handler and a blocked signal of its own
// waits on the terminal. Exits with the first signal number whose state the
// wait changed, or 0.
[[noreturn]] void waitAsACaller(int terminal) {
    if (dup2(terminal, STDIN_FILENO) < 0 || dup2(terminal, STDOUT_FILENO) < 0) {
        _exit(255);
    }
    signal(SIGUSR1, callersHandler);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR2);
    sigprocmask(SIG_BLOCK, &blocked, nullptr);
    const std::vector<std::uintptr_t> before = signalState();
    waitForKey();
    const std::vector<std::uintptr_t> after = signalState();
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            _exit(static_cast<int>(i / 2 + 1));
        }
    }
    _exit(0);
}

}  // namespace

// Only the process itself sees its mask and handlers. On a pseudo-terminal
// the wait takes the terminal's road, which installs its handlers.
TEST(KeyWait, LeavesTheSignalMaskAndHandlersAsFound) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        waitAsACaller(terminal);
    }
    // The key only once the terminal is raw: the switch drops one typed before.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    termios settings{};
    bool raw = false;
    while (!raw && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        raw = tcgetattr(terminal, &settings) == 0 && (settings.c_lflag & ICANON) == 0;
    }
    if (!raw) {
        kill(child, SIGKILL);
    }
    EXPECT_EQ(write(master, "x", 1), 1);
    int status = -1;
    waitpid(child, &status, 0);
    close(terminal);
    close(master);
    EXPECT_TRUE(raw) << "the wait never put the terminal in raw mode";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the mask bit or the handler of this signal changed";
}
