// Runs the built programs as processes, each case in a temporary directory,
// and checks everything they write, byte for byte.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestPaths.h"
#include "support/ProcessRunner.h"
#include "support/ReferenceSolver.h"
#include "support/TestSupport.h"

namespace {

// A built program, how to start it, and its bundle's archive. The Windows
// one runs under wine and ends its lines with CR LF, as a Windows console
// stream does; so do the text files of its bundle. A 64-bit ARM Linux one
// runs under qemu-user. The installed commands have no bundle, and play on
// the installed list where the folder has none.
struct Platform {
    std::string name;
    std::vector<std::string> runner;
    std::string program;
    std::string archive;
    std::string lineEnd;
    bool installed = false;

    std::vector<std::string> command(const std::filesystem::path& path) const {
        std::vector<std::string> words = runner;
        words.push_back(path.string());
        words.emplace_back("ignored-argument");
        return words;
    }
};

std::vector<Platform> platforms() {
    // This build's program, under an emulator if it is another machine's.
    std::vector<Platform> all{{WORDGRID_PLATFORM, {WORDGRID_EMULATOR}, WORDGRID_PROGRAM, ".tar.gz", "\n"}};
    const std::vector<std::string> wine{"env", "WINEPREFIX=" WORDGRID_WINEPREFIX, "WINEDEBUG=-all",
                                        WORDGRID_WINE};
    if (!std::string(WORDGRID_WINDOWS_PROGRAM).empty()) {
        all.push_back({"Windows", wine, WORDGRID_WINDOWS_PROGRAM, ".zip", "\r\n"});
    }
    if (!std::string(WORDGRID_INSTALLER_WINEPREFIX).empty()) {
        const std::vector<std::string> installed{"env", "WINEPREFIX=" WORDGRID_INSTALLER_WINEPREFIX,
                                                 "WINEDEBUG=-all", WORDGRID_WINE};
        all.push_back({"WindowsInstalled", installed,
                       WORDGRID_INSTALLER_WINEPREFIX "/drive_c/Program Files/wordgrid/wordgrid.exe", "",
                       "\r\n"});
    }
    // Another machine's package: its program, as its launcher would start it
    // without the emulator.
    if (!std::string(WORDGRID_PACKAGE_PROGRAM).empty()) {
        all.push_back({"DebianPackageProgram", {WORDGRID_EMULATOR}, WORDGRID_PACKAGE_PROGRAM, "", "\n"});
    }
    if (!std::string(WORDGRID_INSTALLED_COMMAND).empty()) {
        all.push_back({"Installed", {}, WORDGRID_INSTALLED_COMMAND, "", "\n", true});
        all.push_back({"InstalledThroughLinks", {}, WORDGRID_LINKED_COMMAND, "", "\n", true});
    }
    if (!std::string(WORDGRID_PACKAGE_COMMAND).empty()) {
        all.push_back({"DebianPackage", {}, WORDGRID_PACKAGE_COMMAND, "", "\n", true});
    }
    return all;
}

// Three lines of "x y z " for nine letters given row by row.
std::string gridLines(const std::string& grid) {
    std::string text;
    for (std::size_t cell = 0; cell < grid.size(); ++cell) {
        text += std::string{grid[cell], ' '} + (cell % 3 == 2 ? "\n" : "");
    }
    return text;
}

// The nine grid letters of a run's output, row by row. An output that does
// not open with a grid fails, and gives a grid that matches no run.
std::string gridOf(const std::string& out) {
    std::string grid;
    for (std::size_t cell = 0; cell < 9 && out.size() >= 21; ++cell) {
        grid += out[cell / 3 * 7 + cell % 3 * 2];
    }
    if (grid.size() != 9 ||
        std::any_of(grid.begin(), grid.end(), [](char c) { return c < 'a' || c > 'z'; }) ||
        out.compare(0, 21, gridLines(grid)) != 0) {
        ADD_FAILURE() << "no grid in " << out;
        return "?????????";
    }
    return grid;
}

// What a run must write for its grid, given the words it should know.
std::string expectedOutput(const std::string& grid, const std::vector<std::string>& words) {
    return gridLines(grid) + "\n\n" + reference::expectedListing(grid, words) + "\n" + kPrompt;
}

std::string withoutCr(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string withLineEnd(const std::string& text, const std::string& lineEnd) {
    std::string converted;
    for (char c : text) {
        converted += c == '\n' ? lineEnd : std::string(1, c);
    }
    return converted;
}

void expectCleanRun(const Result& run, const std::vector<std::string>& words, const Platform& platform) {
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.status;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, withLineEnd(expectedOutput(gridOf(withoutCr(run.out)), words), platform.lineEnd));
}

const std::string kByteOrderMark = "\xEF\xBB\xBF";

// What the program's folder holds under the list's name.
enum class Holds { Nothing, AFolder, TheList };

struct Case {
    const char* name;
    Holds holds;
    std::string list;
    Input input;
    // No process can be started, so the runner itself must fail the run.
    bool forkFails = false;
    // The list's first line gets the grid's first letter, learnt from a run
    // just before within the same second: a word that the grid spells.
    bool firstWordOnGrid = false;
};

std::vector<Case> cases() {
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
    return {
        {"NoListInputDevNull", Holds::Nothing, "", Input::DevNull},
        {"NoListInputClosed", Holds::Nothing, "", Input::Closed},
        {"NoListAKey", Holds::Nothing, "", Input::Key},
        {"ListNameIsAFolder", Holds::AFolder, "", Input::DevNull},
        {"EveryLetterAWord", Holds::TheList, alphabet, Input::Key},
        {"CrLfPairsJunkAndCtrlZ", Holds::TheList, pairsCrLf + junk, Input::Key},
        {"ShippedList", Holds::TheList, readFile(WORDGRID_SHIPPED_LIST), Input::Key},
        {"NoProcessToBeHad", Holds::Nothing, "", Input::Key, true},
        {"ByteOrderMarkBeforeTheFirstWord", Holds::TheList, kByteOrderMark + "\r\n", Input::Key, false, true},
    };
}

// The first moment of the next second, from `now`.
std::time_t nextSecond(std::time_t now) {
    while (std::time(nullptr) == now) {
        usleep(10'000);
    }
    return std::time(nullptr);
}

}  // namespace

// Each case on each platform built: the whole output, byte for byte.
class Program : public testing::TestWithParam<Case> {};

TEST_P(Program, RunsOnEveryPlatform) {
    const Case& run = GetParam();
    for (const Platform& platform : platforms()) {
        SCOPED_TRACE(platform.name);
        TempDir dir;
        std::string list = run.list;
        if (run.firstWordOnGrid) {
            const Result before = runProgram(dir.path, Input::DevNull, platform.command(platform.program));
            list.insert(list.find('\r'), 1, gridOf(withoutCr(before.out))[0]);
        }
        if (run.holds == Holds::AFolder) {
            std::filesystem::create_directory(dir.path / "EnglishWL.txt");
        } else if (run.holds == Holds::TheList) {
            dir.write("EnglishWL.txt", list);
        }
        if (run.forkFails) {
            // In a child of its own, as a user allowed no processes (root is
            // not held to the limit): the run fails once, on the fork, and
            // goes no further.
            EXPECT_EXIT(
                {
                    const passwd* nobody = getpwnam("nobody");
                    const rlimit none{};  // no processes at all
                    if ((getuid() == 0 && (nobody == nullptr || setuid(nobody->pw_uid) != 0)) ||
                        setrlimit(RLIMIT_NPROC, &none) != 0) {
                        std::_Exit(100);
                    }
                    testing::TestPartResultArray failures;
                    const testing::ScopedFakeTestPartResultReporter catcher(&failures);
                    runProgram(dir.path, run.input, platform.command(platform.program));
                    for (int i = 0; i < failures.size(); ++i) {
                        std::fputs(failures.GetTestPartResult(i).message(), stderr);
                    }
                    std::_Exit(failures.size());
                },
                testing::ExitedWithCode(1), "fork: ");
            continue;
        }
        const bool ownList = run.holds == Holds::TheList || !platform.installed;
        expectCleanRun(runProgram(dir.path, run.input, platform.command(platform.program)),
                       wordsOf(ownList ? list : readFile(WORDGRID_SHIPPED_LIST)), platform);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Program, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case>& param) { return param.param.name; });

// Each release bundle, unpacked, runs in its own folder on the list beside
// it, and holds its own README, its licence, SCOWL's notice and the shipped list, all
// with the platform's line ends. A Linux bundle's program needs nothing from
// the system: alone with the list in an empty root here, or under the
// emulator without its libraries, it prints what this build's program
// prints in the same second, byte for byte. The installed Windows program
// plays in its folder, where its Start-menu shortcut starts it.
TEST(Bundles, RunWhereUnpacked) {
    if (std::string(WORDGRID_BUNDLE_DIR).empty()) {
        GTEST_SKIP() << "no bundles in this build";
    }
    const std::string shipped = readFile(WORDGRID_SHIPPED_LIST);
    TempDir dir;
    std::vector<std::pair<std::string, std::vector<std::string>>> linuxRuns;
    const std::vector<std::string> emulator{WORDGRID_EMULATOR};
    for (const Platform& platform : platforms()) {
        SCOPED_TRACE(platform.name);
        if (platform.name == "WindowsInstalled") {
            const std::filesystem::path folder = std::filesystem::path(platform.program).parent_path();
            expectCleanRun(runProgram(folder, Input::DevNull, platform.command(platform.program)),
                           wordsOf(shipped), platform);
        }
        if (platform.archive.empty()) {
            continue;
        }
        const std::string name = "wordgrid-" WORDGRID_VERSION "-" + platform.name;
        const Result unpack = runProgram(
            dir.path, Input::DevNull,
            {WORDGRID_CMAKE, "-E", "tar", "xf", WORDGRID_BUNDLE_DIR "/" + name + platform.archive});
        ASSERT_EQ(unpack.status, 0) << unpack.err;
        const auto file = [&](const char* fileName) {
            return readFile((dir.path / name / fileName).string());
        };
        const std::string readme = file("README.txt");
        const std::string notice = file("EnglishWL.copyright.txt");
        EXPECT_EQ(readme.rfind("wordgrid " WORDGRID_VERSION " for " + platform.name, 0), 0u) << readme;
        EXPECT_NE(notice.find("Permission to use"), std::string::npos);
        EXPECT_EQ(notice.find("debianized"), std::string::npos);
        const std::string licence = file("LICENSE.txt");
        EXPECT_EQ(withoutCr(licence), readFile(WORDGRID_LICENSE));
        EXPECT_TRUE(withoutCr(file("EnglishWL.txt")) == shipped);
        for (const std::string& text : {readme, notice, licence, file("EnglishWL.txt")}) {
            EXPECT_TRUE(text == withLineEnd(withoutCr(text), platform.lineEnd)) << text.substr(0, 40);
        }
        const std::filesystem::path folder = dir.path / name;
        const std::vector<std::string> command =
            platform.command(folder / std::filesystem::path(platform.program).filename());
        expectCleanRun(runProgram(folder, Input::DevNull, command), wordsOf(shipped), platform);
        if (platform.name.rfind("Linux", 0) == 0) {
            const std::filesystem::path root = dir.path / "root";
            std::filesystem::create_directory(root);
            std::filesystem::copy(folder / "wordgrid", root);
            std::filesystem::copy(folder / "EnglishWL.txt", root);
            std::vector<std::string> alone{"unshare", "-r", "chroot", root.string(), "/wordgrid"};
            if (!emulator.empty()) {
                alone = {emulator.front(), (root / "wordgrid").string()};
            }
            linuxRuns.emplace_back(folder.string(), platforms().front().command(WORDGRID_PROGRAM));
            linuxRuns.emplace_back(root.string(), alone);
        }
    }
    // Runs that take over a second prove nothing: tried again, a few times.
    for (int attempt = 0; attempt < 3 && linuxRuns.size() > 1; ++attempt) {
        const std::time_t second = nextSecond(std::time(nullptr));
        std::vector<Result> runs;
        runs.reserve(linuxRuns.size());
        for (const auto& [folder, command] : linuxRuns) {
            runs.push_back(runProgram(folder, Input::DevNull, command));
        }
        if (std::time(nullptr) == second) {
            gridOf(runs[0].out);  // fails the test unless the output opens with a grid
            for (std::size_t run = 1; run < runs.size(); ++run) {
                EXPECT_TRUE(runs[run].out == runs[0].out && runs[run].status == 0)
                    << linuxRuns[run].first << ", status " << runs[run].status << ":\n"
                    << runs[run].out << runs[run].err << "\n"
                    << runs[0].out;
            }
            return;
        }
    }
    if (linuxRuns.size() > 1) {
        ADD_FAILURE() << "the bundle's and the build's programs never ran within one second";
    }
}

// The clock's second seeds the grid: the same within a second, and another
// (all but surely) in the next.
TEST(Seed, RunsShareTheirGridWithinASecondOnly) {
    TempDir dir;
    const Platform built = platforms().front();
    const auto grid = [&] {
        return gridOf(runProgram(dir.path, Input::DevNull, built.command(built.program)).out);
    };
    const std::time_t second = nextSecond(std::time(nullptr));  // a fresh second: time for two runs
    const std::string first = grid();
    const std::string again = grid();
    if (std::time(nullptr) != second) {
        GTEST_SKIP() << "two runs took over a second";
    }
    EXPECT_EQ(first, again);
    nextSecond(second);
    EXPECT_NE(grid(), first);
}
