#pragma once
// One recorded channel of demonstration data: the bytes of one "BIN" resource,
// one sample value per byte, replayed in a loop.

#include <cstddef>
#include <cstdint>
#include <vector>

class CollectedData {
public:
    // Loads the "BIN" resource with this id; a missing or empty resource is
    // reported to the error log and leaves an empty channel that reads 0.
    explicit CollectedData(int resourceId);
    // A channel from bytes already in memory (tests, tools).
    explicit CollectedData(std::vector<std::uint8_t> bytes);

    // The byte at index modulo the channel's size; 0 for an empty channel.
    std::uint8_t get(std::size_t index) const;
    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};
