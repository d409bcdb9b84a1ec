// Runs the built program as a process in a temporary directory and checks
// everything it writes, byte for byte.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "support/ReferenceSolver.h"
#include "support/TestSupport.h"

namespace {

enum class Input { DevNull, Closed, Key };

struct Run {
    std::string out;
    std::string err;
    int status = -1;
};

// Reads the child's standard output and error together until both close: a
// child that fills one pipe while the test waits on the other would hang it.
void drainBoth(int outFd, int errFd, Run& run) {
    std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
    const std::array<std::string*, 2> texts{&run.out, &run.err};
    std::array<char, 4096> chunk{};
    for (int open = 2; open > 0;) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            ADD_FAILURE() << "poll";
            return;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t n = read(fds[i].fd, chunk.data(), chunk.size());
            if (n > 0) {
                texts[i]->append(chunk.data(), static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;  // poll skips it from now on
                --open;
            }
        }
    }
}

Run runProgram(const TempDir& dir, Input input) {
    std::array<int, 2> out{};
    std::array<int, 2> err{};
    std::array<int, 2> in{};
    if (pipe(out.data()) != 0 || pipe(err.data()) != 0 || pipe(in.data()) != 0) {
        ADD_FAILURE() << "pipe";
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        if (input == Input::Key) {
            dup2(in[0], STDIN_FILENO);
        } else if (input == Input::DevNull) {
            dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
        } else {
            close(STDIN_FILENO);
        }
        for (int fd : {out[0], out[1], err[0], err[1], in[0], in[1]}) {
            close(fd);
        }
        if (chdir(dir.path.c_str()) == 0) {
            execl(WORDGRID_PROGRAM, WORDGRID_PROGRAM, "ignored-argument", static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    close(in[0]);
    if (input == Input::Key) {
        EXPECT_EQ(write(in[1], "k", 1), 1);  // one key, and the pipe stays open
    }
    Run run;
    drainBoth(out[0], err[0], run);
    close(in[1]);
    waitpid(pid, &run.status, 0);
    return run;
}

// The nine grid letters of a run's output, row by row, after checking that
// it opens with three lines of "x y z ". An output too short for them fails,
// and gives a grid that matches no run.
std::string gridOf(const std::string& out) {
    if (out.size() < 21) {
        ADD_FAILURE() << "no grid in " << out;
        return "?????????";
    }
    std::string grid;
    for (std::size_t row = 0; row < 3; ++row) {
        const std::string line = out.substr(row * 7, 7);
        for (std::size_t col = 0; col < 3; ++col) {
            EXPECT_TRUE(line[2 * col] >= 'a' && line[2 * col] <= 'z') << out;
            EXPECT_EQ(line[2 * col + 1], ' ') << out;
            grid += line[2 * col];
        }
        EXPECT_EQ(line[6], '\n') << out;
    }
    return grid;
}

// What a run must write for its grid, given the words it should know.
std::string expectedOutput(const std::string& grid, const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t col = 0; col < 3; ++col) {
            text += grid[row * 3 + col];
            text += ' ';
        }
        text += '\n';
    }
    return text + "\n\n" + reference::expectedListing(grid, words) + "\nPress any key to continue...";
}

void expectCleanRun(const Run& run, const std::vector<std::string>& words) {
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.status;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expectedOutput(gridOf(run.out), words));
}

// The words a list file holds, as the program should read them.
std::vector<std::string> wordsOf(const std::string& listText) {
    std::vector<std::string> words;
    std::istringstream lines(listText);
    for (std::string word; std::getline(lines, word);) {
        if (!word.empty() && word.back() == '\r') {
            word.pop_back();
        }
        words.push_back(word);
    }
    return words;
}

}  // namespace

TEST(Program, WithoutAWordListPrintsTheFrameWhateverTheInput) {
    for (Input input : {Input::DevNull, Input::Closed, Input::Key}) {
        TempDir dir;
        expectCleanRun(runProgram(dir, input), {});
    }
    TempDir dir;
    std::filesystem::create_directory(dir.path / "EnglishWL.txt");
    expectCleanRun(runProgram(dir, Input::DevNull), {});
}

TEST(Program, ListsEveryWordTheGridSpells) {
    std::string alphabet;  // every letter a word: the listing is the grid's letters
    std::string pairsCrLf;
    for (char first = 'a'; first <= 'z'; ++first) {
        alphabet += std::string(1, first) + "\n";
        for (char second = 'a'; second <= 'z'; ++second) {
            pairsCrLf += std::string{first, second} + "\r\n";
        }
    }
    const std::string junk = std::string(40, 'x') + "\n\n\x01\xff\xfe\n" + std::string("a\0b\n", 4);
    for (const std::string& list : {alphabet, pairsCrLf + junk, readFile(WORDGRID_SHIPPED_LIST)}) {
        TempDir dir;
        dir.write("EnglishWL.txt", list);
        expectCleanRun(runProgram(dir, Input::Key), wordsOf(list));
    }
}

TEST(Program, RunsInTheSameSecondShareTheirGrid) {
    TempDir dir;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const std::string first = runProgram(dir, Input::DevNull).out;
        const std::string second = runProgram(dir, Input::DevNull).out;
        if (std::time(nullptr) == before) {
            EXPECT_EQ(gridOf(first), gridOf(second));
            return;
        }
    }
    GTEST_SKIP() << "every pair of runs straddled a second";
}
