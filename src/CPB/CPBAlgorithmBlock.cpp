#include "CPB/CPBAlgorithmBlock.h"

#include "CPB/CPBText.h"
#include "config/AlgorithmRecord.h"

#include <bit>
#include <cstddef>

std::vector<CPBAlgorithmBlock::Part> CPBAlgorithmBlock::parts(const AlgorithmRecord& algorithm)
{
    const auto single = [](double value) { return static_cast<float>(value); };
    return {
        {INIT_VENT, {static_cast<float>(algorithm.initVent)}},
        {VENTILATION_RATE, {single(algorithm.vRateLow), single(algorithm.vRateHigh)}},
        {VENTILATION_VOLUME, {single(algorithm.vVolLow), single(algorithm.vVolHigh)}},
        {COMPRESSION_RATE, {single(algorithm.eccRateLow), single(algorithm.eccRateHigh)}},
        {COMPRESSION_DEPTH, {single(algorithm.compDepthLow), single(algorithm.compDepthHigh)}},
    };
}

CPBAlgorithmBlock::Bytes CPBAlgorithmBlock::encodeFloats(const std::vector<float>& values)
{
    Bytes bytes;
    bytes.reserve(values.size() * 4);
    for (const float value : values) {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    return bytes;
}

std::vector<float> CPBAlgorithmBlock::decodeFloats(const Bytes& bytes)
{
    std::vector<float> values;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        std::uint32_t bits = 0;
        for (int k = 3; k >= 0; --k)
            bits = (bits << 8) | bytes[at + static_cast<std::size_t>(k)];
        values.push_back(std::bit_cast<float>(bits));
    }
    return values;
}

CPBAlgorithmBlock::Bytes CPBAlgorithmBlock::encodeName(const std::string& name)
{
    return CPBText::terminated(CPBText::fromUtf8(name), BLOCK_BYTES - NAME);
}

CPBAlgorithmBlock::Bytes CPBAlgorithmBlock::encodeDisplayName(const std::string& name)
{
    return CPBText::padded(CPBText::fromUtf8(name), DISPLAY_NAME_WIDTH);
}
