#pragma once

// An independent solver for checking the program: it asks, for each word of
// the list, whether the grid spells it. It shares no code with the program.

#include <set>
#include <string>
#include <vector>

namespace reference {

// Can `word` from position `at` on be laid from the cell (r, c) on, given the
// cells already used?
inline bool layFrom(const std::string& grid, const std::string& word, std::size_t at, int r, int c,
                    unsigned used) {
    const int cellIndex = r * 3 + c;
    if (r < 0 || r > 2 || c < 0 || c > 2 || (used & (1u << cellIndex)) != 0 ||
        grid[static_cast<std::size_t>(cellIndex)] != word[at]) {
        return false;
    }
    if (at + 1 == word.size()) {
        return true;
    }
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            if ((dr != 0 || dc != 0) &&
                layFrom(grid, word, at + 1, r + dr, c + dc, used | (1u << cellIndex))) {
                return true;
            }
        }
    }
    return false;
}

// `grid` holds the nine letters row by row.
inline bool spells(const std::string& grid, const std::string& word) {
    if (word.empty() || word.size() > 9) {
        return false;
    }
    for (int cellIndex = 0; cellIndex < 9; ++cellIndex) {
        if (layFrom(grid, word, 0, cellIndex / 3, cellIndex % 3, 0)) {
            return true;
        }
    }
    return false;
}

// The listing the program must print for this grid and word list.
inline std::string expectedListing(const std::string& grid, const std::vector<std::string>& words) {
    std::set<std::string> found;
    for (const std::string& word : words) {
        if (spells(grid, word)) {
            found.insert(word);
        }
    }
    std::string listing;
    for (const std::string& word : found) {
        listing += word + " - ";
    }
    return listing;
}

}  // namespace reference
