// The key wait on a Windows console, or on a pipe or file given as input.

#include <conio.h>
#include <io.h>

#include "KeyWait.h"

void waitForKey() {
    if (_isatty(0) == 0) {
        // A pipe or a file: one byte, or its end, as on other platforms.
        // _getch would not wait here: it reads only a console.
        char byte = 0;
        (void)_read(0, &byte, 1);
        return;
    }
    // _getch takes a whole key press; an extended key's second code stays
    // inside the program's console input and goes with it.
    (void)_getch();
}
