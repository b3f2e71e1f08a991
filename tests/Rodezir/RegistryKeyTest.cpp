#include "Rodezir/ArchiveCodec.h"
#include "Rodezir/RegistryKey.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <list>

namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
using Bytes = std::vector<unsigned char>;

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};
struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

Bytes withText(Bytes head, const std::string& text)
{
    head.insert(head.end(), text.begin(), text.end());
    return head;
}

class RegistryKeyTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    platform::RegistryStore store{dir.path()};
    RegistryKey key{store};

    void SetUp() override { ASSERT_TRUE(key.create(HKEY_CURRENT_USER, "Software\\KOVA\\Test")); }

    Bytes stored(const std::string& name)
    {
        RegistryValue value;
        EXPECT_EQ(store.queryValue(RegistryRoot::User, "Software\\KOVA\\Test", name, value), platform::ERROR_SUCCESS);
        EXPECT_EQ(value.type, platform::REG_BINARY);
        return value.data;
    }
    void storeRaw(const std::string& name, const Bytes& bytes, std::uint32_t type = platform::REG_BINARY)
    {
        ASSERT_EQ(store.setValue(RegistryRoot::User, "Software\\KOVA\\Test", name, {type, bytes}), platform::ERROR_SUCCESS);
    }
};

TEST_F(RegistryKeyTest, rectanglesAndPointsAreFiveDwordArrays)
{
    const Rect rect{-10, 20, 300, 400};
    ASSERT_TRUE(key.setRect("Window", rect));
    EXPECT_EQ(key.lastType(), platform::REG_BINARY);
    EXPECT_EQ(key.lastSize(), 22u);
    EXPECT_EQ(stored("Window"), (Bytes{5, 0, 20, 0, 0, 0, 0x90, 1, 0, 0, 0xF6, 0xFF, 0xFF, 0xFF, 0x2C, 1, 0, 0, 0, 0, 0, 0}))
        << "count 5, then top, bottom, left, right, 0";
    Rect back;
    ASSERT_TRUE(key.getRect("Window", back));
    EXPECT_EQ(back, rect);

    ASSERT_TRUE(key.setPoint("Corner", Point{7, -8}));
    EXPECT_EQ(stored("Corner"), (Bytes{5, 0, 7, 0, 0, 0, 0xF8, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Point point;
    ASSERT_TRUE(key.getPoint("Corner", point));
    EXPECT_EQ(point, (Point{7, -8}));

    storeRaw("TooLong", Bytes(31, 0));
    Rect untouched{1, 2, 3, 4};
    EXPECT_FALSE(key.getRect("TooLong", untouched));
    EXPECT_EQ(key.lastResult(), platform::ERROR_MORE_DATA);
    EXPECT_EQ(untouched, (Rect{1, 2, 3, 4}));
}

TEST_F(RegistryKeyTest, collectionsRoundTripByteForByte)
{
    const std::string longText(300, 'x');
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"bytes", {3, 0, 1, 2, 0xFF}},
        {"words", {2, 0, 0x34, 0x12, 0xFF, 0xFF}},
        {"dwords", {1, 0, 0x78, 0x56, 0x34, 0x12}},
        {"strings", withText({2, 0, 2, 'a', 'b', 0xFF, 0x2C, 0x01}, longText)},
        {"list", {3, 0, 1, 'x', 0, 2, 0xC3, 0xA9}},
        {"empty", {0, 0}},
    };
    for (const Case& c : cases)
        storeRaw(c.name, c.bytes);

    std::vector<std::uint8_t> bytes(3);
    std::vector<std::uint16_t> words(2);
    std::vector<std::uint32_t> dwords(1);
    std::vector<std::string> strings(2);
    std::list<std::string> list{"old"};
    std::vector<std::uint32_t> empty;
    ASSERT_TRUE(key.getObject("bytes", bytes));
    ASSERT_TRUE(key.getObject("words", words));
    ASSERT_TRUE(key.getObject("dwords", dwords));
    ASSERT_TRUE(key.getObject("strings", strings));
    ASSERT_TRUE(key.getObject("list", list));
    ASSERT_TRUE(key.getObject("empty", empty));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 0xFF}));
    EXPECT_EQ(words, (std::vector<std::uint16_t>{0x1234, 0xFFFF}));
    EXPECT_EQ(dwords, (std::vector<std::uint32_t>{0x12345678}));
    EXPECT_EQ(strings, (std::vector<std::string>{"ab", longText}));
    EXPECT_EQ(list, (std::list<std::string>{"x", "", "\xc3\xa9"}));

    ASSERT_TRUE(key.setObject("bytes again", bytes));
    ASSERT_TRUE(key.setObject("words again", words));
    ASSERT_TRUE(key.setObject("dwords again", dwords));
    ASSERT_TRUE(key.setObject("strings again", strings));
    ASSERT_TRUE(key.setObject("list again", list));
    ASSERT_TRUE(key.setObject("empty again", empty));
    for (const Case& c : cases)
        EXPECT_EQ(stored(std::string(c.name) + " again"), c.bytes) << c.name;
}

TEST_F(RegistryKeyTest, anArrayKeepsItsLengthWhateverWasStored)
{
    ASSERT_TRUE(key.setObject("five", std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    std::vector<std::uint32_t> three(3, 9);
    ASSERT_TRUE(key.getObject("five", three));
    EXPECT_EQ(three, (std::vector<std::uint32_t>{1, 2, 3}));
    std::vector<std::string> four(4, "old");
    ASSERT_TRUE(key.setObject("two", std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(key.getObject("two", four));
    EXPECT_EQ(four, (std::vector<std::string>{"a", "b", "", ""}));
}

TEST_F(RegistryKeyTest, readersThatFailLeaveTheirOutputAlone)
{
    const std::string fits(198, 's');
    const std::string tooLong(199, 's');
    ASSERT_TRUE(key.setString("fits", fits));
    EXPECT_EQ(key.lastSize(), 199u);
    ASSERT_TRUE(key.setString("tooLong", tooLong));
    std::string text = "unchanged";
    ASSERT_TRUE(key.getString("fits", text));
    EXPECT_EQ(text, fits);
    text = "unchanged";
    EXPECT_FALSE(key.getString("tooLong", text)) << "200 bytes with the terminator do not fit";
    EXPECT_EQ(key.lastResult(), platform::ERROR_MORE_DATA);
    EXPECT_EQ(key.lastSize(), 200u);
    EXPECT_EQ(text, "unchanged");

    std::uint32_t dword = 42;
    EXPECT_FALSE(key.getDword("missing", dword));
    EXPECT_EQ(key.lastResult(), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.getDword("fits", dword));
    EXPECT_EQ(dword, 42u);

    std::vector<std::uint8_t> bytes{7};
    storeRaw("damaged", {5, 0, 1, 2});
    EXPECT_FALSE(key.getObject("damaged", bytes)) << "a count beyond the bytes stored";
    EXPECT_EQ(key.lastResult(), platform::ERROR_INVALID_DATA);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{7}));
    ASSERT_TRUE(key.getObject("fits", bytes)) << "a value of another type loads nothing but is no failure";
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{7}));
    storeRaw("big", Bytes(4097, 0));
    EXPECT_FALSE(key.getObject("big", bytes));
    EXPECT_EQ(key.lastResult(), platform::ERROR_MORE_DATA);
}

TEST_F(RegistryKeyTest, keysOpenCloseAndDelete)
{
    ASSERT_TRUE(key.setDword("Patch level", 3));
    EXPECT_EQ(key.lastType(), platform::REG_DWORD);
    EXPECT_EQ(key.lastSize(), 4u);
    EXPECT_EQ(key.setDwordResult("Other", 4), platform::ERROR_SUCCESS);
    EXPECT_EQ(key.lastType(), platform::REG_DWORD);

    RegistryKey reader(store);
    EXPECT_FALSE(reader.open(HKEY_CURRENT_USER, "Software\\KOVA\\Missing"));
    EXPECT_EQ(reader.lastResult(), platform::ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(reader.open(HKEY_CURRENT_USER, "Software\\KOVA"));
    EXPECT_EQ(reader.path(), "Software\\KOVA");
    ASSERT_TRUE(reader.openSubKey("test"));
    std::uint32_t level = 0;
    ASSERT_TRUE(reader.getDword("PATCH LEVEL", level));
    EXPECT_EQ(level, 3u);
    EXPECT_TRUE(reader.valueExists("Other"));
    EXPECT_TRUE(reader.deleteValue("Other"));
    EXPECT_FALSE(reader.valueExists("Other"));
    EXPECT_TRUE(reader.close());
    EXPECT_FALSE(reader.isOpen());
    EXPECT_FALSE(reader.getDword("Patch level", level));
    EXPECT_EQ(reader.lastResult(), platform::ERROR_INVALID_HANDLE);

    EXPECT_FALSE(reader.deleteKey(HKEY_CURRENT_USER, "Software\\KOVA")) << "it has a subkey";
    EXPECT_TRUE(reader.deleteKey(HKEY_CURRENT_USER, "Software\\KOVA\\Test"));
    EXPECT_FALSE(reader.open(HKEY_CURRENT_USER, "Software\\KOVA\\Test"));

    RegistryKey machine(store);
    EXPECT_FALSE(machine.create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kova"));
    EXPECT_EQ(machine.lastResult(), platform::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(machine.open(nullptr, "x"));
    EXPECT_EQ(machine.lastResult(), platform::ERROR_INVALID_HANDLE);
}

TEST(ArchiveCodec, countsAndLengthsBeyondTheShortForms)
{
    const Bytes big = archive::encode(std::vector<std::uint8_t>(70000, 1));
    ASSERT_EQ(big.size(), 6u + 70000u);
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 6), (Bytes{0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(archive::decode(big.data(), big.size(), back));
    EXPECT_EQ(back.size(), 70000u);

    const Bytes huge = archive::encode(std::vector<std::string>{std::string(70000, 'z')});
    EXPECT_EQ(Bytes(huge.begin(), huge.begin() + 9), (Bytes{1, 0, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
    std::vector<std::string> strings;
    ASSERT_TRUE(archive::decode(huge.data(), huge.size(), strings));
    EXPECT_EQ(strings, (std::vector<std::string>{std::string(70000, 'z')}));

    const Bytes wide{1, 0, 0xFF, 0xFE, 0xFF, 2, 'a', 0, 0xAC, 0x20};
    ASSERT_TRUE(archive::decode(wide.data(), wide.size(), strings));
    EXPECT_EQ(strings, (std::vector<std::string>{"a\xe2\x82\xac"})) << "UTF-16 strings arrive as UTF-8";

    const Bytes lies[] = {
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3},  // a count of four thousand million
        {1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, // a string longer than the value
        {1, 0, 0xFF, 0xFE, 0xFF, 0xFF, 0xFE},           // two wide markers
        {1},
    };
    for (const Bytes& lie : lies) {
        std::vector<std::string> keep{"keep"};
        EXPECT_FALSE(archive::decode(lie.data(), lie.size(), keep));
        EXPECT_EQ(keep, (std::vector<std::string>{"keep"}));
    }
    std::vector<std::uint32_t> dwords{1};
    EXPECT_FALSE(archive::decode(lies[0].data(), lies[0].size(), dwords));
    EXPECT_EQ(dwords, (std::vector<std::uint32_t>{1}));
}

} // namespace
