#include "config/ObjectInput.h"
#include "config/ObjectOutput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Serialises through a buffer of the given size and returns the used bytes.
template <typename Write>
Bytes serialise(std::size_t size, Write write)
{
    Bytes block(size);
    mem_buffer buffer(block.data(), block.size());
    RawFormat format(buffer);
    ObjectOutput out(format);
    write(out);
    block.resize(buffer.used());
    return block;
}

template <typename Read>
void deserialise(Bytes bytes, Read read)
{
    mem_buffer buffer(bytes.data(), bytes.size());
    RawFormat format(buffer);
    ObjectInput in(format);
    read(in);
}

// Runs a request that must overflow and returns the figures it reported.
template <typename Request>
std::pair<int, int> overflowOf(Request request)
{
    try {
        request();
    } catch (const mem_buffer::buffer_overflow_error& error) {
        EXPECT_STREQ(error.what(), "XTL mem_buffer overflow");
        return {error.bytesLeft, error.bytesNeeded};
    }
    ADD_FAILURE() << "no overflow";
    return {-1, -1};
}

TEST(Serialisation, fieldsAreEncodedLittleEndianWithoutTags)
{
    struct Case {
        const char* what;
        Bytes bytes;
        Bytes expected;
    };
    const Case cases[] = {
        {"empty narrow string", serialise(16, [](ObjectOutput& o) { o << std::string(); }), {0, 0, 0, 0}},
        {"narrow abc", serialise(16, [](ObjectOutput& o) { o << std::string("abc"); }), {3, 0, 0, 0, 'a', 'b', 'c'}},
        {"wide ab", serialise(16, [](ObjectOutput& o) { o << std::wstring(L"ab"); }), {4, 0, 0, 0, 'a', 0, 'b', 0}},
        {"wide beyond the basic plane as a surrogate pair",
         serialise(16, [](ObjectOutput& o) { o << std::wstring(L"\U0001F600"); }),
         {4, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE}},
        {"negative int", serialise(16, [](ObjectOutput& o) { o << std::int32_t(-2); }), {0xFE, 0xFF, 0xFF, 0xFF}},
        {"bools and char", serialise(16, [](ObjectOutput& o) { o << true << false << 'x'; }), {1, 0, 'x'}},
        {"double 100.0", serialise(16, [](ObjectOutput& o) { o << 100.0; }), {0, 0, 0, 0, 0, 0, 0x59, 0x40}},
        {"vector of ints", serialise(16, [](ObjectOutput& o) { o << std::vector<std::int32_t>{7, 0x01020304}; }),
         {2, 0, 0, 0, 7, 0, 0, 0, 4, 3, 2, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bytes, c.expected) << c.what;
}

TEST(Serialisation, overflowReportsBytesLeftAndTheFailedRequest)
{
    Bytes block(600 + 4 + 300);
    struct Case {
        const char* what;
        std::size_t size;
        std::pair<int, int> expected;
        void (*request)(ObjectOutput&);
    };
    const Case cases[] = {
        {"second int in 4 bytes", 4, {0, 4}, [](ObjectOutput& o) { o << 1 << 2; }},
        {"double after an int in 6 bytes", 6, {2, 8}, [](ObjectOutput& o) { o << 1 << 2.0; }},
        // 600 bytes move as 256 + 344: the first piece fits, the second does not.
        {"600-byte string with 300 left", 304, {44, 344},
         [](ObjectOutput& o) { o << std::string(600, 'x'); }},
        // 500 bytes move in one piece.
        {"500-byte string with 300 left", 304, {300, 500},
         [](ObjectOutput& o) { o << std::string(500, 'x'); }},
    };
    for (const auto& c : cases) {
        mem_buffer buffer(block.data(), c.size);
        RawFormat format(buffer);
        ObjectOutput out(format);
        EXPECT_EQ(overflowOf([&] { c.request(out); }), c.expected) << c.what;
    }
}

TEST(Serialisation, overflowIsAStandardOverflowError)
{
    unsigned char byte = 0;
    mem_buffer buffer(&byte, 1);
    EXPECT_THROW(buffer.require(2), std::overflow_error);
}

TEST(Serialisation, everythingWrittenReadsBack)
{
    const std::wstring heading = L"Kurs \u00e9\u4e2d \U0001F600 end";
    const std::wstring loneSurrogate(1, static_cast<wchar_t>(0xDC01));
    const std::vector<std::string> legends{"", "a", std::string(700, 'z'), "\xc3\xa9"};
    Bytes bytes = serialise(4096, [&](ObjectOutput& o) {
        o << true << 'q' << std::int32_t(-123456) << std::uint32_t(0xFFFFFFFF) << -0.1 << heading << loneSurrogate
          << legends;
    });

    bool flag = false;
    char letter = 0;
    std::int32_t number = 0;
    std::uint32_t unsignedNumber = 0;
    double value = 0;
    std::wstring headingBack, surrogateBack;
    std::vector<std::string> legendsBack{"old"};
    deserialise(bytes, [&](ObjectInput& in) {
        in >> flag >> letter >> number >> unsignedNumber >> value >> headingBack >> surrogateBack >> legendsBack;
        EXPECT_EQ(in.format().buffer().left(), 0u);
    });
    EXPECT_TRUE(flag);
    EXPECT_EQ(letter, 'q');
    EXPECT_EQ(number, -123456);
    EXPECT_EQ(unsignedNumber, 0xFFFFFFFFu);
    EXPECT_EQ(value, -0.1);
    EXPECT_EQ(headingBack, heading);
    EXPECT_EQ(surrogateBack, loneSurrogate);
    EXPECT_EQ(legendsBack, legends);
}

TEST(Serialisation, vectorOfCountZeroEmptiesTheTarget)
{
    std::vector<std::int32_t> icons{1, 2, 3};
    deserialise({0, 0, 0, 0}, [&](ObjectInput& in) { in >> icons; });
    EXPECT_TRUE(icons.empty());
    std::vector<std::int32_t> negative{1};
    deserialise({0xFF, 0xFF, 0xFF, 0xFF}, [&](ObjectInput& in) { in >> negative; });
    EXPECT_TRUE(negative.empty());
}

TEST(Serialisation, damagedLengthsFailBeforeAnythingIsAllocated)
{
    struct Case {
        const char* what;
        Bytes bytes;
        std::pair<int, int> expected;
    };
    // Lengths far beyond the bytes left (up to 2 GiB) must fail at once with
    // the figures of the piece that would not fit; a negative one fails too.
    const Case cases[] = {
        {"string of 0x7FFFFFFF bytes", {0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'}, {2, 256}},
        {"string of 10 bytes with 2 left", {10, 0, 0, 0, 'a', 'b'}, {2, 10}},
        {"negative length", {0xFE, 0xFF, 0xFF, 0xFF, 'a', 'b'}, {2, -2}},
    };
    for (const auto& c : cases) {
        std::string narrow = "kept";
        EXPECT_EQ(overflowOf([&] { deserialise(c.bytes, [&](ObjectInput& in) { in >> narrow; }); }), c.expected)
            << c.what;
        EXPECT_EQ(narrow, "kept") << c.what;
        std::wstring wide = L"kept";
        EXPECT_EQ(overflowOf([&] { deserialise(c.bytes, [&](ObjectInput& in) { in >> wide; }); }), c.expected)
            << c.what;
        EXPECT_EQ(wide, L"kept") << c.what;
    }
}

TEST(Serialisation, oddWideByteCountReadsWholeUnitsAndConsumesEveryByte)
{
    std::wstring text;
    std::size_t left = 99;
    deserialise({5, 0, 0, 0, 'a', 0, 'b', 0, 'c', 7}, [&](ObjectInput& in) {
        in >> text;
        left = in.format().buffer().left();
    });
    EXPECT_EQ(text, L"ab");
    EXPECT_EQ(left, 1u);
}

} // namespace
