#include "app/shell/GetTextMenu.h"
#include "app/shell/MenuTemplate.h"

#include "FreshErrorLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

using kovatest::errorLog;

Bytes tail(const Bytes& bytes, std::size_t count) { return {bytes.end() - static_cast<long>(count), bytes.end()}; }

} // namespace

TEST(GetTextMenu, writesThePopupAndItsItemAsTemplateBytes)
{
    GetTextMenu menu;
    menu.addItem("&File", 0, true);
    menu.addItem("E&xit", 57665, false);
    menu.endPopup();
    const auto built = menu.createMenu();

    const Bytes expected{0x00, 0x00, 0x00, 0x00,                                     // header
                         0x90, 0x00, 0x26, 0x00, 0x46, 0x00, 0x69, 0x00, 0x6C, 0x00, // pop-up, last: "&Fil"
                         0x65, 0x00, 0x00, 0x00,                                     // "e"
                         0x80, 0x00, 0x41, 0xE1, 0x45, 0x00, 0x26, 0x00, 0x78, 0x00, // item, last, 57665: "E&x"
                         0x69, 0x00, 0x74, 0x00, 0x00, 0x00};                        // "it"
    EXPECT_EQ(menu.templateBytes(), expected);

    ASSERT_TRUE(built);
    ASSERT_EQ(built->items.size(), 1u);
    const auto& file = built->items[0];
    EXPECT_EQ(file.text, "&File");
    ASSERT_EQ(file.popup.size(), 1u);
    EXPECT_EQ(file.popup[0].text, "E&xit");
    EXPECT_EQ(file.popup[0].id, 57665);
    EXPECT_EQ(file.popup[0].flags, 0u);
}

TEST(GetTextMenu, separatorsAndNestedPopupsReadBack)
{
    kovatest::startFreshErrorLog();
    GetTextMenu menu;
    menu.addItem("&File", 0, true);
    menu.addItem("&New session...", 32779, false);
    menu.addSeparator();
    menu.addItem("&Recent", 0, true);
    menu.addItem("Anna", 40001, false);
    menu.endPopup();
    menu.addSeparator();
    menu.endPopup();
    menu.addItem("&Help", 0, true);
    menu.addItem("&About...", 57664, false);
    menu.endPopup();
    const auto built = menu.createMenu();

    // A separator that ends its pop-up: option MF_END, id 0, empty text.
    GetTextMenu last;
    last.addItem("&File", 0, true);
    last.addSeparator();
    last.endPopup();
    EXPECT_EQ(tail(last.templateBytes(), 6), (Bytes{0x80, 0x00, 0x00, 0x00, 0x00, 0x00}));

    ASSERT_TRUE(built);
    ASSERT_EQ(built->items.size(), 2u);
    const auto& file = built->items[0].popup;
    ASSERT_EQ(file.size(), 4u);
    EXPECT_EQ(file[0].id, 32779);
    EXPECT_TRUE(file[1].isSeparator());
    ASSERT_TRUE(file[2].isPopup());
    EXPECT_EQ(file[2].text, "&Recent");
    ASSERT_EQ(file[2].popup.size(), 1u);
    EXPECT_EQ(file[2].popup[0].id, 40001);
    EXPECT_TRUE(file[3].isSeparator());
    EXPECT_EQ(built->items[1].text, "&Help");
    EXPECT_EQ(built->items[1].popup.at(0).id, 57664);
    EXPECT_EQ(errorLog().find("Assert failed"), std::string::npos);
}

// Long translations: the entries no longer fit the first 2048 bytes.
TEST(GetTextMenu, aTemplateBeyondTheFirstBufferStillBuilds)
{
    kovatest::startFreshErrorLog();
    GetTextMenu menu;
    const std::string longText(150, 'x');
    for (int popup = 0; popup < 4; ++popup) {
        menu.addItem("Pop-up " + std::to_string(popup), 0, true);
        for (int item = 0; item < 5; ++item)
            menu.addItem(longText + std::to_string(item), 1000 + popup * 10 + item, false);
        menu.endPopup();
    }
    EXPECT_GT(menu.templateBytes().size(), GetTextMenu::INITIAL_SIZE);
    EXPECT_GE(menu.capacity(), 4 * GetTextMenu::INITIAL_SIZE);
    const auto built = menu.createMenu();
    ASSERT_TRUE(built);
    ASSERT_EQ(built->items.size(), 4u);
    EXPECT_EQ(built->items[3].popup.at(4).id, 1034);
    EXPECT_EQ(built->items[3].popup.at(4).text, longText + "4");
    EXPECT_EQ(errorLog().find("Assert failed"), std::string::npos);
}

TEST(GetTextMenu, aPopupLeftOpenIsReportedAndClosed)
{
    kovatest::startFreshErrorLog();
    GetTextMenu menu;
    menu.addItem("&File", 0, true);
    menu.addItem("E&xit", 57665, false);
    const auto built = menu.createMenu();
    EXPECT_NE(errorLog().find(") : currentItemLevel==0\n"), std::string::npos);
    ASSERT_TRUE(built);
    EXPECT_EQ(built->items.at(0).popup.at(0).id, 57665);
    EXPECT_EQ(menu.level(), 0);
}

TEST(GetTextMenu, anEmptyPopupKeepsTheRestOfTheMenu)
{
    GetTextMenu menu;
    menu.addItem("&Window", 0, true);
    menu.endPopup();
    menu.addItem("&Help", 0, true);
    menu.addItem("&About...", 57664, false);
    menu.endPopup();
    const auto built = menu.createMenu();
    ASSERT_TRUE(built);
    ASSERT_EQ(built->items.size(), 2u);
    EXPECT_EQ(built->items[1].popup.at(0).id, 57664);
}

TEST(GetTextMenu, popupsNestedTooDeepAreRefusedWithoutHarm)
{
    kovatest::startFreshErrorLog();
    GetTextMenu menu;
    for (int level = 0; level < GetTextMenu::MAX_MENU_LEVEL + 2; ++level)
        menu.addItem("Deeper", 0, true);
    menu.addItem("Bottom", 1, false);
    for (int level = 0; level < GetTextMenu::MAX_MENU_LEVEL + 2; ++level)
        menu.endPopup();
    EXPECT_FALSE(menu.createMenu());
    const std::string log = errorLog();
    EXPECT_NE(log.find(") : currentItemLevel<MAX_MENU_LEVEL\n"), std::string::npos);
    EXPECT_NE(log.find(") : hMenu!=0\n"), std::string::npos);
}

TEST(MenuTemplate, damagedBytesAreRefused)
{
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"header only", {0, 0, 0, 0}},
        {"version 1", {1, 0, 0, 0, 0x80, 0, 1, 0, 0x41, 0, 0, 0}},
        {"offset past the end", {0, 0, 0x40, 0, 0x80, 0, 1, 0, 0x41, 0, 0, 0}},
        {"text without its end", {0, 0, 0, 0, 0x80, 0, 1, 0, 0x41, 0}},
        {"id cut", {0, 0, 0, 0, 0x80, 0}},
        {"list without its last entry", {0, 0, 0, 0, 0x00, 0, 1, 0, 0x41, 0, 0, 0}},
        {"pop-up without items", {0, 0, 0, 0, 0x90, 0, 0x41, 0, 0, 0}},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_FALSE(MenuTemplate::read(bytes)) << what;

    // The offset skips bytes between the header and the first entry.
    const Bytes shifted{0, 0, 2, 0, 0xFF, 0xFF, 0x80, 0, 7, 0, 0x41, 0, 0, 0};
    const auto menu = MenuTemplate::read(shifted);
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->items.at(0).id, 7);
    EXPECT_EQ(menu->items.at(0).text, "A");
}
