#pragma once

// Runs a program as a process and collects what it writes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

enum class Input { DevNull, Closed, Key };

inline const std::string kPrompt = "Press any key to continue...";

struct Result {
    std::string out;
    std::string err;
    int status = -1;
};

// Runs `command` in `dir` and collects what it writes. Standard error goes to
// a file, read at the end, so that only one pipe needs draining. With a key
// for input, one key is typed once the prompt is out, after checking that the
// program is still there, waiting for it. A program silent for 20 s is
// killed, which fails the test instead of hanging it. A run that cannot start
// (no pipe, no fork) fails the test and gives an empty result.
inline Result runProgram(const std::filesystem::path& dir, Input input,
                         const std::vector<std::string>& command) {
    // Built before the fork: the child only dups, execs or exits.
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    std::array<int, 2> out{-1, -1};
    std::array<int, 2> in{-1, -1};
    FILE* errors = std::tmpfile();
    const bool piped = errors != nullptr && pipe(out.data()) == 0 && pipe(in.data()) == 0;
    // No child: pid -1 must never reach kill or waitpid, where it means every process.
    const pid_t pid = piped ? fork() : -1;
    if (pid < 0) {
        const int error = errno;
        ADD_FAILURE() << (piped ? "fork" : "pipe") << ": " << std::strerror(error);
        for (int fd : {out[0], out[1], in[0], in[1]}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        if (errors != nullptr) {
            std::fclose(errors);
        }
        return {};
    }
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(fileno(errors), STDERR_FILENO);
        const int devNull = input == Input::DevNull ? open("/dev/null", O_RDONLY) : -1;
        if (input == Input::Key) {
            dup2(in[0], STDIN_FILENO);
        } else if (input == Input::DevNull) {
            dup2(devNull, STDIN_FILENO);
        } else {
            close(STDIN_FILENO);
        }
        // The program gets its three streams and nothing else of the runner's.
        for (int fd : {out[0], out[1], in[0], in[1], fileno(errors), devNull}) {
            if (fd > STDERR_FILENO) {
                close(fd);
            }
        }
        if (chdir(dir.c_str()) == 0) {
            execvp(argv[0], argv.data());
        }
        _exit(127);
    }
    close(out[1]);
    close(in[0]);
    Result run;
    bool keyDue = input == Input::Key;
    pollfd output{out[0], POLLIN, 0};
    std::array<char, 4096> chunk{};
    for (ssize_t n = 1; n > 0;) {
        if (poll(&output, 1, 20'000) == 0) {
            ADD_FAILURE() << "no output for 20 s, after: " << run.out;
            kill(pid, SIGKILL);
        }
        n = read(out[0], chunk.data(), chunk.size());
        run.out.append(chunk.data(), static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        if (keyDue && run.out.size() >= kPrompt.size() &&
            run.out.compare(run.out.size() - kPrompt.size(), kPrompt.size(), kPrompt) == 0) {
            EXPECT_EQ(waitpid(pid, &run.status, WNOHANG), 0) << "ended before the key";
            EXPECT_EQ(write(in[1], "k", 1), 1);  // one key, and the pipe stays open
            keyDue = false;
        }
    }
    close(out[0]);
    close(in[1]);
    waitpid(pid, &run.status, 0);
    std::rewind(errors);
    for (std::size_t n = 0; (n = std::fread(chunk.data(), 1, chunk.size(), errors)) > 0;) {
        run.err.append(chunk.data(), n);
    }
    std::fclose(errors);
    return run;
}
