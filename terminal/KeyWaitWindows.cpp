// The key wait on a Windows console, or on a pipe, a file or NUL given as
// input.

#include "KeyWait.h"

#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <iostream>

namespace {

// GetConsoleMode, not _isatty: NUL is a character device too, and _getch
// would wait there for a console key.
bool isConsole(DWORD standardHandle) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

// The console's input buffer is cmd.exe's too: whatever is left there after
// the key is read by it as typed commands. So input is thrown away until it
// has been quiet for a moment, within the same bound as on other systems.
void drainConsole(HANDLE input) {
    const auto end = std::chrono::steady_clock::now() + keywait::kLongestBurst;
    while (std::chrono::steady_clock::now() < end &&
           WaitForSingleObject(input, static_cast<DWORD>(keywait::kQuiet.count())) == WAIT_OBJECT_0) {
        FlushConsoleInputBuffer(input);
    }
    FlushConsoleInputBuffer(input);
}

HANDLE consoleInput = nullptr;

// A Ctrl-C that comes as a control event after all is put in the input as
// the key it is. Wine on a terminal leaves the terminal's SIGINT on, and
// turns it into this event whatever the console's mode.
BOOL WINAPI ctrlCAsKey(DWORD event) {
    if (event != CTRL_C_EVENT) {
        return FALSE;
    }
    INPUT_RECORD key{};
    key.EventType = KEY_EVENT;
    key.Event.KeyEvent.bKeyDown = TRUE;
    key.Event.KeyEvent.wRepeatCount = 1;
    key.Event.KeyEvent.wVirtualKeyCode = 'C';
    key.Event.KeyEvent.uChar.AsciiChar = '\x03';
    key.Event.KeyEvent.dwControlKeyState = LEFT_CTRL_PRESSED;
    DWORD written = 0;
    WriteConsoleInputA(consoleInput, &key, 1, &written);
    return TRUE;
}

// Keys pressed before the prompt was shown do not answer it. _getch takes a
// whole key press; an extended key's second code stays inside the program and
// goes with it. Ctrl-C is a key like any other until the burst is drained,
// as on other systems: _getch stops its processing during its own call only,
// and one just after it would end the program as a console control event,
// and the rest of cmd's command line with it.
void waitOnConsole() {
    consoleInput = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool modeRead = GetConsoleMode(consoleInput, &mode) != 0;
    if (modeRead) {
        SetConsoleMode(consoleInput, mode & ~static_cast<DWORD>(ENABLE_PROCESSED_INPUT));
    }
    SetConsoleCtrlHandler(ctrlCAsKey, TRUE);
    FlushConsoleInputBuffer(consoleInput);
    (void)_getch();
    drainConsole(consoleInput);
    if (modeRead) {
        SetConsoleMode(consoleInput, mode);
    }
    SetConsoleCtrlHandler(ctrlCAsKey, FALSE);
}

}  // namespace

void waitForKey() {
    if (isConsole(STD_INPUT_HANDLE)) {
        waitOnConsole();
    } else {
        // One byte, or its end, as on other systems. Binary mode: in text
        // mode a lone CR would wait for the byte after it.
        _setmode(_fileno(stdin), _O_BINARY);
        char first = 0;
        (void)_read(_fileno(stdin), &first, 1);
    }
    // The shell's prompt starts on a line of its own; a file or pipe gets none.
    if (isConsole(STD_OUTPUT_HANDLE)) {
        std::cout << '\n' << std::flush;
    }
}
