#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTemplate.h"
#include "Rodezir/dialogs/DialogTemplateCodec.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kova;

DialogTable tableWith(const std::wstring& caption, bool font)
{
    DialogTable table;
    table.caption = caption;
    table.style = WS_POPUP | WS_CAPTION | (font ? DS_SETFONT : 0);
    table.fontFace = L"MS Sans Serif";
    table.pointSize = 8;
    table.cx = 200;
    table.cy = 100;
    table.controls = {label(L"\u00A4Name:", IDC_STATIC, 7, 7, 40, 8), editText(1001, 50, 5, 100, 12),
                      pushButton(L"\u00A4OK", IDOK, 140, 80, 50, 14)};
    return table;
}

DialogTable decode(const DialogTemplate& dialogTemplate)
{
    const auto table = DialogTemplateCodec::decode(dialogTemplate.data(), dialogTemplate.size());
    EXPECT_TRUE(table.has_value());
    return table.value_or(DialogTable{});
}

// Where the first item starts: the header's end taken up to a multiple of 4.
std::size_t firstItemOffset(const DialogTable& table, bool extended)
{
    DialogTable header = table;
    header.controls.clear();
    return (DialogTemplateCodec::encode(header, extended).size() + 3) & ~std::size_t{3};
}

class DialogTemplateTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    void TearDown() override { LogStream::destroy(); }
};

TEST_F(DialogTemplateTest, withoutFontAnswersSystemUnitsAndNoFace)
{
    for (bool extended : {true, false}) {
        DialogTemplate dialogTemplate(tableWith(L"Persons", false), extended);
        EXPECT_FALSE(dialogTemplate.hasFont());
        EXPECT_EQ(dialogTemplate.getFont().face, "");
        EXPECT_EQ(dialogTemplate.getFont().pointSize, -1);
        EXPECT_EQ(dialogTemplate.getBaseUnits(), DialogTemplate::systemBaseUnits());
        EXPECT_FALSE(dialogTemplate.setPointSize(10));
    }
}

TEST_F(DialogTemplateTest, setFontInsertsBlockAndMovesItemsToNextBoundary)
{
    // Captions of 0 to 3 characters put the header end at every position
    // modulo 4, so the items move by every possible amount.
    for (bool extended : {true, false}) {
        for (const std::wstring caption : {L"", L"A", L"AB", L"ABC"}) {
            SCOPED_TRACE(testing::Message() << "extended " << extended << " caption length " << caption.size());
            const DialogTable table = tableWith(caption, false);
            DialogTemplate dialogTemplate(table, extended);
            ASSERT_TRUE(dialogTemplate.setFont("Tahoma", 9));

            EXPECT_TRUE(dialogTemplate.getStyle() & DS_SETFONT);
            EXPECT_EQ(dialogTemplate.getFont().face, "Tahoma");
            EXPECT_EQ(dialogTemplate.getFont().pointSize, 9);
            EXPECT_EQ(dialogTemplate.getCaption(), caption);
            DialogTable withFont = table;
            withFont.style |= DS_SETFONT;
            withFont.fontFace = L"Tahoma";
            withFont.pointSize = 9;
            EXPECT_EQ(dialogTemplate.size(), DialogTemplateCodec::encode(withFont, extended).size());
            EXPECT_EQ(decode(dialogTemplate).controls, table.controls);
            // The first item (a STATIC with IDC_STATIC) starts on the new boundary.
            const std::size_t first = firstItemOffset(withFont, extended);
            const auto expected = DialogTemplateCodec::encode(withFont, extended);
            EXPECT_TRUE(std::equal(expected.begin() + static_cast<long>(first), expected.end(),
                                   dialogTemplate.data() + first));
        }
    }
}

TEST_F(DialogTemplateTest, setFontOnExtendedTemplateKeepsWeightItalicAndCharset)
{
    DialogTable table = tableWith(L"Persons", true);
    table.weight = 700;
    table.italic = 1;
    table.charset = 204;
    DialogTemplate dialogTemplate(table, true);
    ASSERT_TRUE(dialogTemplate.setFont("Times New Roman", 12));
    const DialogTable back = decode(dialogTemplate);
    EXPECT_EQ(back.fontFace, L"Times New Roman");
    EXPECT_EQ(back.pointSize, 12);
    EXPECT_EQ(back.weight, 700);
    EXPECT_EQ(back.italic, 1);
    EXPECT_EQ(back.charset, 204);
    EXPECT_EQ(back.controls, table.controls);

    // A shorter face moves the items back, still intact.
    ASSERT_TRUE(dialogTemplate.setFont("Arial", 8));
    EXPECT_EQ(decode(dialogTemplate).controls, table.controls);
    EXPECT_EQ(decode(dialogTemplate).weight, 700);
}

TEST_F(DialogTemplateTest, faceNamesBeyondThirtyOneUnitsAreRefused)
{
    DialogTemplate dialogTemplate(tableWith(L"Persons", true), true);
    const std::vector<std::uint8_t> before(dialogTemplate.data(), dialogTemplate.data() + dialogTemplate.size());
    EXPECT_FALSE(dialogTemplate.setFont(std::string(32, 'F'), 9));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), dialogTemplate.data()));
    EXPECT_TRUE(dialogTemplate.setFont(std::string(31, 'F'), 9));
}

TEST_F(DialogTemplateTest, captionGrowthIsLimited)
{
    DialogTemplate dialogTemplate(tableWith(L"Persons", true), true);
    const std::vector<std::uint8_t> before(dialogTemplate.data(), dialogTemplate.data() + dialogTemplate.size());
    EXPECT_FALSE(dialogTemplate.setCaption(L"Persons" + std::wstring(300, L'x')));
    EXPECT_EQ(dialogTemplate.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), dialogTemplate.data()));
    EXPECT_TRUE(dialogTemplate.setCaption(L"Persons" + std::wstring(256, L'x')));
}

TEST_F(DialogTemplateTest, captionChangesKeepFontAndItems)
{
    for (bool extended : {true, false}) {
        const DialogTable table = tableWith(L"\u00A4Edit persons", true);
        for (const std::wstring caption : {L"P", L"\u00A4Edit persons and courses", L"\u00A4Edit person!"}) {
            DialogTemplate dialogTemplate(table, extended);
            ASSERT_TRUE(dialogTemplate.setCaption(caption));
            const DialogTable back = decode(dialogTemplate);
            EXPECT_EQ(back.caption, caption);
            EXPECT_EQ(back.fontFace, L"MS Sans Serif");
            EXPECT_EQ(back.pointSize, 8);
            EXPECT_EQ(back.controls, table.controls);
        }
    }
}

TEST_F(DialogTemplateTest, repeatedGrowthNeverRunsPastTheSpareRoom)
{
    DialogTemplate dialogTemplate(tableWith(L"", true), true);
    ASSERT_TRUE(dialogTemplate.setCaption(std::wstring(255, L'a')));
    // Each step is within the 256-unit limit, but the room behind the
    // template is spent: the second step is refused instead of overrunning it.
    EXPECT_FALSE(dialogTemplate.setCaption(std::wstring(510, L'b')));
    EXPECT_EQ(dialogTemplate.getCaption(), std::wstring(255, L'a'));
    ASSERT_TRUE(dialogTemplate.setFont(std::string(31, 'F'), 9));
    EXPECT_FALSE(dialogTemplate.setCaption(std::wstring(300, L'c')));
    EXPECT_EQ(decode(dialogTemplate).controls, tableWith(L"", true).controls);

    // A copy gets fresh room.
    DialogTemplate copy(dialogTemplate);
    EXPECT_TRUE(copy.setCaption(std::wstring(510, L'b')));
    EXPECT_EQ(decode(copy).controls, tableWith(L"", true).controls);
}

TEST_F(DialogTemplateTest, positionAndSizeAreSignExtended)
{
    for (bool extended : {true, false}) {
        DialogTemplate dialogTemplate(tableWith(L"Persons", true), extended);
        dialogTemplate.setPosition({-5, 40000});
        dialogTemplate.setSize({-1, 300});
        EXPECT_EQ(dialogTemplate.getPosition(), (POINT{-5, 40000 - 65536}));
        EXPECT_EQ(dialogTemplate.getSize(), (SIZE{-1, 300}));
        dialogTemplate.setStyle(WS_POPUP | DS_CENTER);
        EXPECT_EQ(dialogTemplate.getStyle(), WS_POPUP | DS_CENTER | DS_SETFONT);
        EXPECT_EQ(decode(dialogTemplate).controls.size(), 3u);
    }
}

TEST_F(DialogTemplateTest, emptyTemplateAnswersItsEmptyValues)
{
    DialogTemplate empty;
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_FALSE(empty.hasFont());
    EXPECT_EQ(empty.getStyle(), 0u);
    EXPECT_EQ(empty.getPosition(), (POINT{-1, -1}));
    EXPECT_EQ(empty.getSize(), (SIZE{-1, -1}));
    EXPECT_EQ(empty.getCaption(), L"");
    EXPECT_EQ(empty.getFont().pointSize, -1);
    EXPECT_FALSE(empty.setFont("Arial", 8));
    EXPECT_FALSE(empty.setCaption(L"x"));
    EXPECT_EQ(empty.getBaseUnits(), (SIZE{-1, -1}));
    EXPECT_EQ(empty.toPixels(SIZE{4, 8}), (SIZE{-1, -1}));
    EXPECT_EQ(empty.toDialogUnits(SIZE{4, 8}), (SIZE{-1, -1}));
    empty.setStyle(1);
    EXPECT_EQ(empty.size(), 0u);

    DialogTemplate copy(empty);
    EXPECT_EQ(copy.size(), 0u);
    EXPECT_FALSE(DialogTemplate(424242).size());
    const std::uint8_t garbage[] = {1, 2, 3};
    EXPECT_FALSE(copy.assign(garbage, sizeof garbage));
    EXPECT_EQ(copy.size(), 0u);
}

TEST_F(DialogTemplateTest, baseUnitsFollowTheTemplateFont)
{
    DialogTemplate small(tableWith(L"Persons", true), true);
    const SIZE base = small.getBaseUnits();
    EXPECT_GT(base.cx, 3);
    EXPECT_GT(base.cy, 8);
    EXPECT_EQ(small.toPixels(SIZE{4, 8}), base);
    EXPECT_EQ(small.toDialogUnits(base), (SIZE{4, 8}));

    DialogTemplate large(small);
    ASSERT_TRUE(large.setPointSize(16));
    EXPECT_GT(large.getBaseUnits().cx, base.cx);
    EXPECT_GT(large.getBaseUnits().cy, base.cy);
    // Assignment copies, and assigning a template to itself keeps it.
    small = large;
    small = *&small;
    EXPECT_EQ(small.getBaseUnits(), large.getBaseUnits());
}

TEST_F(DialogTemplateTest, loadsRegisteredDialogsById)
{
    DialogTable table = tableWith(L"Registered", true);
    table.id = 31001;
    ASSERT_TRUE(DialogRegistry::add(table));
    const DialogTemplate dialogTemplate(31001);
    EXPECT_TRUE(dialogTemplate.isExtended());
    EXPECT_EQ(dialogTemplate.getCaption(), L"Registered");
    DialogTemplate other;
    EXPECT_FALSE(other.load("no-such-dialog"));
    EXPECT_TRUE(other.load(31001));
    EXPECT_TRUE(DialogRegistry::remove(31001));
    EXPECT_FALSE(DialogRegistry::add(DialogTable{}));
}

} // namespace
