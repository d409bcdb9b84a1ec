#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HashTable.h"
#include "support/BoardSupport.h"
#include "support/TestSupport.h"

namespace {

std::string dump(const HashTable& table) {
    CapturedCout out;
    table.print();
    return out.take();
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
    EXPECT_FALSE(table.contains("t"));
    EXPECT_FALSE(table.contains("te"));
    EXPECT_TRUE(table.contains("tea"));
    EXPECT_TRUE(table.contains("apple"));
    EXPECT_FALSE(table.contains("teams"));
    for (const char* prefix : {"t", "te", "tea", "team", "a", "apple"}) {
        EXPECT_TRUE(table.containsPrefix(prefix)) << prefix;
    }
    EXPECT_FALSE(table.containsPrefix("teams"));
    EXPECT_FALSE(table.containsPrefix("tx"));
    EXPECT_FALSE(table.containsPrefix("b"));
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
        CapturedCout out;
        EXPECT_FALSE(table.remove(word));
        EXPECT_EQ(out.take(), "False.");
    }
    EXPECT_EQ(dump(table), kEmptyDump);
    EXPECT_EQ(HashTable::hash("apple"), 0);
    EXPECT_EQ(HashTable::hash("Zoo"), 25);
}

TEST(HashTable, RemoveReportsExactly) {
    HashTable table;
    for (const char* word : {"cow", "cat", "cab", "cat"}) {
        table.insert(word);  // bucket c: cat, cab, cat, cow
    }
    CapturedCout out;
    EXPECT_TRUE(table.remove("cat"));  // at the head: the table's report only
    EXPECT_EQ(out.take(), "Ture.");
    EXPECT_TRUE(table.contains("cat"));  // the other copy stays
    EXPECT_TRUE(table.remove("cat"));    // past the head: the bucket reports too
    EXPECT_EQ(out.take(), "Ture.\nTure.");
    EXPECT_FALSE(table.remove("cat"));
    EXPECT_EQ(out.take(), "False.");
    EXPECT_FALSE(table.remove("dog"));  // empty bucket
    EXPECT_EQ(out.take(), "False.");
    EXPECT_TRUE(table.remove("cow"));  // the tail
    EXPECT_EQ(out.take(), "Ture.\nTure.");
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
