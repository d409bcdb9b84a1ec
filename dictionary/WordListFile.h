#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "HashTable.h"

// The longest word a word-list line may hold, not counting its line end.
constexpr std::size_t kMaxWordLength = 29;
// The most of the list that is read at a time, whatever its size.
constexpr std::size_t kBlockSize = std::size_t{64} * 1024;

// Reads the word list at `path` into `table` (see loadWordBlocks). A path
// that is not a regular file, or cannot be read, adds nothing and reports
// nothing.
void loadWordList(const std::string& path, HashTable& table);

// Copies up to `most` bytes of a word list to `into` and returns how many;
// 0 at the list's end or on an error. Fewer than `most` may come at any time.
using ReadSome = std::function<std::size_t(char* into, std::size_t most)>;

// Inserts the words of the list that `readSome` yields, one per line (LF or
// CR LF), asking it for at most kBlockSize bytes at a time. A UTF-8
// byte-order mark at the list's very start is skipped. A line longer than
// kMaxWordLength is skipped whole; every other line is inserted as it stands,
// with its real bytes (NULs and Ctrl-Z included), and the table drops lines
// that have no bucket (empty ones, or ones not starting with a letter).
void loadWordBlocks(const ReadSome& readSome, HashTable& table);
