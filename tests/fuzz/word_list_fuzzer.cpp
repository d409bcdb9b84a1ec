// libFuzzer target: any bytes as a word list's text must load without a
// crash, hang, leak or undefined behaviour, and leave a table that answers
// for every word it stored.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "WordListFile.h"
#include "support/TestPeer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HashTable table;
    loadWords(std::string_view(reinterpret_cast<const char*>(data), size), table);

    for (int i = 0; i < HashTable::kBuckets; ++i) {
        for (const ListNode* node = TestPeer::head(table, i); node != nullptr; node = node->next) {
            if (HashTable::hash(node->word) != i || node->word.size() > kMaxWordLength ||
                !table.contains(node->word) || !table.containsPrefix(node->word.substr(0, 1))) {
                std::abort();
            }
        }
    }
    std::ostringstream sink;
    table.print(sink);
    if (const ListNode* head = TestPeer::head(table, 0)) {
        table.remove(head->word, sink);
    }
    return 0;
}
