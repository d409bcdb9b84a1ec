// libFuzzer target: any bytes as a word list, read in pieces of any size so
// that a block ends at every offset of a line, must load without a crash,
// hang, leak or undefined behaviour; load the same words as when read whole;
// and leave a table that answers for every word it stored.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "WordListFile.h"
#include "support/BoardSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the piece size, 1 to 64; the rest is the list.
    const std::size_t pieceSize = std::size_t{data[0]} % 64 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    HashTable table;
    loadInPieces(bytes, pieceSize, table);
    HashTable whole;
    loadInPieces(bytes, kBlockSize, whole);
    if (storedWords(table) != storedWords(whole)) {
        std::abort();
    }

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
