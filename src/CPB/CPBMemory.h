#pragma once
// Reads and writes the hand-held controller's named memory areas over the
// packet link. Every access is checked against its area first: one that
// would pass the area's end is refused before a byte goes out, so a wrong
// size can never overwrite the neighbouring area.

#include "CPB/CPBComm.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CPBMemory {
public:
    using Bytes = std::vector<std::uint8_t>;

    // Every transfer step tries each block this often.
    static constexpr int RETRIES = 10;

    explicit CPBMemory(CPBComm& link, int retries = RETRIES);

    // Writes data from `offset` bytes into the area `name` (a Pointer name).
    bool write(int name, int offset, const Bytes& data);
    // Reads `length` bytes from `offset` bytes into the area and appends them to out.
    bool read(int name, int offset, int length, Bytes& out);

    // True when `length` bytes from `offset` lie inside the area; otherwise a
    // log line names the area, the offset and both sizes.
    static bool fits(int name, int offset, long long length);

private:
    CPBComm& link_;
    int retries_;
};
