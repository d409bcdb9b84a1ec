#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "Board.h"
#include "KeyWait.h"
#include "Play.h"

int main() {
    // Runs started within the same second share a seed, and so a grid.
    std::srand(static_cast<std::uint32_t>(std::time(nullptr)));

    Board b;
    playOnce(b, "EnglishWL.txt");
    waitForKey();
    return 0;
}
