#pragma once

#include <chrono>

// Blocks until one key is pressed on the console, without echo and without
// needing Enter. When standard input is not a terminal, one byte is read
// instead; end of input or a read error also ends the wait.
void waitForKey();

namespace keywait {

// A key press, a paste and keys typed right after it arrive as one burst, and
// none of it may reach the shell: after the key the wait reads on until the
// input has been quiet for a moment, within a bound that an endless stream
// cannot stretch.
constexpr std::chrono::milliseconds kQuiet{50};
constexpr std::chrono::seconds kLongestBurst{1};

}  // namespace keywait
