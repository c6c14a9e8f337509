// The arithmetic of the size texts and the percentage free, in the x87
// extended format: a 64-bit significand holds every byte count exactly, and
// every build rounds each step the same way.
#pragma once
#include <limits>

namespace tw::inventory {

static_assert(std::numeric_limits<long double>::digits == 64, "byte counts need the x87 extended format");

// Each result is rounded once to the 64-bit significand, whatever precision
// the thread's floating-point unit was left in.
long double ExtendedSub(long double a, long double b);
long double ExtendedMul(long double a, long double b);
long double ExtendedDiv(long double a, long double b);

}  // namespace tw::inventory
