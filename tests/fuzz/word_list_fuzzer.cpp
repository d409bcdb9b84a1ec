// libFuzzer target: any bytes as a word-list file must load without a crash,
// hang, leak or undefined behaviour, and leave a table that answers for
// every word it stored.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "HashTable.h"
#include "WordListFile.h"
#include "support/TestPeer.h"

namespace {

// One scratch file per fuzzing process, removed when it exits.
struct ScratchFile {
    std::string path = "/tmp/wordgrid-fuzz-" + std::to_string(getpid()) + ".txt";
    ~ScratchFile() { std::remove(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file;
    std::ofstream(file.path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    HashTable table;
    loadWordList(file.path, table);

    for (int i = 0; i < HashTable::kBuckets; ++i) {
        for (const ListNode* node = TestPeer::head(table, i); node != nullptr; node = node->next) {
            if (HashTable::hash(node->word) != i || node->word.size() > kMaxWordLength ||
                !table.contains(node->word) || !table.containsPrefix(node->word.substr(0, 1))) {
                std::abort();
            }
        }
    }
    std::ostringstream sink;
    std::streambuf* console = std::cout.rdbuf(sink.rdbuf());
    table.print();
    if (const ListNode* head = TestPeer::head(table, 0)) {
        table.remove(head->word);
    }
    std::cout.rdbuf(console);
    return 0;
}
