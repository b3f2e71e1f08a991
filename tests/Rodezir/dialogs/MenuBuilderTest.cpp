#include "Rodezir/dialogs/MenuBuilder.h"
#include "gettext/Gettext.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

using namespace kova;
using namespace platform;

TEST(MenuBuilder, menusAreBuiltTranslatedAndReportTheirCommands)
{
    ASSERT_TRUE(Gettext::instance().setCatalog(KOVA_DIALOGS_CATALOG));
    const MenuResource menu{128,
                            {{"\xC2\xA4Persons", 0, 0,
                              {{"Instructor", 301, MF_CHECKED, {}},
                               MenuItemResource::separator(),
                               {"Not in the catalog", 302, MF_GRAYED, {}},
                               {"Help", 0, 0, {{"Trainee", 303, 0, {}}}}}}}};
    QMainWindow window;
    std::vector<int> commands;
    ASSERT_TRUE(MenuBuilder::buildMenuBar(window.menuBar(), menu, [&](int command) { commands.push_back(command); }));
    Gettext::instance().setCatalog("");

    const auto popups = window.menuBar()->actions();
    ASSERT_EQ(popups.size(), 1);
    EXPECT_EQ(popups[0]->text(), "Personer");
    QAction* instructor = MenuBuilder::findCommand(&window, 301);
    ASSERT_NE(instructor, nullptr);
    EXPECT_EQ(instructor->text(), QString::fromUtf8("Instruktør"));
    EXPECT_TRUE(instructor->isChecked());
    EXPECT_FALSE(MenuBuilder::findCommand(&window, 302)->isEnabled());
    EXPECT_EQ(MenuBuilder::findCommand(&window, 302)->text(), "Not in the catalog");
    EXPECT_EQ(MenuBuilder::findCommand(&window, 999), nullptr);

    MenuBuilder::findCommand(&window, 303)->trigger();
    instructor->trigger();
    EXPECT_EQ(commands, (std::vector<int>{303, 301}));
}

TEST(MenuBuilder, acceleratorKeysAndShortcuts)
{
    const struct {
        AcceleratorEntry entry;
        QKeySequence keys;
    } cases[] = {
        {{FVIRTKEY | FCONTROL, 'O', 1}, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {{FVIRTKEY, 0x70, 2}, QKeySequence(Qt::Key_F1)},
        {{FVIRTKEY | FSHIFT, 0x2E, 3}, QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
        {{FVIRTKEY | FALT | FCONTROL, 0x7B, 4}, QKeySequence(Qt::ALT | Qt::CTRL | Qt::Key_F12)},
        {{0, 'n', 5}, QKeySequence(Qt::Key_N)},
        {{0, 0x13, 6}, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {{FVIRTKEY, 0xE5, 7}, QKeySequence()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MenuBuilder::keySequence(c.entry), c.keys) << c.entry.command;

    QMainWindow window;
    std::vector<int> commands;
    AcceleratorTable table{128, {}};
    for (const auto& c : cases)
        table.entries.push_back(c.entry);
    EXPECT_EQ(MenuBuilder::installAccelerators(&window, table, [&](int command) { commands.push_back(command); }), 6);
    window.show();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F1);
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(commands, (std::vector<int>{2, 1}));
}

} // namespace
