#pragma once
// The hand-held controller's copy of a guideline algorithm: its limits as
// little-endian single floats at fixed offsets of the algorithm's block, the
// name ended by a zero byte at 0x80 in the block, and the name for display
// in a 40-byte slot of its own.

#include <cstdint>
#include <string>
#include <vector>

struct AlgorithmRecord;

class CPBAlgorithmBlock {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr int INIT_VENT = 0x00;
    static constexpr int VENTILATION_RATE = 0x04;
    static constexpr int VENTILATION_VOLUME = 0x0C;
    static constexpr int COMPRESSION_RATE = 0x28;
    static constexpr int COMPRESSION_DEPTH = 0x40;
    static constexpr int NAME = 0x80;
    static constexpr int BLOCK_BYTES = 256;
    static constexpr int DISPLAY_NAME_WIDTH = 40;

    // One group of values and where it goes in the block.
    struct Part {
        int offset;
        std::vector<float> values;
    };

    // The limits in the order they are written: initial ventilations (a
    // count sent as a float), ventilation rate, ventilation volume,
    // compression rate and compression depth, each as low then high.
    static std::vector<Part> parts(const AlgorithmRecord& algorithm);

    static Bytes encodeFloats(const std::vector<float>& values);
    // Every whole group of four bytes as a float; a shorter rest is ignored.
    static std::vector<float> decodeFloats(const Bytes& bytes);

    // The name for the block, ended by a zero byte within the block's end.
    static Bytes encodeName(const std::string& name);
    // The name for display, padded with spaces (or cut) to its slot.
    static Bytes encodeDisplayName(const std::string& name);
};
