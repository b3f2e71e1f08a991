#include "Rodezir/gstringUtil.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

TEST(Utf8Coder, decodesEveryLengthAndRejectsOverlongAndStrayBytes)
{
    struct Case {
        std::string input;
        int result;
        std::uint32_t codePoint;
    };
    const Case cases[] = {
        {bytes({0x41}), 1, 0x41},
        {bytes({0xC3, 0xA9}), 2, 0xE9},
        {bytes({0xE2, 0x82, 0xAC}), 3, 0x20AC},
        {bytes({0xF0, 0x9F, 0x98, 0x80}), 4, 0x1F600},
        {bytes({0xF8, 0x88, 0x80, 0x80, 0x80}), 5, 0x200000},
        {bytes({0xFD, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF}), 6, 0x7FFFFFFF},
        {bytes({0xC0, 0x80}), -1, 0},             // overlong zero
        {bytes({0xC1, 0xBF}), -1, 0},             // overlong
        {bytes({0xE0, 0x80, 0x80}), -1, 0},       // overlong 3-byte form
        {bytes({0xF0, 0x8F, 0xBF, 0xBF}), -1, 0}, // overlong 4-byte form
        {bytes({0xF8, 0x87, 0xBF, 0xBF, 0xBF}), -1, 0},
        {bytes({0xFC, 0x83, 0xBF, 0xBF, 0xBF, 0xBF}), -1, 0},
        {bytes({0x80}), -1, 0},                   // continuation without lead
        {bytes({0xFE}), -1, 0},
        {bytes({0xFF}), -1, 0},
        {bytes({0xC3, 0x41}), -1, 0},             // lead followed by a non-continuation
        {bytes({0xE2}), -2, 0},                   // truncated
        {bytes({0xE2, 0x82}), -2, 0},
        {bytes({0xF0, 0x9F, 0x98}), -2, 0},
    };
    for (const Case& c : cases) {
        std::uint32_t codePoint = 0;
        int used = utf8Decode(codePoint, reinterpret_cast<const unsigned char*>(c.input.data()), c.input.size());
        EXPECT_EQ(used, c.result) << "input of " << c.input.size() << " bytes, lead " << int(static_cast<unsigned char>(c.input[0]));
        if (c.result > 0) {
            EXPECT_EQ(codePoint, c.codePoint);
        }
    }
}

TEST(Utf8Coder, encodeIsTheInverseOfDecodeAtEveryLengthBoundary)
{
    const std::uint32_t points[] = {0, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x1FFFFF, 0x200000, 0x3FFFFFF, 0x4000000, 0x7FFFFFFF};
    const int lengths[] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6};
    for (std::size_t i = 0; i < std::size(points); ++i) {
        unsigned char buffer[6];
        ASSERT_EQ(utf8Encode(buffer, points[i], sizeof buffer), lengths[i]) << std::hex << points[i];
        std::uint32_t back = 0;
        EXPECT_EQ(utf8Decode(back, buffer, sizeof buffer), lengths[i]);
        EXPECT_EQ(back, points[i]);
        EXPECT_EQ(utf8Encode(buffer, points[i], static_cast<std::size_t>(lengths[i] - 1)), -2);
    }
    unsigned char buffer[6];
    EXPECT_EQ(utf8Encode(buffer, 0x80000000u, sizeof buffer), -1);
}

TEST(TextConversion, narrowsToUtf8InTheAnsiCodePage)
{
    EXPECT_EQ(toNarrow(L"\u00e9", CP_UTF8), bytes({0xC3, 0xA9}));
    EXPECT_EQ(toNarrow(L"\u20ac", CP_UTF8), bytes({0xE2, 0x82, 0xAC}));
    EXPECT_EQ(toNarrow(L"\U0001F600"), bytes({0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(toNarrow(std::wstring(L"ab\0cd", 5)), "ab") << "conversion ends at the first zero unit";
    EXPECT_EQ(toNarrow(L""), "");
    EXPECT_EQ(toWide(bytes({0x61, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80})), L"a\u00e9\u20ac\U0001F600");
    EXPECT_EQ(toWide(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(ansiToWide(nullptr), L"");
}

TEST(TextConversion, invalidUtf8BecomesReplacementCharacters)
{
    // Overlong, stray continuation and a sequence cut off at the end.
    EXPECT_EQ(toWide(bytes({0x41, 0xC0, 0x80, 0x42, 0x80, 0x43, 0xE2, 0x82})), L"A\uFFFD\uFFFDB\uFFFDC\uFFFD\uFFFD");
}

TEST(TextConversion, languageCodePagesGoUnitByUnitWithQuestionMarks)
{
    struct Case {
        unsigned int codePage;
        std::wstring wide;
        std::string narrow;
    };
    const Case cases[] = {
        {1252, L"caf\u00e9 \u20ac", bytes({'c', 'a', 'f', 0xE9, ' ', 0x80})},
        {1252, L"\u4e2d\u00e9", bytes({'?', 0xE9})},
        {1251, L"\u0416\u00e9", bytes({0xC6, '?'})},
        {1250, L"\u0159", bytes({0xF8})},
        {850, L"\u00e9\u20ac", bytes({0x82, '?'})},
        {932, L"\u65e5a", bytes({0x93, 0xFA, 'a'})},
        {936, L"\u4e2d", bytes({0xD6, 0xD0})},
        {949, L"\ud55c", bytes({0xC7, 0xD1})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toNarrow(c.wide, c.codePage), c.narrow) << "code page " << c.codePage;
        std::wstring back = c.wide;
        for (wchar_t& unit : back)
            if (toNarrow(std::wstring(1, unit), c.codePage) == "?")
                unit = L'?';
        EXPECT_EQ(toWide(c.narrow, c.codePage), back) << "code page " << c.codePage;
    }
    // A lead byte with nothing after it, and a byte the code page leaves undefined.
    EXPECT_EQ(toWide(bytes({'a', 0x93}), 932), L"a?");
    EXPECT_EQ(toWide(bytes({0x81, 'b'}), 1252), L"?b");
    EXPECT_EQ(toNarrow(L"abc", 12345), "");
    EXPECT_EQ(toWide("abc", 12345), L"");
}

TEST(TextConversion, ringOfSixteenResults)
{
    const char* first = toCString(L"first");
    std::vector<const char*> results{first};
    for (int i = 2; i <= 16; ++i)
        results.push_back(toCString(L"text " + std::to_wstring(i)));
    EXPECT_STREQ(first, "first") << "the 16th result does not overwrite the 1st";
    const char* seventeenth = toCString(L"seventeenth");
    EXPECT_EQ(seventeenth, first);
    EXPECT_STREQ(first, "seventeenth");
    EXPECT_STREQ(results[1], "text 2");

    const char* empty = toAnsiCString(L"");
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    EXPECT_STREQ(toCString(L"\u00e9", 1252), "\xe9");
}

TEST(TextConversion, utf16RoundTripKeepsEveryUnitSequence)
{
    EXPECT_EQ(wideToUtf16(L"a\U0001F600"), (std::u16string{u'a', 0xD83D, 0xDE00}));
    EXPECT_EQ(utf16ToWide(std::u16string{u'a', 0xD83D, 0xDE00}), L"a\U0001F600");
    const std::u16string lone{0xD800, u'x', 0xDC00, 0xDBFF};
    EXPECT_EQ(wideToUtf16(utf16ToWide(lone)), lone);
    EXPECT_EQ(wideToUtf16(std::wstring(1, static_cast<wchar_t>(0x110000))), std::u16string(1, 0xFFFD));

    const std::vector<unsigned char> le = wideToUtf16le(L"ab\u20ac");
    EXPECT_EQ(le, (std::vector<unsigned char>{0x61, 0x00, 0x62, 0x00, 0xAC, 0x20}));
    EXPECT_EQ(utf16leToWide(le.data(), le.size()), L"ab\u20ac");
    EXPECT_EQ(utf16leToWide(le.data(), le.size() - 1), L"ab") << "an odd trailing byte is not half a unit";
}

TEST(Utf8Converters, lenientMarksStrictThrows)
{
    bool error = false;
    EXPECT_EQ(utf8ToWideLenient(bytes({'a', 0xE0, 0x80, 0x80, 'b'}), error), L"a???b");
    EXPECT_TRUE(error);
    error = false;
    EXPECT_EQ(utf8ToWideLenient(bytes({'a', 0xF8, 0x88, 0x80, 0x80, 0x80}), error), L"a?????") << "5-byte forms are not text";
    EXPECT_TRUE(error);
    error = false;
    EXPECT_EQ(utf8ToWideLenient(std::string("ok\0more", 7), error), L"ok");
    EXPECT_FALSE(error);

    try {
        utf8ToWideStrict(bytes({'a', 0xC0, 0x80}));
        FAIL() << "no exception";
    } catch (const char* text) {
        EXPECT_STREQ(text, "UTF8 error: source too large");
    }

    const std::wstring beyond(1, static_cast<wchar_t>(0x200000));
    try {
        utf8FromWide(L"a" + beyond);
        FAIL() << "no exception";
    } catch (const char* text) {
        EXPECT_STREQ(text, "UTF8 error: result too large");
    }
    error = false;
    EXPECT_EQ(utf8FromWideLenient(L"a" + beyond + L"b", error), "a?b");
    EXPECT_TRUE(error);
    EXPECT_EQ(toNarrow(L"a" + beyond), "a?") << "the ANSI conversion never throws";
    EXPECT_EQ(utf8FromWide(std::wstring(L"a\0b", 3)), "ab") << "a zero unit produces nothing";
}

TEST(FormatWide, usesTheStationsConventionsForTextArguments)
{
    EXPECT_EQ(formatWide(L"%s|%hs|%S|%ls", L"w\u20ac", "n\xc3\xa9", "N", L"L"), L"w\u20ac|n\u00e9|N|L");
    EXPECT_EQ(formatWide(L"[%5s][%-4hs][%.2s]", L"ab", "c", L"xyz"), L"[   ab][c   ][xy]");
    EXPECT_EQ(formatWide(L"%c%hc%C", L'\u20ac', 'x', 'y'), L"\u20acxy");
    EXPECT_EQ(formatWide(L"%d %5.2f %x %ld %lld %u %03d %% %*d", -7, 3.14159, 255, 123456789L, 1LL << 40, 4000000000u, 5, 4, 9),
              L"-7  3.14 ff 123456789 1099511627776 4000000000 005 %    9");
    EXPECT_EQ(formatWide(L"%hd", 70000), L"4464");
}

TEST(FormatWide, numbersStayInTheCLocaleWhateverTheProcessLocale)
{
    // A decimal-comma locale compiled for this test alone, as the desktop's
    // own locale would be set by the application object.
    kovatest::TempDir dir;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.file("de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "no locale sources to build a decimal-comma locale from";
    ::setenv("LOCPATH", dir.path().c_str(), 1);
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 2.5);
    EXPECT_STREQ(check, "2,5") << "the locale really has a decimal comma";
    EXPECT_EQ(formatWide(L"%.1f", 2.5), L"2.5");
    EXPECT_EQ(doubleToWide(2.5, "%.2f"), L"2.50");
    std::setlocale(LC_NUMERIC, saved.c_str());
    ::unsetenv("LOCPATH");
}

TEST(FormatWide, lengthLimits)
{
    const std::wstring w600(600, L'x');
    EXPECT_EQ(formatWide(L"%s", w600.c_str()), w600);
    const std::wstring w70000(70000, L'y');
    EXPECT_EQ(formatWide(L"%s!", w70000.c_str()), std::wstring(65536, L'y'));

    EXPECT_EQ(intToWide(42, "%d"), L"42");
    EXPECT_EQ(intToWide(7, "%060d"), std::wstring(50, L'0'));
    EXPECT_EQ(doubleToWide(0.25, "%0.1f"), L"0.2");
    EXPECT_EQ(boolToWide(true), L"true");
    EXPECT_EQ(boolToWide(false), L"false");
    EXPECT_EQ(getAnsiDefaultChar(), u'?');
}

} // namespace
