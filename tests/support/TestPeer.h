#pragma once

#include <string>
#include <string_view>

#include "Board.h"

// The tests' one way inside the product's classes, each of which names it as
// a friend; the program itself never uses it.
struct TestPeer {
    // Starts a new puzzle on the same word list: nine letters row by row (cells
    // past the letters given hold '\0', which spells nothing), all cells
    // unvisited, no word found yet.
    static void setLetters(Board& board, std::string_view rowMajorLetters) {
        std::size_t next = 0;
        for (auto& row : board.grid) {
            for (Cell& cell : row) {
                cell.letter = next < rowMajorLetters.size() ? rowMajorLetters[next] : '\0';
                cell.visited = 0;
                ++next;
            }
        }
        board.found.destroy();
    }
    static Cell& cell(Board& board, int row, int col) {
        return board.grid.at(Board::index(row)).at(Board::index(col));
    }
    static const std::string& current(const Board& board) { return board.current; }
    static const HashTable& words(const Board& board) { return board.dictionary; }
    static const WordTree& found(const Board& board) { return board.found; }
    static const ListNode* head(const HashTable& table, int bucket) {
        return table.lists.at(static_cast<std::size_t>(bucket)).head;
    }
    static const TreeNode* root(const WordTree& tree) { return tree.root; }
};
