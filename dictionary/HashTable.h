#pragma once

#include <array>
#include <cstddef>
#include <iostream>
#include <string_view>

#include "LinkedList.h"

// The known words, in 26 buckets chosen by the (case-folded) first letter.
// Every comparison after the bucket choice is exact and case-sensitive.
class HashTable {
public:
    static constexpr int kBuckets = 26;

    HashTable() = default;
    HashTable(const HashTable&) = delete;
    HashTable& operator=(const HashTable&) = delete;

    // The bucket index of `word`: its lowercased first byte minus 'a'.
    // Outside 0..25 for an empty word or one not starting with a letter.
    static int hash(std::string_view word) {
        if (word.empty()) {
            return -1;
        }
        // An ASCII fold, as std::tolower does in the "C" locale, which the
        // program never changes: a call per word was a tenth of the load.
        const int first = static_cast<unsigned char>(word[0]);
        return (first >= 'A' && first <= 'Z' ? first - 'A' + 'a' : first) - 'a';
    }

    // A word with no bucket is ignored by insert, unknown to the queries,
    // and not removable.
    // The word is copied once, straight into its new node. Here in the
    // header, so that the loader's loop does the whole insert in place.
    void insert(std::string_view word) {
        if (LinkedList* list = bucketOf(*this, word)) {
            list->insert(word);
        }
    }
    bool contains(std::string_view word) const;
    bool containsPrefix(std::string_view word) const;

    // Removes one copy of `word` and writes "Ture." or "False." (no line end).
    // "Ture." is spelled so on purpose: the program's output as its users
    // know it.
    bool remove(std::string_view word, std::ostream& out = std::cout);
    // Writes the 26 buckets, one line each.
    void print(std::ostream& out = std::cout) const;
    void clear();

private:
    friend struct TestPeer;

    // The bucket of `word`, or null when it has none: one body for a const
    // table and for one that changes.
    template <typename Table>
    static auto bucketOf(Table& table, std::string_view word) -> decltype(&table.lists[0]) {
        const int index = hash(word);
        return index >= 0 && index < kBuckets ? &table.lists[static_cast<std::size_t>(index)] : nullptr;
    }

    std::array<LinkedList, kBuckets> lists;
};
