#include "WordListFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

#include <array>
#include <cstring>
#include <string_view>

namespace {

// Windows Notepad long saved UTF-8 with this mark in front; it is not part of
// the first word.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The most of a line that is carried from one block to the next: a longest
// word and the CR of its line end. A longer line is no word, and is skipped.
constexpr std::size_t kMostCarried = kMaxWordLength + 1;

// Inserts the word of one line, given without its line feed.
void addLine(std::string_view line, HashTable& table) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);  // the CR of a CR LF
    }
    if (line.size() <= kMaxWordLength) {
        table.insert(line);
    }
}

// Inserts the word of each line of `lines`, each of which ends with a line
// feed. Pointers and memchr rather than string_view's find and substr, whose
// checks would be paid once per word of the list.
void addLines(std::string_view lines, HashTable& table) {
    const char* next = lines.data();
    const char* const end = next + lines.size();
    while (next != end) {
        const char* const lineEnd =
            static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(end - next)));
        addLine(std::string_view(next, static_cast<std::size_t>(lineEnd - next)), table);
        next = lineEnd + 1;
    }
}

// The word list's file, opened once and read only when it is a regular file.
// Checking the path and then opening it would let a pipe, whose open blocks,
// or a device such as /dev/zero, which never ends, take the file's place in
// between.
class ListFile {
public:
    explicit ListFile(const std::string& path);
    ~ListFile();
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    bool isRegular() const { return regular; }
    // See ReadSome.
    std::size_t readSome(char* into, std::size_t most);

private:
    int descriptor;
    bool regular = false;
};

#ifdef _WIN32

// Binary: text mode would end the file at a Ctrl-Z byte; addLine drops the
// CR of a CR LF itself.
ListFile::ListFile(const std::string& path)
    : descriptor(_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT)) {
    // A console, NUL, a pipe or a serial port is not of type "disk".
    regular = descriptor >= 0 &&
              GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor))) == FILE_TYPE_DISK;
}

ListFile::~ListFile() {
    if (descriptor >= 0) {
        _close(descriptor);
    }
}

std::size_t ListFile::readSome(char* into, std::size_t most) {
    const int got = _read(descriptor, into, static_cast<unsigned int>(most));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

#else

#ifdef O_CLOEXEC
constexpr int kCloseOnExec = O_CLOEXEC;
#else
constexpr int kCloseOnExec = 0;
#endif

// Non-blocking, so that the open of a pipe without a writer returns at once;
// a terminal is not made the controlling one.
ListFile::ListFile(const std::string& path)
    : descriptor(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | kCloseOnExec)) {
    struct stat status {};
    regular = descriptor >= 0 && fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

ListFile::~ListFile() {
    if (descriptor >= 0) {
        close(descriptor);
    }
}

std::size_t ListFile::readSome(char* into, std::size_t most) {
    for (;;) {
        const ssize_t got = read(descriptor, into, most);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return 0;  // the words read so far stay
        }
    }
}

#endif

}  // namespace

void loadWordList(const std::string& path, HashTable& table) {
    ListFile file(path);
    if (file.isRegular()) {
        loadWordBlocks([&file](char* into, std::size_t most) { return file.readSome(into, most); }, table);
    }
}

void loadWordBlocks(const ReadSome& readSome, HashTable& table) {
    // Lines are split out of each block; the start of one that the block cuts
    // off is carried to the front of the next.
    std::array<char, kMostCarried + kBlockSize> buffer;  // not zeroed: only what is read is looked at
    std::size_t carried = 0;
    bool skipping = false;  // through a line too long to be a word, up to its line end
    bool atStart = true;    // until the list's first bytes show whether a mark opens it
    for (std::size_t got = 0; (got = readSome(buffer.data() + carried, kBlockSize)) > 0;) {
        std::string_view text(buffer.data(), carried + got);
        if (atStart) {
            // A block that ends inside the mark leaves it to the next, carried
            // like any cut-off line.
            const std::string_view start = text.substr(0, kByteOrderMark.size());
            atStart = start.size() < kByteOrderMark.size() && kByteOrderMark.substr(0, start.size()) == start;
            if (start == kByteOrderMark) {
                text.remove_prefix(kByteOrderMark.size());
            }
        }
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
        addLine(std::string_view(buffer.data(), carried), table);  // a last line without a line end
    }
}
