// The queries run at every step of the search, so they must not touch the
// heap; the search itself allocates only the tree nodes of new words.

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "Board.h"
#include "support/AllocationCounter.h"

namespace {

std::size_t nodeCount(const TreeNode* node) {
    return node == nullptr ? 0 : 1 + nodeCount(node->left) + nodeCount(node->right);
}

}  // namespace

TEST(Allocation, QueriesAllocateNothing) {
    Board board;
    board.loadDictionary(WORDGRID_SHIPPED_LIST);
    const HashTable& table = board.words();
    const std::array<std::string, 10> queries = {
        "s", "st", "stand", "standardization", "sxq", "sssssssssssssssssssssss", "zz", "", "9", "\xc3\xa9"};
    const std::size_t before = allocation::count();
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
    std::uniform_int_distribution<int> letter('a', 'z');
    for (int gridNumber = 0; gridNumber < 50; ++gridNumber) {
        std::string grid;
        for (int i = 0; i < 9; ++i) {
            grid += static_cast<char>(letter(random));
        }
        board.setLettersForTest(grid);
        const std::size_t before = allocation::count();
        for (int row = 0; row < Board::kSize; ++row) {
            for (int col = 0; col < Board::kSize; ++col) {
                board.search(row, col);
            }
        }
        EXPECT_EQ(allocation::count() - before, nodeCount(board.foundWords().top())) << grid;
    }
}
