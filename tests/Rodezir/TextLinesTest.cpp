// Breaking texts into words and laying them out in lines, measured by a
// fixed-width device: every character 10 wide, a blank 4, lines 16 high.
#include "Rodezir/TextLines.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kova;

class FixedWidthDevice : public TextDevice {
public:
    struct Drawn {
        int x, y;
        std::wstring text;
        friend bool operator==(const Drawn&, const Drawn&) = default;
    };
    std::vector<Drawn> drawn;

    int textHeight() const override { return 16; }
    SIZE textExtent(const std::wstring& text) const override
    {
        return {text == L" " ? 4 : 10 * static_cast<int>(text.size()), 16};
    }
    void drawText(int x, int y, const std::wstring& text) override { drawn.push_back({x, y, text}); }
};

using Words = std::vector<std::pair<std::wstring, int>>;

Words split(const std::wstring& text, bool eastAsian = false)
{
    FixedWidthDevice device;
    Words words;
    const TextLines lines(device, text, eastAsian);
    for (const auto& word : lines.words())
        words.emplace_back(word.text, word.breakKind);
    return words;
}

TEST(TextLines, splitsAtBlanksHyphensLineEndsAndOtherCharacters)
{
    struct Case {
        std::wstring text;
        bool eastAsian;
        Words words;
    };
    const Case cases[] = {
        {L"pre-set value", false, {{L"pre-", 0}, {L"set", 2}, {L"value", 0}}},
        {L"\u00fcber", false, {{L"\u00fc", 0}, {L"ber", 0}}},
        {L"a\n\nb", false, {{L"a", 1}, {L"", 1}, {L"b", 0}}},
        {L"Depth,  rate - ok", false, {{L"Depth,", 2}, {L"rate", 2}, {L"-", 2}, {L"ok", 0}}},
        {L"\u6df1\u3055\u30c1\u30a7\u30c3\u30af \u901f\u5ea6", true, {{L"\u6df1\u3055\u30c1\u30a7\u30c3\u30af", 2}, {L"\u901f\u5ea6", 0}}},
        {L"\u6df1\u3055", false, {{L"\u6df1", 0}, {L"\u3055", 0}}},
        {L"", false, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(split(c.text, c.eastAsian), c.words) << std::string(c.text.begin(), c.text.end());
}

TEST(TextLines, emptyWordOfALineEndHasTheBlankHeight)
{
    FixedWidthDevice device;
    const TextLines lines(device, L"\n", false);
    ASSERT_EQ(lines.words().size(), 1u);
    EXPECT_EQ(lines.words()[0].extent, (SIZE{0, 16}));
    EXPECT_EQ(lines.spaceWidth(), 4);
    EXPECT_EQ(lines.textHeight(), 16);
}

TEST(TextLines, wrapsAfterAHyphenAndKeepsAnOverlongWordOnItsLine)
{
    FixedWidthDevice device;
    const TextLines lines(device, L"pre-set value", false);
    std::vector<int> widths;
    EXPECT_EQ(lines.layout(&device, 50, 5, 7, TextLines::ALIGN_LEFT, true, widths), (SIZE{50, 48}));
    EXPECT_EQ(widths, (std::vector<int>{40, 30, 50}));
    const std::vector<FixedWidthDevice::Drawn> expected{{5, 7, L"pre-"}, {5, 23, L"set"}, {5, 39, L"value"}};
    EXPECT_EQ(device.drawn, expected);

    widths.clear();
    EXPECT_EQ(lines.layout(nullptr, 200, 0, 0, TextLines::ALIGN_LEFT, true, widths), (SIZE{124, 16}));
    EXPECT_EQ(widths, (std::vector<int>{124}));

    const TextLines overlong(device, L"Compressions", false);
    EXPECT_EQ(overlong.layout(nullptr, 50, 0, 0, TextLines::ALIGN_LEFT, false, widths), (SIZE{120, 16}));
}

TEST(TextLines, nonAsciiLetterIsDrawnWithoutAGapButMayBreak)
{
    FixedWidthDevice device;
    const TextLines lines(device, L"\u00fcber", false);
    std::vector<int> widths;
    lines.layout(&device, 100, 0, 0, TextLines::ALIGN_LEFT, false, widths);
    const std::vector<FixedWidthDevice::Drawn> together{{0, 0, L"\u00fc"}, {10, 0, L"ber"}};
    EXPECT_EQ(device.drawn, together);
    EXPECT_EQ(lines.layout(nullptr, 30, 0, 0, TextLines::ALIGN_LEFT, false, widths), (SIZE{30, 32}));
}

TEST(TextLines, lineEndsInARowGiveAnEmptyLine)
{
    FixedWidthDevice device;
    std::vector<int> widths;
    EXPECT_EQ(TextLines(device, L"a\n\nb", false).layout(nullptr, 100, 0, 0, 0, true, widths), (SIZE{10, 48}));
    EXPECT_EQ(widths, (std::vector<int>{10, 0, 10}));
    EXPECT_EQ(TextLines(device, L"", false).layout(nullptr, 100, 0, 0, 0, false, widths), (SIZE{0, 0}));
}

TEST(TextLines, drawAlignedCentresAndRightAlignsEachLine)
{
    // Lines of 80 and 40 in a width of 100.
    const std::wstring text = L"abcdefgh abcd";
    struct Case {
        int alignment;
        int first, second;
    };
    for (const Case& c : {Case{TextLines::ALIGN_LEFT, 0, 0}, Case{TextLines::ALIGN_CENTRE, 10, 30},
                          Case{TextLines::ALIGN_RIGHT, 20, 60}}) {
        FixedWidthDevice device;
        const TextLines lines(device, text, false);
        EXPECT_EQ(lines.drawAligned(device, 100, 0, 0, c.alignment), (SIZE{80, 32}));
        const std::vector<FixedWidthDevice::Drawn> expected{{c.first, 0, L"abcdefgh"}, {c.second, 16, L"abcd"}};
        EXPECT_EQ(device.drawn, expected) << c.alignment;
    }
}

} // namespace
