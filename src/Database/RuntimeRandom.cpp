#include "Database/RuntimeRandom.h"

#include <chrono>

#include <sys/random.h>
#include <unistd.h>

namespace {
std::uint32_t state = 1;
}

void RuntimeRandom::seed(std::uint32_t seedValue) { state = seedValue; }

std::uint32_t RuntimeRandom::systemSeed()
{
    std::uint32_t value = 0;
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof value))
        return value;
    // Without the kernel's generator (too early in boot, or a sandbox that
    // forbids it) two stations still differ by their clocks' nanoseconds and
    // their process ids, never by the second alone.
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count()
                     ^ std::chrono::system_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks) ^ static_cast<std::uint32_t>(ticks >> 32)
         ^ (static_cast<std::uint32_t>(::getpid()) * 2654435761u);
}

int RuntimeRandom::next()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & MAX_VALUE);
}
