#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "HashTable.h"

// The longest word a word-list line may hold, not counting its line end.
constexpr std::size_t kMaxWordLength = 29;

// Reads the word list at `path` into `table` (see loadWords). A path that is
// not a regular file, or cannot be read, adds nothing and reports nothing.
void loadWordList(const std::string& path, HashTable& table);

// Inserts the words of a word list's text, one per line (LF or CR LF). A
// UTF-8 byte-order mark at its very start is skipped. A line longer than
// kMaxWordLength is skipped whole; every other line is inserted as it stands,
// with its real bytes (NULs and Ctrl-Z included), and the table drops lines
// that have no bucket (empty ones, or ones not starting with a letter).
void loadWords(std::string_view text, HashTable& table);
