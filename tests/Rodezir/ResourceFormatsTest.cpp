// Resource headers read for their symbolic names, and bitmap resources decoded.
#include "Rodezir/DibImage.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/ResourceHeader.h"
#include "Rodezir/StringTokenizer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace kova;

TEST(StringTokenizer, returnsRunsBetweenSeparators)
{
    StringTokenizer tokens(";;#define\tIDD_X  42;\n", " ;\n\r\t");
    std::vector<std::string> seen;
    while (tokens.hasMoreTokens())
        seen.push_back(tokens.nextToken());
    EXPECT_EQ(seen, (std::vector<std::string>{"#define", "IDD_X", "42"}));
    EXPECT_EQ(tokens.nextToken(), "");
}

TEST(ResourceHeader, mapsDecimalDefinitionsByNumber)
{
    const std::string header = "#ifndef KOVA_RESOURCE_H\n"
                               "#define KOVA_RESOURCE_H\n"
                               "#define IDD_TRAINEE                     30100\r\n"
                               "#DEFINE IDC_FIRST_NAME\t1001;\n"
                               "#define IDC_EXPRESSION (WM_USER + 1)\n"
                               "#define IDC_HEX 0x10\n"
                               "#define IDC_NEGATIVE -1\n"
                               "#endif\n"
                               "#define IDC_DANGLING";
    const ResourceNameMap expected{{-1, "IDC_NEGATIVE"}, {1001, "IDC_FIRST_NAME"}, {30100, "IDD_TRAINEE"}};
    EXPECT_EQ(parseResourceHeader(header), expected);
}

TEST(ResourceHeader, readsAFileAndLogsAMissingOne)
{
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd(dir.path());
    kovatest::writeFile(dir.path() / "resource.h", "#define IDD_ABOUT 100\n#define IDOK 1\n");
    EXPECT_EQ(readResourceHeader(dir.file("resource.h")), (ResourceNameMap{{1, "IDOK"}, {100, "IDD_ABOUT"}}));
    EXPECT_TRUE(readResourceHeader(dir.file("missing.h")).empty());
    LogStream::destroy();
    EXPECT_NE(kovatest::readFile(dir.path() / "errors.txt").find("missing.h"), std::string::npos);
}

// A bitmap info header and what follows it, little-endian.
struct DibBuilder {
    std::vector<std::uint8_t> bytes;

    void u16(unsigned v) { bytes.insert(bytes.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
    void u32(std::uint32_t v)
    {
        bytes.insert(bytes.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
    }
    DibBuilder(int width, int height, int bitCount, std::uint32_t clrUsed = 0, std::uint32_t compression = 0)
    {
        u32(40);
        u32(static_cast<std::uint32_t>(width));
        u32(static_cast<std::uint32_t>(height));
        u16(1);
        u16(static_cast<unsigned>(bitCount));
        u32(compression);
        u32(0);
        u32(2835);
        u32(2835);
        u32(clrUsed);
        u32(0);
    }
    DibBuilder& add(std::initializer_list<std::uint8_t> data)
    {
        bytes.insert(bytes.end(), data);
        return *this;
    }
    std::optional<DibImage> decode() const { return DibImage::decode(bytes.data(), bytes.size()); }
};

TEST(DibImage, decodesTrueColourRowsBottomUpAndTopDown)
{
    // 2 x 2 at 24 bits: rows of 6 bytes padded to 8; blue, green, red in each pixel.
    DibBuilder bottomUp(2, 2, 24);
    bottomUp.add({0xFF, 0, 0, 0, 0xFF, 0, 0, 0}).add({0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0});
    const auto image = bottomUp.decode();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixel(0, 0), 0xFFFF0000u); // the last stored row is the top one
    EXPECT_EQ(image->pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image->pixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(image->pixel(1, 1), 0xFF00FF00u);

    DibBuilder topDown(2, -2, 24);
    topDown.add({0xFF, 0, 0, 0, 0xFF, 0, 0, 0}).add({0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0});
    EXPECT_EQ(topDown.decode()->pixel(0, 0), 0xFF0000FFu);

    // Behind a bitmap file header.
    std::vector<std::uint8_t> file{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    file.insert(file.end(), bottomUp.bytes.begin(), bottomUp.bytes.end());
    const auto fromFile = DibImage::decode(file.data(), file.size());
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->pixels, image->pixels);
}

TEST(DibImage, readsPalettesOfOneAndFourBits)
{
    // 1 bit: two palette entries (black, red), one row of 4 bytes.
    DibBuilder mono(3, 1, 1);
    mono.add({0, 0, 0, 0, 0, 0, 0xFF, 0}).add({0b10100000, 0, 0, 0});
    const auto one = mono.decode();
    ASSERT_TRUE(one);
    EXPECT_EQ(one->pixels, (std::vector<std::uint32_t>{0xFFFF0000u, 0xFF000000u, 0xFFFF0000u}));

    // 4 bits with a used-colour count of 2.
    DibBuilder nibbles(2, 1, 4, 2);
    nibbles.add({0xFF, 0, 0, 0, 0, 0xFF, 0, 0}).add({0x10, 0, 0, 0});
    EXPECT_EQ(nibbles.decode()->pixels, (std::vector<std::uint32_t>{0xFF00FF00u, 0xFF0000FFu}));
}

TEST(DibImage, refusesWhatItCannotReadSafely)
{
    DibBuilder shortBits(4, 4, 24);
    shortBits.add({1, 2, 3});
    DibBuilder colourCountOnTrueColour(1, 1, 24, 4);
    colourCountOnTrueColour.add({0, 0, 0, 0});
    DibBuilder oddBitCount(1, 1, 2);
    oddBitCount.add({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    DibBuilder noBitsWithColours(2, 1, 0, 2);
    noBitsWithColours.add({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    DibBuilder compressed(1, 1, 8, 0, 1);
    DibBuilder huge(1 << 20, 1 << 20, 1);
    DibBuilder hugePalette(1, 1, 8, 100000);
    DibBuilder zeroWidth(0, 1, 24);
    for (const auto* dib : {&shortBits, &colourCountOnTrueColour, &oddBitCount, &noBitsWithColours, &compressed, &huge, &hugePalette,
                            &zeroWidth})
        EXPECT_FALSE(dib->decode());
    const std::uint8_t cut[] = {40, 0, 0, 0, 1};
    EXPECT_FALSE(DibImage::decode(cut, sizeof cut));
    EXPECT_FALSE(DibImage::decode(nullptr, 0));
}

} // namespace
