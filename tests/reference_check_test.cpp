#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Play.h"
#include "TestPaths.h"
#include "support/BoardSupport.h"
#include "support/ReferenceSolver.h"
#include "support/TestSupport.h"

// The program's findings against the independent solver, on many seeded
// random grids and the shipped word list.
TEST(ReferenceCheck, ShippedListOnAThousandRandomGrids) {
    const std::vector<std::string> words = wordsOf(readFile(WORDGRID_SHIPPED_LIST));
    ASSERT_GT(words.size(), 10000u);

    Board board;
    board.loadDictionary(WORDGRID_SHIPPED_LIST);
    std::mt19937 random(20261208);
    std::size_t gridsWithWords = 0;
    for (int gridNumber = 0; gridNumber < 1000; ++gridNumber) {
        const std::string grid = randomGrid(random);
        TestPeer::setLetters(board, grid);
        std::ostringstream out;
        searchPass(board, out);
        board.printWords(out);
        const std::string expected = reference::expectedListing(grid, words);
        ASSERT_EQ(out.str(), "\n" + expected) << "grid " << grid;
        gridsWithWords += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(gridsWithWords, 800u);  // the check must not pass on empty listings alone
}
