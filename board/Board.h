#pragma once

#include <array>
#include <cstddef>
#include <iostream>
#include <string>

#include "HashTable.h"
#include "WordTree.h"

struct Cell {
    char letter;
    unsigned char visited;  // 1 while the cell lies on the path being explored
};

// One puzzle: the 3 x 3 grid, the word along the path being explored, the
// known words and the words found.
class Board {
public:
    static constexpr int kSize = 3;

    Board() = default;
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // Adds the words of the word-list file at `path`; a missing file adds none.
    void loadDictionary(const std::string& path);
    // Fills the grid row by row with 'a' + rand() % 26, all cells unvisited.
    void randomize();
    // Writes one line per row: each letter followed by a space.
    void print(std::ostream& out = std::cout) const;
    // Records every known word spelled by a path that starts at (row, col)
    // and continues through touching, unvisited cells. Leaves `current` and
    // every visited flag as it found them. Coordinates off the grid, or a
    // visited cell, are not searched.
    void search(int row, int col);
    // Lists the found words in ascending order, each followed by " - ".
    void printWords(std::ostream& out = std::cout) const;

private:
    friend struct TestPeer;

    static std::size_t index(int coordinate) { return static_cast<std::size_t>(coordinate); }

    std::array<std::array<Cell, kSize>, kSize> grid{};
    std::string current;
    HashTable dictionary;
    WordTree found;
};
