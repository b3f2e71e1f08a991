#pragma once
// The station's one process-wide pseudo-random generator, the linear
// congruential sequence of the Windows C runtime. Serial identifiers are
// drawn from it, so a given seed always gives the same identifiers on every
// platform. Start-up seeds it from the system's random source: stations
// started in the same second on one shared database must not draw alike.

#include <cstdint>

class RuntimeRandom {
public:
    static constexpr int MAX_VALUE = 0x7FFF;

    static void seed(std::uint32_t seedValue);
    // A seed from the system's random source (the kernel's generator; the
    // clock in nanoseconds and the process id only where that fails).
    static std::uint32_t systemSeed();
    // The next value, 0 to MAX_VALUE.
    static int next();
};
