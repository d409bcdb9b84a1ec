#include "WordListFile.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

namespace {

// Windows Notepad long saved UTF-8 with this mark in front; it is not part of
// the first word.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What is read at first from a file whose size is unknown.
constexpr std::size_t kFirstRead = std::size_t{64} * 1024;

}  // namespace

void loadWordList(const std::string& path, HashTable& table) {
    // Binary on every platform: a Windows text-mode stream would end the file
    // at a Ctrl-Z byte. The CR of a CR LF is dropped by loadWords instead.
    std::ifstream fi(path, std::ios::binary);
    if (!fi.is_open()) {
        return;
    }
    // Read straight into a buffer of the file's size: copying the text, or
    // growing or zeroing its buffer, would cost as much as splitting it (so
    // not a string or a vector). A file without a size (a pipe) or one that
    // grows meanwhile is read on in doublings.
    std::error_code noSize;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, noSize);
    std::size_t capacity = noSize ? kFirstRead : static_cast<std::size_t>(fileSize) + 1;
    std::unique_ptr<char[]> bytes(new char[capacity]);  // NOLINT(modernize-avoid-c-arrays): left unzeroed
    std::size_t size = 0;
    // istream::read, not the buffer's own sgetn: libstdc++'s filebuf throws
    // when the path is a directory, and read turns that into a failed stream.
    while (fi.read(bytes.get() + size, static_cast<std::streamsize>(capacity - size)) || fi.gcount() > 0) {
        size += static_cast<std::size_t>(fi.gcount());
        if (size == capacity) {
            std::unique_ptr<char[]> larger(new char[capacity * 2]);  // NOLINT(modernize-avoid-c-arrays)
            std::memcpy(larger.get(), bytes.get(), size);
            bytes = std::move(larger);
            capacity *= 2;
        }
    }
    loadWords(std::string_view(bytes.get(), size), table);
}

void loadWords(std::string_view text, HashTable& table) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    const char* next = text.data();
    const char* const end = next + text.size();
    while (next < end) {
        const char* lineEnd =
            static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(end - next)));
        if (lineEnd == nullptr) {
            lineEnd = end;  // a last line without a line end
        }
        const std::string_view strline(next, static_cast<std::size_t>(lineEnd - next));
        next = lineEnd + 1;
        const std::size_t length = strline.size() - (!strline.empty() && strline.back() == '\r' ? 1 : 0);
        if (length <= kMaxWordLength) {
            table.insert(strline.substr(0, length));
        }
    }
}
