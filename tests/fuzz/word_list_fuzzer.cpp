// libFuzzer target: any bytes as a word list, read in pieces of any size so
// that a block ends at every offset of a line, must load without a crash,
// hang, leak or undefined behaviour; load the same words as when read whole;
// and leave a table that answers for every word it stored.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "WordListFile.h"
#include "support/TestPeer.h"

namespace {

// The list's bytes, given `pieceSize` at a time (or fewer when asked for fewer).
void loadInPieces(std::string_view bytes, std::size_t pieceSize, HashTable& table) {
    loadWordBlocks(
        [&](char* into, std::size_t most) {
            const std::size_t count = std::min({pieceSize, most, bytes.size()});
            bytes.copy(into, count);
            bytes.remove_prefix(count);
            return count;
        },
        table);
}

std::vector<std::string> stored(const HashTable& table) {
    std::vector<std::string> words;
    for (int i = 0; i < HashTable::kBuckets; ++i) {
        for (const ListNode* node = TestPeer::head(table, i); node != nullptr; node = node->next) {
            words.push_back(node->word);
        }
    }
    return words;
}

}  // namespace

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
    if (stored(table) != stored(whole)) {
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
