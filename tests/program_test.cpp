// Runs the built program as a process in a temporary directory and checks
// everything it writes, byte for byte.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "support/ReferenceSolver.h"
#include "support/TestSupport.h"

namespace {

enum class Input { DevNull, Closed, Key };

// A built program and how to start it. The Windows one runs under wine and
// ends its lines with CR LF, as a Windows console stream does.
struct Platform {
    std::vector<std::string> command;
    bool crlf;
};

std::vector<Platform> platforms() {
    std::vector<Platform> all{{{WORDGRID_PROGRAM}, false}};
    if (!std::string(WORDGRID_WINDOWS_PROGRAM).empty()) {
        all.push_back({{"env", std::string("WINEPREFIX=") + WORDGRID_WINEPREFIX, "WINEDEBUG=-all", "wine",
                        WORDGRID_WINDOWS_PROGRAM},
                       true});
    }
    return all;
}

const std::string kPrompt = "Press any key to continue...";

struct Run {
    std::string out;
    std::string err;
    int status = -1;
};

// Reads the child's standard output and error together until both close: a
// child that fills one pipe while the test waits on the other would hang it.
// With a `keyFd`, sends one key once the prompt is out, checking that the
// child is still there, waiting for it.
void drainBoth(int outFd, int errFd, int keyFd, pid_t pid, Run& run) {
    std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
    const std::array<std::string*, 2> texts{&run.out, &run.err};
    std::array<char, 4096> chunk{};
    for (int open = 2; open > 0;) {
        const int ready = poll(fds.data(), fds.size(), 20'000);
        if (ready == 0) {  // a child stuck waiting fails instead of hanging the test
            ADD_FAILURE() << "no output for 20 s, after: " << run.out;
            kill(pid, SIGKILL);
        } else if (ready < 0) {
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
                if (keyFd >= 0 && i == 0 && run.out.size() >= kPrompt.size() &&
                    run.out.compare(run.out.size() - kPrompt.size(), kPrompt.size(), kPrompt) == 0) {
                    int status = 0;
                    EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "ended before the key";
                    EXPECT_EQ(write(keyFd, "k", 1), 1);  // one key, and the pipe stays open
                    keyFd = -1;
                }
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;  // poll skips it from now on
                --open;
            }
        }
    }
}

Run runProgram(const std::filesystem::path& dir, Input input, const Platform& platform) {
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
        std::vector<char*> argv;
        for (const std::string& word : platform.command) {
            argv.push_back(const_cast<char*>(word.c_str()));
        }
        argv.push_back(const_cast<char*>("ignored-argument"));
        argv.push_back(nullptr);
        if (chdir(dir.c_str()) == 0) {
            execvp(argv[0], argv.data());
        }
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    close(in[0]);
    Run run;
    drainBoth(out[0], err[0], input == Input::Key ? in[1] : -1, pid, run);
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

std::string withCrLf(const std::string& text) {
    std::string converted;
    for (char c : text) {
        converted += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return converted;
}

void expectCleanRun(const Run& run, const std::vector<std::string>& words, const Platform& platform) {
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.status;
    EXPECT_EQ(run.err, "");
    std::string lf = run.out;
    if (platform.crlf) {
        lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    }
    const std::string expected = expectedOutput(gridOf(lf), words);
    EXPECT_EQ(run.out, platform.crlf ? withCrLf(expected) : expected);
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
    for (const Platform& platform : platforms()) {
        for (Input input : {Input::DevNull, Input::Closed, Input::Key}) {
            TempDir dir;
            expectCleanRun(runProgram(dir.path, input, platform), {}, platform);
        }
        TempDir dir;
        std::filesystem::create_directory(dir.path / "EnglishWL.txt");
        expectCleanRun(runProgram(dir.path, Input::DevNull, platform), {}, platform);
    }
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
    // Words the grid spells after a Ctrl-Z: a text-mode read would stop there.
    const std::string junk =
        std::string(40, 'x') + "\n\n\x01\xff\xfe\n" + std::string("a\0b\n", 4) + "\x1a\nzz\x1a\n" + alphabet;
    for (const Platform& platform : platforms()) {
        for (const std::string& list : {alphabet, pairsCrLf + junk, readFile(WORDGRID_SHIPPED_LIST)}) {
            TempDir dir;
            dir.write("EnglishWL.txt", list);
            expectCleanRun(runProgram(dir.path, Input::Key, platform), wordsOf(list), platform);
        }
    }
}

// Each release bundle, unpacked, runs in its own folder on the list beside it.
TEST(Program, ReleaseBundlesRunWhereUnpacked) {
    if (std::string(WORDGRID_BUNDLE_DIR).empty()) {
        GTEST_SKIP() << "no bundles in this build";
    }
    const std::vector<Platform> all = platforms();
    ASSERT_EQ(all.size(), 2u);
    // The platform, its archive, its program, and its text files' line end.
    const std::array<std::array<std::string, 4>, 2> bundles{
        {{"Linux", ".tar.gz", "wordgrid", "\n"}, {"Windows", ".zip", "wordgrid.exe", "\r\n"}}};
    for (std::size_t i = 0; i < bundles.size(); ++i) {
        const auto& [system, extension, program, lineEnd] = bundles[i];
        const std::string name = "wordgrid-" WORDGRID_VERSION "-" + system;
        TempDir dir;
        std::string unpack = "cd '" + dir.path.string() + "' && cmake -E tar xf '" WORDGRID_BUNDLE_DIR "/";
        unpack += name + extension + "'";
        ASSERT_EQ(std::system(unpack.c_str()), 0) << unpack;
        const std::filesystem::path folder = dir.path / name;
        // Its own README, SCOWL's notice and the shipped list, all with the
        // platform's line ends.
        const std::string readme = readFile((folder / "README.txt").string());
        const std::string notice = readFile((folder / "EnglishWL.copyright.txt").string());
        const std::string list = readFile((folder / "EnglishWL.txt").string());
        EXPECT_EQ(readme.rfind("wordgrid " WORDGRID_VERSION " for " + system, 0), 0u) << readme;
        EXPECT_NE(notice.find("Permission to use"), std::string::npos);
        EXPECT_EQ(notice.find("debianized"), std::string::npos);
        for (const std::string* text : {&readme, &notice, &list}) {
            std::string lf = *text;
            lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
            EXPECT_TRUE(*text == (lineEnd == "\n" ? lf : withCrLf(lf)))
                << system << ": " << text->substr(0, 40);
        }
        EXPECT_TRUE(wordsOf(list) == wordsOf(readFile(WORDGRID_SHIPPED_LIST))) << system;
        Platform unpacked = all[i];
        unpacked.command.back() = (folder / program).string();
        expectCleanRun(runProgram(folder, Input::DevNull, unpacked), wordsOf(readFile(WORDGRID_SHIPPED_LIST)),
                       unpacked);
    }
}

// The clock's second seeds the grid: the same within a second, and another
// (all but surely) in the next.
TEST(Program, RunsShareTheirGridWithinASecondOnly) {
    TempDir dir;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const std::string first = gridOf(runProgram(dir.path, Input::DevNull, platforms()[0]).out);
        const std::string second = gridOf(runProgram(dir.path, Input::DevNull, platforms()[0]).out);
        if (std::time(nullptr) == before) {
            EXPECT_EQ(first, second);
            while (std::time(nullptr) == before) {
                usleep(10'000);
            }
            EXPECT_NE(gridOf(runProgram(dir.path, Input::DevNull, platforms()[0]).out), first);
            return;
        }
    }
    GTEST_SKIP() << "every pair of runs straddled a second";
}
