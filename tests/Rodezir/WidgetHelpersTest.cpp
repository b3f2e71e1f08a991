// Combo-box selection by text, window texts written only when they change,
// replacing a placeholder control, and the start-up choice of the language.
#include "Rodezir/ComboUtil.h"
#include "Rodezir/DialogUtil.h"
#include "Rodezir/InitLanguage.h"
#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "TempDir.h"
#include "gettext/Gettext.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

using namespace kova;

TEST(ComboUtil, dropDownListSelectsTheExactMatchElseTheFirstPrefixMatch)
{
    struct Case {
        QStringList items;
        int before;
        QString text;
        int after;
    };
    const Case cases[] = {
        {{"Ab", "ab"}, -1, "ab", 1},
        {{"Ab", "ab"}, -1, "a", 0},
        {{"Ab", "ab"}, -1, "Ab", 0},
        {{"Basic", "Refresher", "refresher course"}, 0, "refresher course", 2},
        {{"Basic", "Refresher"}, 1, "Instructor", 1}, // no item begins with it: nothing changes
        {{"Basic", "Refresher"}, 1, "", -1},
        {{}, -1, "Basic", -1},
    };
    for (const auto& c : cases) {
        QComboBox combo;
        combo.addItems(c.items);
        combo.setCurrentIndex(c.before);
        ComboUtil::selectString(&combo, c.text);
        EXPECT_EQ(combo.currentIndex(), c.after) << c.text.toStdString();
    }
}

TEST(ComboUtil, editableBoxTakesTheTextAndCopyKeepsTheSelection)
{
    QComboBox editable;
    editable.setEditable(true);
    editable.addItems({"Basic", "Refresher"});
    editable.setCurrentIndex(1);
    EXPECT_FALSE(ComboUtil::isDropDownList(&editable));
    ComboUtil::selectString(&editable, "Night course");
    EXPECT_EQ(editable.currentIndex(), -1);
    EXPECT_EQ(ComboUtil::getText(&editable, false), "Night course");

    QComboBox source;
    source.addItems({"Anna", "Bo", "Carl"});
    QComboBox destination;
    destination.addItems({"Bo", "Dan"});
    destination.setCurrentIndex(0);
    ComboUtil::copyItems(&source, &destination);
    ASSERT_EQ(destination.count(), 3);
    EXPECT_EQ(destination.itemText(2), "Carl");
    EXPECT_EQ(ComboUtil::getText(&destination, false), "Bo");
    EXPECT_TRUE(ComboUtil::isComboBox(&destination));
    EXPECT_TRUE(ComboUtil::isDropDownList(&destination));
    QLineEdit notACombo;
    EXPECT_FALSE(ComboUtil::isComboBox(&notACombo));
}

TEST(WindowTextUtil, writesOnlyAChangedText)
{
    QWidget dialog;
    auto* edit = new QLineEdit(&dialog);
    setControlId(edit, 1201);
    QSignalSpy changes(edit, &QLineEdit::textChanged);
    setDlgItemTextIfChanged(&dialog, 1201, "72 mm");
    setDlgItemTextIfChanged(&dialog, 1201, "72 mm");
    setWindowTextIfChanged(edit, "72 mm");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(getWindowText(edit), "72 mm");
    EXPECT_EQ(getWindowText(nullptr), "");
    setDlgItemTextIfChanged(&dialog, 9999, "nobody");
}

TEST(ReplaceControl, takesThePlaceholdersPlaceAndId)
{
    QWidget dialog;
    auto* placeholder = new QLineEdit(&dialog);
    placeholder->setGeometry(20, 30, 140, 40);
    auto* gauge = new QWidget;
    EXPECT_FALSE(replaceControl(nullptr, gauge, 1300));
    ASSERT_TRUE(replaceControl(placeholder, gauge, 1300));
    EXPECT_EQ(gauge->parentWidget(), &dialog);
    EXPECT_EQ(gauge->geometry(), QRect(20, 30, 140, 40));
    EXPECT_EQ(getDlgItem(&dialog, 1300), gauge);
    EXPECT_EQ(windowText(gauge), "c");
    EXPECT_EQ(placeholder->nextInFocusChain(), gauge);
}

TEST(InitLanguage, takesTheCatalogOfTheLangOptionElseTheDefault)
{
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd(dir.path());
    const std::string catalog = KOVA_UTILS_CATALOG;
    EXPECT_TRUE(initLanguage("KOVA_CPR demo lang:\"" + catalog + "\" commdelay:20", "en"));
    EXPECT_EQ(Gettext::instance().languageCode(), "da");
    EXPECT_EQ(Gettext::instance().catalogPath(), catalog);

    EXPECT_FALSE(initLanguage("KOVA_CPR demo", "fi"));
    EXPECT_EQ(Gettext::instance().languageCode(), "fi");
    Gettext::instance().setCatalog("");
}

} // namespace
