#include "Board.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/BoardSupport.h"
#include "support/TestSupport.h"

namespace {

void loadWords(Board& board, const std::vector<std::string>& words) {
    std::string lines;
    for (const std::string& word : words) {
        lines += word + "\n";
    }
    TempDir dir;
    board.loadDictionary(dir.write("EnglishWL.txt", lines));
}

bool pathIsClear(Board& board) {
    for (int row = 0; row < Board::kSize; ++row) {
        for (int col = 0; col < Board::kSize; ++col) {
            if (TestPeer::cell(board, row, col).visited != 0) {
                return false;
            }
        }
    }
    return TestPeer::current(board).empty();
}

// Searches from every square, as the run does, and returns the listing. A
// search that left a mark or a letter behind would leave it to the end.
std::string searchAll(Board& board) {
    searchEverySquare(board);
    EXPECT_TRUE(pathIsClear(board));
    CapturedCout out;
    board.printWords();
    return out.take();
}

std::string solve(const std::string& grid, const std::vector<std::string>& words) {
    Board board;
    loadWords(board, words);
    TestPeer::setLetters(board, grid);
    return searchAll(board);
}

}  // namespace

TEST(Board, RandomizeDrawsNineLettersRowByRow) {
    std::srand(1234);
    std::string expected;
    for (int i = 0; i < 9; ++i) {
        expected += static_cast<char>('a' + std::rand() % 26);
    }
    const int tenth = std::rand();

    Board board;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            TestPeer::cell(board, row, col).visited = 1;  // the fill must clear every mark
        }
    }
    std::srand(1234);
    board.randomize();
    EXPECT_EQ(std::rand(), tenth);
    std::string drawn;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            drawn += TestPeer::cell(board, row, col).letter;
            EXPECT_EQ(TestPeer::cell(board, row, col).visited, 0);
        }
    }
    EXPECT_EQ(drawn, expected);
}

TEST(Board, PrintsThreeRowsWithTrailingSpaces) {
    Board board;
    TestPeer::setLetters(board, "qwertyuio");
    CapturedCout out;
    board.print();
    EXPECT_EQ(out.take(), "q w e \nr t y \nu i o \n");
}

TEST(Board, FindsWordsAlongTouchingUnusedCells) {
    // t e a
    // s m x
    // r o d
    const std::string grid = "teasmxrod";
    EXPECT_EQ(solve(grid, {"tea", "team", "teams", "sod", "rod", "eat", "meat", "mat", "stem"}),
              "rod - sod - stem - tea - team - teams - ");
    EXPECT_EQ(solve(grid, {"teat", "tet", "emme", "dot", "rot", "toad", "meta"}), "");  // reuse, far apart
    EXPECT_EQ(solve(grid, {"a", "x", "b", "ax", "xa", "ab"}), "a - ax - x - xa - ");    // any length
    EXPECT_EQ(solve(grid, {}), "");
    EXPECT_EQ(solve(grid, {"Tea", "TEAM", "tEa"}), "");  // exact case only
}

TEST(Board, NeighboursOfCornersEdgesAndCentre) {
    std::vector<std::string> pairs;
    for (char first = 'a'; first <= 'i'; ++first) {
        for (char second = 'a'; second <= 'i'; ++second) {
            pairs.push_back({first, second});
        }
    }
    const auto countFrom = [&](int row, int col) {
        Board board;
        loadWords(board, pairs);
        TestPeer::setLetters(board, "abcdefghi");
        board.search(row, col);
        EXPECT_TRUE(pathIsClear(board));
        CapturedCout out;
        board.printWords();
        const std::string listing = out.take();
        std::size_t count = 0;
        for (std::size_t at = listing.find(" - "); at != std::string::npos;
             at = listing.find(" - ", at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(countFrom(0, 0), 3u);
    EXPECT_EQ(countFrom(2, 2), 3u);
    EXPECT_EQ(countFrom(0, 1), 5u);
    EXPECT_EQ(countFrom(1, 0), 5u);
    EXPECT_EQ(countFrom(1, 1), 8u);
}

TEST(Board, WordTestComesFirstAndNeighboursGoInFixedOrder) {
    // From the centre e, the neighbours in their order spell ea, eb, ... ei:
    // found in that order after e itself, they build a right-leaning chain.
    Board board;
    loadWords(board, {"ei", "eh", "eg", "ef", "ed", "ec", "eb", "ea", "e"});
    TestPeer::setLetters(board, "abcdefghi");
    board.search(1, 1);
    CapturedCout out;
    TestPeer::found(board).printPreOrder();
    EXPECT_EQ(out.take(), "e - ea - eb - ec - ed - ef - eg - eh - ei - ");
}

TEST(Board, NineEqualLettersSpellOneToNineButNotTen) {
    std::vector<std::string> words;
    std::string expected;
    for (std::size_t length = 1; length <= 10; ++length) {
        words.emplace_back(length, 'o');
        if (length <= 9) {
            expected += std::string(length, 'o') + " - ";  // each once, though reached many times
        }
    }
    EXPECT_EQ(solve("ooooooooo", words), expected);
}

TEST(Board, SearchOffTheGridOrOnAVisitedCellDoesNothing) {
    Board board;
    loadWords(board, {"a"});
    TestPeer::setLetters(board, "aaaaaaaaa");
    for (const auto& [row, col] : {std::pair{-1, 0}, {0, 3}, {3, 3}, {1, -5}}) {
        board.search(row, col);
    }
    EXPECT_EQ(TestPeer::root(TestPeer::found(board)), nullptr);
    EXPECT_TRUE(pathIsClear(board));
}
