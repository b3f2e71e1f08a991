#include "platform/ResourceTables.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(ResourceTables, tablesAreFoundByIdAndReplaced)
{
    ResourceTables::clear();
    MenuResource menu{128, {{"&File", 0, 0, {{"&Open...", 57601, 0, {}}, MenuItemResource::separator(), {"E&xit", 57665, 0, {}}}}}};
    ASSERT_TRUE(ResourceTables::addMenu(menu));
    ASSERT_NE(ResourceTables::findMenu(128), nullptr);
    EXPECT_TRUE(ResourceTables::findMenu(128)->items[0].isPopup());
    EXPECT_TRUE(ResourceTables::findMenu(128)->items[0].popup[1].isSeparator());
    EXPECT_EQ(ResourceTables::findMenu(129), nullptr);
    EXPECT_FALSE(ResourceTables::addMenu(MenuResource{}));

    ASSERT_TRUE(ResourceTables::addAccelerators({128, {{FVIRTKEY | FCONTROL, 'O', 57601}}}));
    ASSERT_TRUE(ResourceTables::addAccelerators({128, {{FVIRTKEY, 0x70, 57667}}}));
    ASSERT_EQ(ResourceTables::findAccelerators(128)->entries.size(), 1u);
    EXPECT_EQ(ResourceTables::findAccelerators(128)->entries[0].command, 57667);

    ResourceTables::addStrings({{61446, "Ready"}, {61447, "Kova CPR Software"}});
    EXPECT_EQ(ResourceTables::loadString(61446), "Ready");
    EXPECT_FALSE(ResourceTables::loadString(1).has_value());
    EXPECT_FALSE(ResourceTables::addString(0, "none"));
    ResourceTables::clear();
    EXPECT_EQ(ResourceTables::findMenu(128), nullptr);
}

} // namespace
