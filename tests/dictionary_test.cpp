#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "HashTable.h"
#include "support/BoardSupport.h"

namespace {

std::string dump(const HashTable& table) {
    std::ostringstream out;
    table.print(out);
    return out.str();
}

const std::string kEmptyDump = [] {
    std::string lines;
    for (int i = 0; i < HashTable::kBuckets; ++i) {
        lines += "X \n";
    }
    return lines;
}();

}  // namespace

TEST(HashTable, ExactAndPrefixQueries) {
    HashTable table;
    EXPECT_FALSE(table.contains("t"));
    EXPECT_FALSE(table.containsPrefix("t"));
    table.insert("tea");
    table.insert("team");
    table.insert("apple");
    struct Query {
        const char* word;
        bool known, begun;  // what contains and containsPrefix answer
    };
    for (const Query& query : {Query{"t", false, true},
                               {"te", false, true},
                               {"tea", true, true},
                               {"team", true, true},
                               {"teams", false, false},
                               {"tx", false, false},
                               {"a", false, true},
                               {"apple", true, true},
                               {"b", false, false}}) {
        EXPECT_EQ(table.contains(query.word), query.known) << query.word;
        EXPECT_EQ(table.containsPrefix(query.word), query.begun) << query.word;
    }
}

TEST(HashTable, OnlyTheBucketChoiceFoldsCase) {
    HashTable table;
    table.insert("Tea");
    EXPECT_EQ(bucketWords(table, 19), std::vector<std::string>{"Tea"});
    EXPECT_FALSE(table.contains("tea"));
    EXPECT_FALSE(table.containsPrefix("tea"));
    EXPECT_TRUE(table.contains("Tea"));
    EXPECT_TRUE(table.containsPrefix("T"));
}

TEST(HashTable, NewestFirstWithDuplicatesKept) {
    HashTable table;
    for (const char* word : {"cat", "act", "cab", "cat", "zoo"}) {
        table.insert(word);
    }
    EXPECT_EQ(bucketWords(table, 2), (std::vector<std::string>{"cat", "cab", "cat"}));
    EXPECT_EQ(bucketWords(table, 0), std::vector<std::string>{"act"});
    EXPECT_EQ(bucketWords(table, 25), std::vector<std::string>{"zoo"});
}

TEST(HashTable, WordsWithoutABucketAreNeitherStoredNorFound) {
    HashTable table;
    const std::vector<std::string> noBucket = {"",     "1ab", " ab", "\xc3\xa9t\xc3\xa9",       "\x80",
                                               "\xff", "{",   "`",   std::string(1, '\0') + "a"};
    for (const std::string& word : noBucket) {
        EXPECT_TRUE(HashTable::hash(word) < 0 || HashTable::hash(word) >= HashTable::kBuckets);
        table.insert(word);
        EXPECT_FALSE(table.contains(word));
        EXPECT_FALSE(table.containsPrefix(word));
        std::ostringstream out;
        EXPECT_FALSE(table.remove(word, out));
        EXPECT_EQ(out.str(), "False.");
    }
    EXPECT_EQ(dump(table), kEmptyDump);
    EXPECT_EQ(HashTable::hash("apple"), 0);
    EXPECT_EQ(HashTable::hash("Zoo"), 25);
    // The "C" locale's tolower of the first byte, for every byte.
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(HashTable::hash(std::string(1, static_cast<char>(byte)) + "x"), std::tolower(byte) - 'a')
            << byte;
    }
}

TEST(HashTable, RemoveReportsExactly) {
    HashTable table;
    for (const char* word : {"cow", "cat", "cab", "cat"}) {
        table.insert(word);  // bucket c: cat, cab, cat, cow
    }
    const auto remove = [&](const char* word, bool removed, const char* report) {
        std::ostringstream out;
        EXPECT_EQ(table.remove(word, out), removed) << word;
        EXPECT_EQ(out.str(), report) << word;
    };
    remove("ca", false, "False.");        // a stored word's start is not the word,
    remove("co", false, "False.");        // at the head or past it
    remove("cat", true, "Ture.");         // at the head: the table's report only
    EXPECT_TRUE(table.contains("cat"));   // the other copy stays
    remove("cat", true, "Ture.\nTure.");  // past the head: the bucket reports too
    remove("cat", false, "False.");
    remove("dog", false, "False.");       // empty bucket
    remove("cow", true, "Ture.\nTure.");  // the tail
    EXPECT_EQ(bucketWords(table, 2), std::vector<std::string>{"cab"});
    for (const char* word : {"cod", "cup"}) {
        table.insert(word);  // after removals, new nodes link as before
    }
    EXPECT_EQ(bucketWords(table, 2), (std::vector<std::string>{"cup", "cod", "cab"}));
}

TEST(HashTable, PrintAndClear) {
    HashTable table;
    EXPECT_EQ(dump(table), kEmptyDump);
    table.insert("cat");
    table.insert("cab");
    table.insert("apple");
    std::string expected = kEmptyDump;
    expected.replace(6, 3, "cab -> cat -> X \n");
    expected.replace(0, 3, "apple -> X \n");
    EXPECT_EQ(dump(table), expected);

    table.clear();
    EXPECT_EQ(dump(table), kEmptyDump);
    EXPECT_FALSE(table.contains("cat"));
    EXPECT_FALSE(table.containsPrefix("c"));
    table.insert("cat");  // still usable
    EXPECT_TRUE(table.contains("cat"));
}

TEST(HashTable, FreesVeryLongBucketsWithoutRecursion) {
    // A million nodes in one bucket: a recursive teardown would overflow the stack.
    // A word too long for the string's own buffer holds memory of its own,
    // which emptying and destruction must free too.
    const std::string longest(29, 'w');
    HashTable table;
    for (int i = 0; i < 1'000'000; ++i) {
        table.insert("w");
    }
    table.insert(longest);
    table.clear();
    EXPECT_EQ(TestPeer::head(table, 22), nullptr);
    for (int i = 0; i < 1'000'000; ++i) {
        table.insert("w");
    }
    table.insert(longest);
    EXPECT_EQ(bucketWords(table, 22).size(), 1'000'001u);
    EXPECT_TRUE(table.contains(longest));
}  // the destructor frees the second million
