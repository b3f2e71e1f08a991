#include "Database/RuntimeRandom.h"

namespace {
std::uint32_t state = 1;
}

void RuntimeRandom::seed(std::uint32_t seedValue) { state = seedValue; }

int RuntimeRandom::next()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & MAX_VALUE);
}
