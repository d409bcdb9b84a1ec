#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HashTable.h"
#include "WordListFile.h"
#include "support/BoardSupport.h"
#include "support/TestSupport.h"

namespace {

// Loads `bytes` from a file, and checks that the same bytes read a few at a
// time, so that blocks end at every offset of a line, load the same words.
std::vector<std::string> load(const std::string& bytes) {
    TempDir dir;
    HashTable fromFile;
    loadWordList(dir.write("list.txt", bytes), fromFile);
    for (const std::size_t readSize : {1, 2, 7}) {
        HashTable fromPieces;
        loadInPieces(bytes, readSize, fromPieces);
        EXPECT_EQ(storedWords(fromPieces), storedWords(fromFile)) << readSize << " at a time";
    }
    return storedWords(fromFile);
}

using Words = std::vector<std::string>;

}  // namespace

TEST(WordListFile, LineEndsAndBuckets) {
    EXPECT_EQ(load("cat\nact\ntac\n"), (Words{"act", "cat", "tac"}));
    EXPECT_EQ(load("cat\r\nact\r\ntac\r\n"), (Words{"act", "cat", "tac"}));
    EXPECT_EQ(load("cat\nact\ntac"), (Words{"act", "cat", "tac"}));    // no final line end
    EXPECT_EQ(load("cat\ncab\ncat\n"), (Words{"cat", "cab", "cat"}));  // later lines nearer the head
    EXPECT_EQ(load("\n\nab\n\r\n\n"), Words{"ab"});                    // empty lines skipped
    EXPECT_EQ(load("ice cream\nTea\n9lives\n-x\n"), (Words{"ice cream", "Tea"}));
    EXPECT_EQ(load("cat\n\x1a\nact\ntac\x1a\n"), (Words{"act", "cat", "tac\x1a"}));  // Ctrl-Z ends nothing
    EXPECT_EQ(load(""), Words{});
    // A UTF-8 byte-order mark opens the file, not its first word; anywhere
    // else, past the first block read too, its bytes are a line's own.
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(load(mark + "cat\r\nact\n"), (Words{"act", "cat"}));
    EXPECT_EQ(load(mark), Words{});
    EXPECT_EQ(load(mark + mark + "cat\n"), Words{});
    EXPECT_EQ(load("cat\n" + mark + "act\nt" + mark + "ac\n"), (Words{"cat", "t" + mark + "ac"}));
    EXPECT_EQ(load(std::string(65535, '\n') + "t" + mark + "ac\n"), Words{"t" + mark + "ac"});
    EXPECT_EQ(load(std::string(65536, '\n') + mark + "cat\n"), Words{});  // at the second block's start
}

TEST(WordListFile, LongestLinesAndOverlongOnes) {
    const std::string w29(29, 'q');
    const std::string w30(30, 'q');
    // Lines, CR LF pairs and over-long lines cut by the end of a 64 KB block.
    const std::string block(65536 - 2, '\n');
    EXPECT_EQ(load(block + "cat\r\n"), Words{"cat"});
    EXPECT_EQ(load(block + "c\r\nat\n"), (Words{"at", "c"}));
    EXPECT_EQ(load(block + "\r\ncat"), Words{"cat"});
    EXPECT_EQ(load(block + w29 + "\r\n" + w30 + "\nant"), (Words{"ant", w29}));
    EXPECT_EQ(load(std::string(65000, '\n') + w30 + std::string(100000, 'x') + "\nbee\n"), Words{"bee"});
    // The CR of a longest word's line end last in a block, its LF first in the next.
    EXPECT_EQ(load(std::string(65536 - 30, '\n') + w29 + "\r\nant\n"), (Words{"ant", w29}));
    // Over three blocks, a block with no line end in the middle: its tail is no word.
    EXPECT_EQ(load(std::string(65000, '\n') + std::string(536 + 65536 + 3, 'x') + "\nbee\n"), Words{"bee"});
    EXPECT_EQ(load(w29 + "\n"), Words{w29});
    EXPECT_EQ(load(w29 + "\r\n"), Words{w29});  // the CR belongs to the line end
    EXPECT_EQ(load(w29), Words{w29});
    // Too long: skipped whole, and the lines after it still load.
    EXPECT_EQ(load("ant\n" + w30 + "\nbee\n" + std::string(100000, 'x') + "\r\ncow\n" + w30),
              (Words{"ant", "bee", "cow"}));
    EXPECT_EQ(load(w29 + "qq\r\n" + w29 + "\rq\nant\n"), Words{"ant"});
}

TEST(WordListFile, KeepsTheRealBytesOfALine) {
    const std::string withNul("ca\0t\n", 5);
    const Words words = load(withNul + "dog\n");
    EXPECT_EQ(words, (Words{std::string("ca\0t", 4), "dog"}));

    TempDir dir;
    HashTable table;
    loadWordList(dir.write("list.txt", withNul), table);
    EXPECT_FALSE(table.contains("ca"));  // no fragment cut at the NUL
    EXPECT_FALSE(table.contains("cat"));
}

TEST(WordListFile, BinaryJunkEndsAndStoresOnlyBucketedLines) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) {
        junk.push_back(static_cast<char>((i * 7919) % 256));
    }
    const Words words = load(junk + "\nzebra\n");
    EXPECT_NE(std::find(words.begin(), words.end(), "zebra"), words.end());
    for (const std::string& word : words) {
        const int bucket = HashTable::hash(word);
        EXPECT_TRUE(bucket >= 0 && bucket < HashTable::kBuckets);
        EXPECT_LE(word.size(), kMaxWordLength);
    }
}

TEST(WordListFile, UnreadablePathsLeaveTheTableAsItWas) {
    TempDir dir;
    std::filesystem::create_directory(dir.path / "EnglishWL.txt");
    HashTable table;
    table.insert("kept");
    loadWordList((dir.path / "EnglishWL.txt").string(), table);
    loadWordList((dir.path / "missing.txt").string(), table);
    // A device that never ends, and a pipe without a writer, which would block its open.
    std::filesystem::create_symlink("/dev/zero", dir.path / "zeros.txt");
    loadWordList((dir.path / "zeros.txt").string(), table);
    ASSERT_EQ(mkfifo((dir.path / "pipe.txt").c_str(), 0600), 0);
    loadWordList((dir.path / "pipe.txt").string(), table);
    EXPECT_EQ(storedWords(table), Words{"kept"});
}
