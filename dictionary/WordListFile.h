#pragma once

#include <cstddef>
#include <string>

#include "HashTable.h"

// The longest word a word-list line may hold, not counting its line end.
constexpr std::size_t kMaxWordLength = 29;
// How much of the file is read at a time.
constexpr std::size_t kReadBlockSize = std::size_t{64} * 1024;

// Reads the word list at `path`, one word per line (LF or CR LF), into `table`.
// A file that cannot be read adds nothing and reports nothing. A line longer
// than kMaxWordLength is skipped whole; every other line is inserted as it
// stands, with its real bytes (NULs and Ctrl-Z included), and the table drops
// lines that have no bucket (empty ones, or ones not starting with a letter).
// `blockSize` only sets how the file is read, never what is loaded.
void loadWordList(const std::string& path, HashTable& table, std::size_t blockSize = kReadBlockSize);
