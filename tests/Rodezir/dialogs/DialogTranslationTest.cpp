#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <map>

namespace {

using namespace kova;

// A small catalog: what it lacks comes back as the message id itself, and the
// empty message id translates to the empty text.
class TestCatalog {
public:
    TestCatalog()
    {
        setDialogTranslator([this](const std::string& msgid) {
            asked.push_back(msgid);
            const auto found = entries.find(msgid);
            return toWide(found != entries.end() ? found->second : msgid);
        });
    }
    ~TestCatalog() { setDialogTranslator({}); }

    std::map<std::string, std::string> entries{{"Name", "Navn"}, {"Persons", "Personer"}, {" Course", " Kursus"},
                                               {"OK", "Gem"}, {"", ""}};
    std::vector<std::string> asked;
};

QString marked(const char* text) { return QString(QChar(0x00A4)) + QString::fromUtf8(text); }

TEST(DialogTranslation, markedTextsAreTranslatedAndOthersLeftAlone)
{
    TestCatalog catalog;
    QDialog dialog;
    dialog.setWindowTitle(marked("Persons"));
    auto* name = new QLabel(marked("Name"), &dialog);
    auto* plain = new QLabel("Name", &dialog);
    auto* blank = new QLabel(marked(" Course"), &dialog);
    auto* empty = new QLabel(marked(""), &dialog);
    auto* unknown = new QLabel(marked("Not in the catalog"), &dialog);
    auto* group = new QGroupBox(&dialog);
    auto* inside = new QPushButton(marked("OK"), group);
    auto* page = new QWidget(group);
    auto* nested = new QLineEdit(marked("Name"), page);
    auto* number = new QLineEdit("42", &dialog);

    translateDialog(&dialog);

    EXPECT_EQ(dialog.windowTitle(), "Personer");
    EXPECT_EQ(name->text(), "Navn");
    EXPECT_EQ(plain->text(), "Name");
    EXPECT_EQ(blank->text(), " Kursus");
    EXPECT_EQ(empty->text(), "");
    EXPECT_EQ(unknown->text(), "Not in the catalog");
    EXPECT_EQ(inside->text(), "Gem");
    EXPECT_EQ(nested->text(), "Navn");
    EXPECT_EQ(number->text(), "42");
    // Nothing unmarked went to the catalog.
    EXPECT_EQ(std::count(catalog.asked.begin(), catalog.asked.end(), "42"), 0);
}

TEST(DialogTranslation, longTextsAreCutTo1023Characters)
{
    TestCatalog catalog;
    QLabel label(marked(std::string(1999, 'x').c_str()));
    translateWindowText(&label);
    ASSERT_EQ(catalog.asked.size(), 1u);
    EXPECT_EQ(catalog.asked[0], std::string(1022, 'x'));
    EXPECT_EQ(label.text(), QString(1022, 'x'));
}

TEST(DialogTranslation, translatesThroughTheLoadedCatalog)
{
    ASSERT_TRUE(Gettext::instance().setCatalog(KOVA_DIALOGS_CATALOG));
    QDialog dialog;
    dialog.setWindowTitle(marked("Persons"));
    auto* first = new QLabel(marked("First name:"), &dialog);
    auto* instructor = new QPushButton(marked("Instructor"), &dialog);
    auto* missing = new QPushButton(marked("Not in the catalog"), &dialog);
    auto* plain = new QPushButton("Help", &dialog);
    auto* alone = new QLabel(marked(""), &dialog);
    translateDialog(&dialog);
    Gettext::instance().setCatalog("");

    EXPECT_EQ(dialog.windowTitle(), "Personer");
    EXPECT_EQ(first->text(), "Fornavn:");
    EXPECT_EQ(instructor->text(), QString::fromUtf8("Instruktør"));
    EXPECT_EQ(missing->text(), "Not in the catalog");
    EXPECT_EQ(plain->text(), "Help");
    EXPECT_EQ(alone->text(), "");
}

TEST(DialogTranslation, markerIsTheUtf8FormOfTheCurrencySign)
{
    EXPECT_EQ(getTranslationMarker(), "\xC2\xA4");
    EXPECT_EQ(getTranslationMarkerLength(), 2u);
}

} // namespace
