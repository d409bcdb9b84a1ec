// Fault injection for one terminal test row, preloaded into the program:
// raise() waits a second before it sends the signal. A stop that the program
// raises itself then comes after what the shell does meanwhile (fg), as it
// can, rarely, at full speed.

#include <dlfcn.h>

#include <chrono>
#include <csignal>
#include <thread>

extern "C" int raise(int signalNumber) noexcept {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    using Raise = int (*)(int);
    const auto realRaise = reinterpret_cast<Raise>(dlsym(RTLD_NEXT, "raise"));
    return realRaise(signalNumber);
}
