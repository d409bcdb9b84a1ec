#pragma once

#include <array>
#include <string>
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
    static int hash(std::string_view word);

    // A word with no bucket is ignored by insert, unknown to the queries,
    // and not removable.
    // The word is copied once, straight into its new node.
    void insert(std::string_view word);
    bool contains(const std::string& word) const;
    bool containsPrefix(const std::string& word) const;

    // Removes one copy of `word` and writes "Ture." or "False." (no line end).
    bool remove(const std::string& word);
    // Writes the 26 buckets, one line each.
    void print() const;
    void clear();

private:
    friend struct TestPeer;

    LinkedList* bucketOf(std::string_view word);
    const LinkedList* bucketOf(std::string_view word) const;

    std::array<LinkedList, kBuckets> lists;
};
