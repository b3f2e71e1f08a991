#pragma once
// The station's one process-wide pseudo-random generator, the linear
// congruential sequence of the Windows C runtime (seeded once at start-up
// with the time). Serial identifiers are drawn from it, so a given seed
// always gives the same identifiers on every platform.

#include <cstdint>

class RuntimeRandom {
public:
    static constexpr int MAX_VALUE = 0x7FFF;

    static void seed(std::uint32_t seedValue);
    // The next value, 0 to MAX_VALUE.
    static int next();
};
