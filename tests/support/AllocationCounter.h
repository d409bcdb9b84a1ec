#pragma once

#include <cstddef>

// Counts calls of the global operator new in the program that links
// AllocationCounter.cpp (which replaces it).
namespace allocation {
std::size_t count();
}
