#pragma once

// Blocks until one key is pressed on the console, without echo and without
// needing Enter. When standard input is not a terminal, one byte is read
// instead; end of input or a read error also ends the wait.
void waitForKey();
