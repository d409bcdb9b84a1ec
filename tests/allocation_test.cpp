// The queries run at every step of the search, so they must not touch the
// heap; the search itself allocates only the tree nodes of new words.

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <random>
#include <string>

#include "Play.h"
#include "TestPaths.h"
#include "support/AllocationCounter.h"
#include "support/BoardSupport.h"
#include "support/TestSupport.h"

namespace {

std::size_t nodeCount(const TreeNode* node) {
    return node == nullptr ? 0 : 1 + nodeCount(node->left) + nodeCount(node->right);
}

}  // namespace

TEST(Allocation, LoadingTakesBlocksAndQueriesNothing) {
    // Nodes come from the buckets' arenas in a few blocks; only a word longer
    // than the string's own buffer (15 bytes) needs a heap block of its own.
    std::size_t longWords = 0;
    for (const std::string& word : wordsOf(readFile(WORDGRID_SHIPPED_LIST))) {
        longWords += word.size() > 15 ? 1 : 0;
    }
    Board board;
    std::size_t before = allocation::count();
    board.loadDictionary(WORDGRID_SHIPPED_LIST);
    EXPECT_LT(allocation::count() - before, longWords + 100);

    const HashTable& table = TestPeer::words(board);
    const std::array<std::string, 10> queries = {
        "s", "st", "stand", "standardization", "sxq", "sssssssssssssssssssssss", "zz", "", "9", "\xc3\xa9"};
    before = allocation::count();
    std::size_t answers = 0;
    for (const std::string& query : queries) {
        answers += table.contains(query) ? 1 : 0;
        answers += table.containsPrefix(query) ? 1 : 0;
    }
    EXPECT_EQ(allocation::count(), before);
    EXPECT_EQ(answers, 6u);
}

TEST(Allocation, SearchAllocatesOnlyTheFoundWordsNodes) {
    Board board;
    board.loadDictionary(WORDGRID_SHIPPED_LIST);
    std::mt19937 random(7);
    std::ostream discard(nullptr);  // writes nothing, and so allocates nothing
    for (int gridNumber = 0; gridNumber < 50; ++gridNumber) {
        const std::string grid = randomGrid(random);
        TestPeer::setLetters(board, grid);
        const std::size_t before = allocation::count();
        searchPass(board, discard);
        EXPECT_EQ(allocation::count() - before, nodeCount(TestPeer::root(TestPeer::found(board)))) << grid;
    }
}
