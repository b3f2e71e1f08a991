#include "Database/record-controls/DurationCombo.h"
#include "Database/record-controls/TrainingModeCombo.h"

#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

namespace {

QStringList items(const QComboBox& combo)
{
    QStringList list;
    for (int i = 0; i < combo.count(); ++i)
        list << combo.itemText(i);
    return list;
}

QString shown(const QComboBox& combo) { return kova::ComboUtil::getText(&combo, false); }

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }

} // namespace

TEST(DurationCombo, freshBoxListsTheLengthsAndShowsTwoMinutes)
{
    for (const bool editable : {false, true}) {
        QComboBox combo;
        combo.setEditable(editable);
        Duration::fillCombo(&combo);
        EXPECT_EQ(items(combo),
                  QStringList({"00:30", "01:00", "02:00", "05:00", "10:00", "20:00", "No limit"}));
        EXPECT_EQ(shown(combo), "02:00") << editable;
        EXPECT_EQ(Duration::getSelected(&combo), 120) << editable;
    }
}

TEST(DurationCombo, selectAndReadBack)
{
    QComboBox list;
    Duration::fillCombo(&list);
    Duration::select(&list, 600);
    EXPECT_EQ(list.currentIndex(), 4);
    EXPECT_EQ(Duration::getSelected(&list), 600);
    Duration::select(&list, -1);
    EXPECT_EQ(list.currentText(), "No limit");
    EXPECT_EQ(Duration::getSelected(&list), -1);

    // An editable box takes a length that is not in its list as typed text.
    QComboBox edit;
    edit.setEditable(true);
    Duration::fillCombo(&edit);
    Duration::select(&edit, 185);
    EXPECT_EQ(edit.currentText(), "03:05");
    EXPECT_EQ(Duration::getSelected(&edit), 185);

    for (const auto& [typed, seconds] : {std::pair{"3:5", 185L}, {"00:00", -1L}, {"", -1L}, {"No limit", -1L}}) {
        edit.setCurrentIndex(-1);
        edit.lineEdit()->clear();
        QTest::keyClicks(edit.lineEdit(), typed);
        EXPECT_EQ(Duration::getSelected(&edit), seconds) << typed;
    }
}

TEST(DurationCombo, sortedOrMissingBoxIsLogged)
{
    QComboBox sorted;
    sorted.setInsertPolicy(QComboBox::InsertAlphabetically);
    Duration::fillCombo(&sorted);
    EXPECT_EQ(sorted.count(), 7); // filled all the same
    EXPECT_NE(errorLog().find("InsertAlphabetically"), std::string::npos);

    EXPECT_EQ(Duration::getSelected(nullptr), -1);
    Duration::select(nullptr, 60);
    EXPECT_NE(errorLog().find(") : comboBox\n"), std::string::npos);
}

TEST(TrainingModeCombo, fourModesWithTwoPersonSelected)
{
    QComboBox combo;
    TrainingMode::fillCombo(&combo);
    EXPECT_EQ(items(combo), QStringList({"Single-person CPR", "Two-person CPR", "Ventilation only",
                                         "Chest compression only"}));
    EXPECT_EQ(combo.currentIndex(), 1);
}

// The two participant boxes of a session or course dialog: editable, with a
// "Details..." button each.
class Participants : public ::testing::Test {
protected:
    Participants()
    {
        a.setEditable(true);
        b.setEditable(true);
        a.addItems({"Anna", "Bernt"});
        b.addItems({"Anna", "Bernt"});
        a.setCurrentIndex(-1);
        b.setCurrentIndex(-1);
    }

    void fill(int mode, bool setDefaults = true, bool defaultNames = true)
    {
        TrainingMode::fillParticipants(mode, &a, &detailsA, &b, &detailsB, setDefaults, defaultNames);
    }

    // The two texts and which of the four windows are enabled.
    void expectState(int mode, const char* textA, const char* textB, bool aEnabled, bool bEnabled)
    {
        EXPECT_EQ(shown(a), textA) << "mode " << mode;
        EXPECT_EQ(shown(b), textB) << "mode " << mode;
        EXPECT_EQ(a.isEnabled(), aEnabled) << "mode " << mode;
        EXPECT_EQ(detailsA.isEnabled(), aEnabled) << "mode " << mode;
        EXPECT_EQ(b.isEnabled(), bEnabled) << "mode " << mode;
        EXPECT_EQ(detailsB.isEnabled(), bEnabled) << "mode " << mode;
    }

    QComboBox a;
    QComboBox b;
    QPushButton detailsA{"Details..."};
    QPushButton detailsB{"Details..."};
};

TEST_F(Participants, defaultNamesFollowTheMode)
{
    fill(0);
    expectState(0, "User", "User", true, false);
    fill(1);
    expectState(1, "User 1", "User 2", true, true);
    fill(0);
    expectState(0, "User", "User", true, false);
    fill(2);
    expectState(2, "User", "", true, false);
    fill(3);
    expectState(3, "", "User", false, true);
    fill(1);
    expectState(1, "User 1", "User 2", true, true);
}

TEST_F(Participants, aTypedNameSurvivesUntilItsRoleGoes)
{
    QTest::keyClicks(a.lineEdit(), "Anna");
    fill(0);
    expectState(0, "Anna", "Anna", true, false);
    fill(1);
    expectState(1, "Anna", "Anna", true, true);
    b.setCurrentIndex(1);
    fill(0);
    expectState(0, "Anna", "Anna", true, false);
    fill(1);
    fill(3);
    expectState(3, "", "Anna", false, true);
}

TEST_F(Participants, withoutDefaultsOnlyTheEnablingChanges)
{
    a.setCurrentIndex(1);
    fill(2, false);
    expectState(2, "Bernt", "", true, false);

    // Without default names the defaults are empty texts.
    fill(1, true, false);
    expectState(1, "Bernt", "", true, true);

    // No buttons: the boxes alone follow the mode.
    TrainingMode::fillParticipants(3, &a, nullptr, &b, nullptr, true, true);
    EXPECT_FALSE(a.isEnabled());
    EXPECT_TRUE(b.isEnabled());
}
