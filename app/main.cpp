#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "Board.h"
#include "KeyWait.h"

int main() {
    // Runs started within the same second share a seed, and so a grid.
    std::srand(static_cast<std::uint32_t>(std::time(nullptr)));

    Board b;
    b.loadDictionary("EnglishWL.txt");
    b.randomize();
    b.print();
    std::cout << std::endl;

    for (int row = 0; row < Board::kSize; ++row) {
        for (int col = 0; col < Board::kSize; ++col) {
            b.search(row, col);
        }
    }
    std::cout << std::endl;

    b.printWords();
    std::cout << "\nPress any key to continue..." << std::flush;
    waitForKey();
    return 0;
}
