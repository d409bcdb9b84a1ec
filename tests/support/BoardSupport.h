#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "TestPeer.h"
#include "WordListFile.h"

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

// Every stored word, bucket by bucket, newest first.
inline std::vector<std::string> storedWords(const HashTable& table) {
    std::vector<std::string> words;
    for (int i = 0; i < HashTable::kBuckets; ++i) {
        const std::vector<std::string> bucket = bucketWords(table, i);
        words.insert(words.end(), bucket.begin(), bucket.end());
    }
    return words;
}

// Loads a list's bytes given `pieceSize` at a time (or fewer when asked for
// fewer), so that a block can end at any offset of a line.
inline void loadInPieces(std::string_view bytes, std::size_t pieceSize, HashTable& table) {
    loadWordBlocks(
        [&](char* into, std::size_t most) {
            const std::size_t count = std::min({pieceSize, most, bytes.size()});
            bytes.copy(into, count);
            bytes.remove_prefix(count);
            return count;
        },
        table);
}
