#include "WordListFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

// Inserts one line, without its line end's CR, unless it is too long.
void addLine(HashTable& table, const char* begin, std::size_t length) {
    if (length > 0 && begin[length - 1] == '\r') {
        --length;
    }
    if (length <= kMaxWordLength) {
        table.insert(std::string_view(begin, length));
    }
}

// The start of a line that the end of a block cut off, kept until the line's
// rest arrives. Room for a longest word and the CR of a CR LF line end; a
// line that outgrows it is too long and is skipped whole.
class PartLine {
public:
    bool empty() const { return length == 0 && !tooLong; }

    void append(const char* begin, const char* end) {
        const auto count = static_cast<std::size_t>(end - begin);
        if (tooLong || count > bytes.size() - length) {
            tooLong = true;
            return;
        }
        std::memcpy(bytes.data() + length, begin, count);
        length += count;
    }

    void endLine(HashTable& table) {
        if (!tooLong) {
            addLine(table, bytes.data(), length);
        }
        length = 0;
        tooLong = false;
    }

private:
    std::array<char, kMaxWordLength + 1> bytes{};
    std::size_t length = 0;
    bool tooLong = false;
};

}  // namespace

void loadWordList(const std::string& path, HashTable& table, std::size_t blockSize) {
    // Binary on every platform: a Windows text-mode stream would end the file
    // at a Ctrl-Z byte. The CR of a CR LF is dropped by addLine instead.
    std::ifstream fi(path, std::ios::binary);
    if (!fi.is_open()) {
        return;
    }
    std::vector<char> block(std::max<std::size_t>(blockSize, 1));
    PartLine part;
    // istream::read, not the buffer's own sgetn: libstdc++'s filebuf throws
    // when the path is a directory, and read turns that into a failed stream.
    while (fi.read(block.data(), static_cast<std::streamsize>(block.size())), fi.gcount() > 0) {
        const char* next = block.data();
        const char* const end = next + fi.gcount();
        while (const auto* lineEnd =
                   static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(end - next)))) {
            if (part.empty()) {
                addLine(table, next, static_cast<std::size_t>(lineEnd - next));
            } else {
                part.append(next, lineEnd);
                part.endLine(table);
            }
            next = lineEnd + 1;
        }
        part.append(next, end);
    }
    if (!part.empty()) {
        part.endLine(table);  // a last line without a line end
    }
}
