#include "WordListFile.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

// Windows Notepad long saved UTF-8 with this mark in front; it is not part of
// the first word.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// How much of the file is read at a time, whatever its size.
constexpr std::size_t kBlockSize = std::size_t{64} * 1024;
// The most of a line that is carried from one block to the next: a longest
// word and the CR of its line end. A longer line is no word, and is skipped.
constexpr std::size_t kMostCarried = kMaxWordLength + 1;

// Inserts the word of each line of `text`: lines ended by a line feed, and a
// last one without.
void addLines(std::string_view text, HashTable& table) {
    const char* next = text.data();
    const char* const end = next + text.size();
    while (next < end) {
        const char* lineEnd =
            static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(end - next)));
        if (lineEnd == nullptr) {
            lineEnd = end;
        }
        const std::string_view strline(next, static_cast<std::size_t>(lineEnd - next));
        next = lineEnd + 1;
        const std::size_t length = strline.size() - (!strline.empty() && strline.back() == '\r' ? 1 : 0);
        if (length <= kMaxWordLength) {
            table.insert(strline.substr(0, length));
        }
    }
}

}  // namespace

void loadWordList(const std::string& path, HashTable& table) {
    // Only a regular file: a pipe without a writer would block the open, and
    // a device such as /dev/zero would never end.
    std::error_code notThere;
    if (!std::filesystem::is_regular_file(path, notThere)) {
        return;
    }
    // Binary on every platform: a Windows text-mode stream would end the file
    // at a Ctrl-Z byte. The CR of a CR LF is dropped by addLines instead.
    std::ifstream fi(path, std::ios::binary);
    if (!fi.is_open()) {
        return;
    }
    // Lines are split out of each block; the start of one that the block cuts
    // off is carried to the front of the next.
    std::array<char, kMostCarried + kBlockSize> buffer;  // not zeroed: only what is read is looked at
    std::size_t carried = 0;
    bool skipping = false;  // through a line too long to be a word, up to its line end
    bool first = true;
    // istream::read fills the block unless the file ends, so a byte-order
    // mark is whole; a read error ends the stream rather than throwing.
    while (fi.read(buffer.data() + carried, kBlockSize) || fi.gcount() > 0) {
        std::string_view text(buffer.data(), carried + static_cast<std::size_t>(fi.gcount()));
        if (first && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            text.remove_prefix(kByteOrderMark.size());
        }
        first = false;
        if (skipping) {
            const std::size_t lineEnd = text.find('\n');
            skipping = lineEnd == std::string_view::npos;
            text.remove_prefix(skipping ? text.size() : lineEnd + 1);
        }
        const std::size_t lastLineEnd = text.rfind('\n');
        const std::size_t cut = lastLineEnd == std::string_view::npos ? 0 : lastLineEnd + 1;
        addLines(text.substr(0, cut), table);
        const std::string_view rest = text.substr(cut);
        skipping = skipping || rest.size() > kMostCarried;
        carried = skipping ? 0 : rest.size();
        std::memmove(buffer.data(), rest.data(), carried);
    }
    if (!skipping) {
        addLines(std::string_view(buffer.data(), carried), table);  // a last line without a line end
    }
}

void loadWords(std::string_view text, HashTable& table) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    addLines(text, table);
}
