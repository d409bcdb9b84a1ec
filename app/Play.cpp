#include "Play.h"

#include <ostream>

void searchPass(Board& b, std::ostream& out) {
    for (int row = 0; row < Board::kSize; ++row) {
        for (int col = 0; col < Board::kSize; ++col) {
            b.search(row, col);
        }
    }
    out << '\n' << std::flush;
}

void playOnce(Board& b, const std::string& listPath, std::ostream& out) {
    b.loadDictionary(listPath);
    b.randomize();
    b.print(out);
    out << '\n' << std::flush;
    searchPass(b, out);
    b.printWords(out);
    // The newline ends the listing's line; the flush puts it and the prompt
    // on the screen for the wait.
    out << "\nPress any key to continue..." << std::flush;
}
