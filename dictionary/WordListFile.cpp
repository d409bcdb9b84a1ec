#include "WordListFile.h"

#include <array>
#include <fstream>

void loadWordList(const std::string& path, HashTable& table) {
    std::ifstream fi(path);
    if (!fi.is_open()) {
        return;
    }
    // Room for a longest word and the carriage return of a CR LF line end.
    std::array<char, kMaxWordLength + 1> line{};
    std::size_t length = 0;
    bool tooLong = false;

    const auto endLine = [&] {
        if (length > 0 && line[length - 1] == '\r') {
            --length;
        }
        if (!tooLong && length <= kMaxWordLength) {
            table.insert(std::string(line.data(), length));
        }
        length = 0;
        tooLong = false;
    };

    // Byte by byte: the end of the file, a read error and a directory (whose
    // read fails) all end the loop, and no line length can stall it.
    for (int c = fi.get(); c != std::char_traits<char>::eof(); c = fi.get()) {
        if (c == '\n') {
            endLine();
        } else if (length < line.size()) {
            line[length++] = static_cast<char>(c);
        } else {
            tooLong = true;
        }
    }
    if (length > 0) {
        endLine();  // a last line without a line end
    }
}
