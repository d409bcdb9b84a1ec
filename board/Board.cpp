#include "Board.h"

#include <array>
#include <cstdlib>
#include <ostream>

#include "WordListFile.h"

namespace {

struct Offset {
    int row;
    int col;
};

// The eight neighbours, in the order they are tried.
constexpr std::array<Offset, 8> kNeighbours{
    {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}}};

bool onGrid(int row, int col) {
    return row >= 0 && row < Board::kSize && col >= 0 && col < Board::kSize;
}

}  // namespace

void Board::loadDictionary(const std::string& path) {
    loadWordList(path, dictionary);
}

void Board::randomize() {
    for (auto& row : grid) {
        for (Cell& cell : row) {
            cell.letter = static_cast<char>('a' + std::rand() % 26);
            cell.visited = 0;
        }
    }
}

void Board::print(std::ostream& out) const {
    for (const auto& row : grid) {
        for (const Cell& cell : row) {
            out << cell.letter << ' ';
        }
        out << '\n' << std::flush;
    }
}

void Board::search(int row, int col) {
    if (!onGrid(row, col)) {
        return;
    }
    Cell& cell = grid[index(row)][index(col)];
    if (cell.visited != 0) {
        return;
    }
    current.push_back(cell.letter);
    cell.visited = 1;
    if (dictionary.contains(current)) {
        found.insert(current);
    }
    // Go on only while some known word begins with the path's letters.
    if (dictionary.containsPrefix(current)) {
        for (const auto& offset : kNeighbours) {
            search(row + offset.row, col + offset.col);
        }
    }
    current.pop_back();
    cell.visited = 0;
}

void Board::printWords(std::ostream& out) const {
    found.printInOrder(out);
}
