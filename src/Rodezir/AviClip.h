#pragma once
// A silent AVI clip as the station's animation control plays it: the frames
// of its first video stream, uncompressed device-independent bitmaps, and
// the time each frame is shown. decode reads such a file with every size
// checked; encode writes one (24 bits per pixel) for the image tools.

#include "Rodezir/DibImage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kova {

struct AviClip {
    int width = 0;
    int height = 0;
    std::uint32_t microsecondsPerFrame = 0;
    std::vector<DibImage> frames;

    // The most frames and pixels (all frames together) a clip may hold.
    static constexpr std::size_t MAX_FRAMES = 4096;
    static constexpr std::int64_t MAX_TOTAL_PIXELS = 4LL * 1024 * 1024;

    // Nothing for bytes that are not a RIFF AVI file, are cut short, hold no
    // video stream, a compressed one, frames of another size than the
    // stream's, or more than the limits above.
    static std::optional<AviClip> decode(const std::uint8_t* bytes, std::size_t size);
    // The clip as an AVI file: one uncompressed 24-bit video stream with an
    // index. Frames of another size than the first are left out.
    static std::vector<std::uint8_t> encode(const std::vector<DibImage>& frames, std::uint32_t microsecondsPerFrame);
};

} // namespace kova
