#pragma once

#include <string>
#include <string_view>

#include "Board.h"

// The tests' one way inside the product's classes, each of which names it as
// a friend; the program itself never uses it.
struct TestPeer {
    // Calls `visit` on every cell of the board's grid, row by row.
    template <typename AnyBoard, typename Visit>
    static void forEachCell(AnyBoard& board, Visit visit) {
        for (auto& row : board.grid) {
            for (auto& cell : row) {
                visit(cell);
            }
        }
    }
    // Starts a new puzzle on the same word list: the nine letters row by row,
    // all cells unvisited, no word found yet.
    static void setLetters(Board& board, std::string_view rowMajorLetters) {
        std::size_t next = 0;
        forEachCell(board, [&](Cell& cell) { cell = {rowMajorLetters.at(next++), 0}; });
        board.found.destroy();
    }
    // The grid's letters, row by row.
    static std::string letters(const Board& board) {
        std::string letters;
        forEachCell(board, [&](const Cell& cell) { letters += cell.letter; });
        return letters;
    }
    // No cell marked visited and no letter in `current`: what a search leaves.
    static bool pathIsClear(const Board& board) {
        bool clear = board.current.empty();
        forEachCell(board, [&](const Cell& cell) { clear = clear && cell.visited == 0; });
        return clear;
    }
    static Cell& cell(Board& board, int row, int col) {
        return board.grid.at(Board::index(row)).at(Board::index(col));
    }
    static const HashTable& words(const Board& board) { return board.dictionary; }
    static const WordTree& found(const Board& board) { return board.found; }
    static const ListNode* head(const HashTable& table, int bucket) {
        return table.lists.at(static_cast<std::size_t>(bucket)).head;
    }
    static const TreeNode* root(const WordTree& tree) { return tree.root; }
};
