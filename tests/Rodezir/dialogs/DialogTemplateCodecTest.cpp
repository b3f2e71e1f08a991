#include "Rodezir/dialogs/DialogTemplateCodec.h"

#include <gtest/gtest.h>

namespace {

using namespace kova;

DialogTable sampleTable()
{
    DialogTable table;
    table.caption = L"\u00A4Persons \U0001F600";
    table.style = WS_POPUP | WS_CAPTION | DS_SETFONT | DS_MODALFRAME;
    table.exStyle = 0x10;
    table.helpId = 77;
    table.fontFace = L"Tahoma";
    table.pointSize = 9;
    table.weight = 700;
    table.italic = 1;
    table.charset = 204;
    table.x = -3;
    table.y = 5;
    table.cx = 220;
    table.cy = 140;
    table.menu = TemplateName::number(128);
    table.controls = {
        label(L"\u00A4Name:", IDC_STATIC, 7, 7, 40, 8),
        editText(1001, 50, 5, 100, 12),
        control(L"", 1002, L"SysListView32", LVS_REPORT | WS_BORDER, 7, 20, 200, 90),
        control(L"", 1003, L"STATIC", SS_BITMAP, 7, 115, 20, 20),
        defPushButton(L"\u00A4OK", IDOK, 110, 120, 50, 14),
        pushButton(L"\u00A4Help", 32800, 165, 120, 50, 14),
    };
    table.controls[3].text = TemplateName::number(140);
    table.controls[1].creationData = {1, 2, 3};
    return table;
}

DialogTable decoded(const DialogTable& table, bool extended)
{
    const auto bytes = DialogTemplateCodec::encode(table, extended);
    const auto result = DialogTemplateCodec::decode(bytes.data(), bytes.size());
    EXPECT_TRUE(result.has_value());
    return result.value_or(DialogTable{});
}

TEST(DialogTemplateCodec, extendedFormKeepsEveryField)
{
    const DialogTable table = sampleTable();
    EXPECT_EQ(decoded(table, true), table);
}

TEST(DialogTemplateCodec, classicFormKeepsWhatItCanHold)
{
    DialogTable table = sampleTable();
    const DialogTable back = decoded(table, false);
    // The classic form has no help ids, weight, italic or charset.
    table.helpId = 0;
    table.weight = table.italic = table.charset = 0;
    EXPECT_EQ(back, table);
}

TEST(DialogTemplateCodec, predefinedClassesAreWrittenAsOrdinals)
{
    DialogTable table;
    table.style = WS_POPUP;
    table.controls = {pushButton(L"A", 5, 0, 0, 10, 10)};
    const auto bytes = DialogTemplateCodec::encode(table, false);
    // Classic header 18 bytes, three empty names (menu, class, caption) to 24, then the item:
    // style, exStyle, x, y, cx, cy, id (18 bytes) and the class ordinal 0xFFFF 0x0080.
    ASSERT_GE(bytes.size(), 46u);
    EXPECT_EQ(bytes[42], 0xFF);
    EXPECT_EQ(bytes[43], 0xFF);
    EXPECT_EQ(bytes[44], 0x80);
    EXPECT_EQ(bytes[45], 0x00);
}

TEST(DialogTemplateCodec, everyCutShortTemplateIsRefused)
{
    for (bool extended : {true, false}) {
        const auto bytes = DialogTemplateCodec::encode(sampleTable(), extended);
        for (std::size_t size = 0; size < bytes.size(); ++size)
            EXPECT_FALSE(DialogTemplateCodec::decode(bytes.data(), size).has_value()) << size << " bytes";
        EXPECT_TRUE(DialogTemplateCodec::decode(bytes.data(), bytes.size()).has_value());
    }
}

TEST(DialogTemplateCodec, itemCountBeyondTheBytesIsRefusedBeforeReserving)
{
    auto bytes = DialogTemplateCodec::encode(sampleTable(), true);
    bytes[16] = 0xFF;
    bytes[17] = 0xFF;
    EXPECT_FALSE(DialogTemplateCodec::decode(bytes.data(), bytes.size()).has_value());
}

} // namespace
