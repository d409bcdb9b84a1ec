#pragma once

#include <iostream>
#include <string>

#include "Board.h"

// The search pass of a run: a search from every square in row-major order,
// then an end of line.
void searchPass(Board& b, std::ostream& out = std::cout);

// One run up to its key wait, on the word list at `listPath`: the grid, a
// blank line, the search pass, the found words and the prompt.
void playOnce(Board& b, const std::string& listPath, std::ostream& out = std::cout);
