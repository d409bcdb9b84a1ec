#pragma once

#include <random>
#include <string>
#include <vector>

#include "TestPeer.h"

// Nine random lowercase letters, row by row.
inline std::string randomGrid(std::mt19937& random) {
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string grid;
    for (int i = 0; i < Board::kSize * Board::kSize; ++i) {
        grid += static_cast<char>(letter(random));
    }
    return grid;
}

// The words of bucket `index`, newest first.
inline std::vector<std::string> bucketWords(const HashTable& table, int index) {
    std::vector<std::string> words;
    for (const ListNode* node = TestPeer::head(table, index); node != nullptr; node = node->next) {
        words.push_back(node->word);
    }
    return words;
}
