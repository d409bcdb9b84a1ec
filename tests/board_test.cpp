#include "Board.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Play.h"
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

// The run's search pass, and the listing after it. A search that left a
// mark or a letter behind would leave it to the end.
std::string searchAll(Board& board) {
    std::ostringstream pass;
    searchPass(board, pass);
    EXPECT_EQ(pass.str(), "\n");
    EXPECT_TRUE(TestPeer::pathIsClear(board));
    std::ostringstream listing;
    board.printWords(listing);
    return listing.str();
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
    for (int draw = 0; draw < 9; ++draw) {
        std::rand();
    }
    const int tenth = std::rand();

    Board board;
    TestPeer::forEachCell(board, [](Cell& cell) { cell.visited = 1; });  // the fill must clear every mark
    std::srand(1234);
    board.randomize();
    EXPECT_EQ(std::rand(), tenth);  // nine draws, no more
    EXPECT_TRUE(TestPeer::pathIsClear(board));
#ifdef __GLIBC__
    EXPECT_EQ(TestPeer::letters(board), "krprivlua");  // glibc's first nine draws for 1234, modulo 26
#else
    EXPECT_EQ(TestPeer::letters(board).find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
#endif
}

TEST(Board, PrintsThreeRowsWithTrailingSpaces) {
    Board board;
    TestPeer::setLetters(board, "qwertyuio");
    std::ostringstream out;
    board.print(out);
    EXPECT_EQ(out.str(), "q w e \nr t y \nu i o \n");
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
    struct Square {
        int row, col;
        std::size_t neighbours;
    };
    for (const Square square : {Square{0, 0, 3}, {2, 2, 3}, {0, 1, 5}, {1, 0, 5}, {1, 1, 8}}) {
        Board board;
        loadWords(board, pairs);
        TestPeer::setLetters(board, "abcdefghi");
        board.search(square.row, square.col);
        EXPECT_TRUE(TestPeer::pathIsClear(board));
        std::ostringstream listing;
        board.printWords(listing);
        std::size_t words = 0;
        for (std::size_t at = listing.str().find(" - "); at != std::string::npos;
             at = listing.str().find(" - ", at + 1)) {
            ++words;
        }
        EXPECT_EQ(words, square.neighbours) << square.row << ", " << square.col;
    }
}

TEST(Board, WordTestComesFirstAndNeighboursGoInFixedOrder) {
    // From the centre e, the neighbours in their order spell ea, eb, ... ei:
    // found in that order after e itself, they build a right-leaning chain.
    Board board;
    loadWords(board, {"ei", "eh", "eg", "ef", "ed", "ec", "eb", "ea", "e"});
    TestPeer::setLetters(board, "abcdefghi");
    board.search(1, 1);
    std::ostringstream out;
    TestPeer::found(board).printPreOrder(out);
    EXPECT_EQ(out.str(), "e - ea - eb - ec - ed - ef - eg - eh - ei - ");
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
    EXPECT_TRUE(TestPeer::pathIsClear(board));
    TestPeer::cell(board, 1, 1).visited = 1;
    board.search(1, 1);
    EXPECT_EQ(TestPeer::root(TestPeer::found(board)), nullptr);
    EXPECT_EQ(TestPeer::cell(board, 1, 1).visited, 1);  // still the caller's mark
}
