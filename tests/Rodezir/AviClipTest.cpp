// AVI clips of the animation control: what the image tools write reads back
// frame by frame, and damaged or unsupported files are refused.

#include "Rodezir/AviClip.h"

#include <gtest/gtest.h>

#include <cstring>

using kova::AviClip;
using kova::DibImage;

namespace {

// A frame of odd width (rows need padding) with a colour per pixel.
DibImage frame(int width, int height, std::uint32_t seed)
{
    DibImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.push_back(0xFF000000u | ((seed * 40503u + static_cast<std::uint32_t>(y * 131 + x * 7)) & 0xFFFFFF));
    return image;
}

std::uint32_t readU32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

std::size_t find(const std::vector<std::uint8_t>& bytes, const char* fourCc)
{
    for (std::size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (std::memcmp(bytes.data() + i, fourCc, 4) == 0)
            return i;
    return std::string::npos;
}

std::optional<AviClip> decode(const std::vector<std::uint8_t>& bytes)
{
    return AviClip::decode(bytes.data(), bytes.size());
}

} // namespace

TEST(AviClip, writtenFramesReadBackWithTheirTiming)
{
    const std::vector<DibImage> frames = {frame(7, 3, 1), frame(7, 3, 2), frame(7, 3, 3)};
    const std::vector<std::uint8_t> bytes = AviClip::encode(frames, 60000);
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(readU32(bytes, 4), bytes.size() - 8);

    const auto clip = decode(bytes);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->width, 7);
    EXPECT_EQ(clip->height, 3);
    EXPECT_EQ(clip->microsecondsPerFrame, 60000u);
    ASSERT_EQ(clip->frames.size(), 3u);
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(clip->frames[i].pixels, frames[i].pixels) << "frame " << i;
}

TEST(AviClip, framesOfAnotherSizeAreLeftOutWhenWriting)
{
    const auto clip = decode(AviClip::encode({frame(4, 4, 1), frame(5, 4, 2), frame(4, 4, 3)}, 100000));
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->frames.size(), 2u);
    EXPECT_EQ(clip->frames[1].pixels, frame(4, 4, 3).pixels);
}

TEST(AviClip, damagedAndUnsupportedFilesAreRefused)
{
    const std::vector<std::uint8_t> good = AviClip::encode({frame(6, 2, 1), frame(6, 2, 2)}, 50000);
    ASSERT_TRUE(decode(good));
    const std::size_t format = find(good, "strf") + 8;
    const std::size_t movie = find(good, "movi");
    const std::size_t firstFrame = find(good, "00db");

    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    };
    const Case cases[] = {
        {"not RIFF", [](auto& b) { b[0] = 'X'; }},
        {"not AVI", [](auto& b) { b[8] = 'W'; }},
        {"cut inside the headers", [&](auto& b) { b.resize(format + 10); }},
        {"cut before the frames", [&](auto& b) { b.resize(movie + 4); }},
        {"compressed frames", [&](auto& b) { b[format + 16] = 1; }},
        {"an unknown bit count", [&](auto& b) { b[format + 14] = 7; }},
        {"a frame shorter than its rows", [&](auto& b) { b[firstFrame + 4] = 8; }},
        {"no video stream", [&](auto& b) { std::memcpy(b.data() + find(b, "vids"), "auds", 4); }},
        {"a width of zero", [&](auto& b) { std::memset(b.data() + format + 4, 0, 4); }},
        {"a chunk larger than the file", [&](auto& b) { b[find(b, "LIST") + 7] = 0x7F; }},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        c.damage(bytes);
        EXPECT_FALSE(decode(bytes)) << c.what;
    }
    EXPECT_FALSE(AviClip::decode(nullptr, 0));
}

TEST(AviClip, aClipBeyondItsLimitsIsRefusedWhole)
{
    std::vector<DibImage> frames(AviClip::MAX_FRAMES + 1, frame(1, 1, 1));
    EXPECT_FALSE(decode(AviClip::encode(frames, 1000)));
    frames.resize(AviClip::MAX_FRAMES);
    EXPECT_TRUE(decode(AviClip::encode(frames, 1000)));
    // Every frame is small, all together too many pixels.
    const int side = 256;
    const auto tooMany = static_cast<std::size_t>(AviClip::MAX_TOTAL_PIXELS / (side * side) + 1);
    EXPECT_FALSE(decode(AviClip::encode(std::vector<DibImage>(tooMany, frame(side, side, 1)), 1000)));
}
