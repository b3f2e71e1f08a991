// The "Algorithm" editor on a temporary SQLite data source: percent and
// ratio notation (a stored share shown as a cut ratio is still stored
// exactly), the range check when a field is left and on every road to
// storing (button, mnemonic, the question on leaving), the built-in guidelines,
// the editor behind the configuration pages' "Details..." buttons, and its
// screenshot.

#include "RecordDialogFixture.h"

#include "Database/AlgorithmRules.h"
#include "Database/editors/AlgorithmDialog.h"
#include "config/Configuration.h"
#include "propertyPage/AlgorithmDetailsEditor.h"

#include <QTimer>

#include <functional>
#include <utility>

namespace {

constexpr int NAME = 1118, RECOMMENDED = 1138, RELAXATION = 1148, SHARE_LOW = 1140, SHARE_HIGH = 1141,
              VOLUME_LOW = 1199, VOLUME_HIGH = 1135, DEPTH_LOW = 1142, DEPTH_HIGH = 1143, RATE_LOW = 1136;
constexpr int NEW = 1112, REMOVE = 1113, SAVE = 1114, DISCARD = 1115, NEXT = 1116, CLOSE = 2;

class AlgorithmEditorWindow : public RecordDialogFixture {
protected:
    void SetUp() override
    {
        RecordDialogFixture::SetUp();
        notation_ = Configuration::instance().getPropertyModel().ratioAsPercent;
    }
    void TearDown() override
    {
        Configuration::instance().getPropertyModel().ratioAsPercent = notation_;
        RecordDialogFixture::TearDown();
    }
    static void setPercentNotation(bool percent) { Configuration::instance().getPropertyModel().ratioAsPercent = percent; }

    static void addAlgorithm(AlgorithmRecord record)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        ASSERT_TRUE(table.isOpen);
        table.addNew();
        table.setRecord(record);
        ASSERT_TRUE(table.update());
    }
    static AlgorithmRecord named(const std::string& name)
    {
        AlgorithmRecord record;
        record.Name = name;
        return record;
    }
    static AlgorithmRecord stored(const std::string& name)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        return table.getByName(name);
    }
    static double shareOfRatio(double ratio) { return 100 * ratio / (ratio + 1); }
    // Alt and the letter of a button's mnemonic, typed where the focus is: the
    // button shows its press, then clicks.
    static void pressMnemonic(AlgorithmDialog& dialog, QWidget* focused, Qt::Key key, int id)
    {
        auto* button = qobject_cast<QAbstractButton*>(item(dialog, id));
        ASSERT_NE(button, nullptr);
        QTest::keyClick(focused, key, Qt::AltModifier);
        for (int wait = 0; wait < 100 && button->isDown(); ++wait)
            QTest::qWait(10);
        ASSERT_FALSE(button->isDown());
    }
    // The text of a masked field without its empty places.
    static QString shown(AlgorithmDialog& dialog, int id) { return text(dialog, id).trimmed(); }

private:
    bool notation_ = true;
};

TEST_F(AlgorithmEditorWindow, ratioNotationShowsACutRatioAndStoresTheUntouchedShareExactly)
{
    setPercentNotation(false);
    AlgorithmRecord record = named("Guideline");
    record.compRelaxLow = 40;
    record.compRelaxHigh = 100;
    record.compRelaxRecc = 50;
    addAlgorithm(record);

    AlgorithmDialog dialog("Guideline", true);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(shown(dialog, SHARE_LOW), "0.66");
    EXPECT_EQ(shown(dialog, SHARE_HIGH), "9999") << "a share of 100 % has no finite ratio";
    EXPECT_EQ(shown(dialog, RECOMMENDED), "1");
    EXPECT_FALSE(item(dialog, RELAXATION)->isVisibleTo(&dialog));
    EXPECT_FALSE(enabled(dialog, SAVE)) << "a cut ratio is no change";

    type(dialog, DEPTH_LOW, "45");
    asker.answers = {platform::IDYES};
    click(dialog, SAVE);
    AlgorithmRecord saved = stored("Guideline");
    EXPECT_EQ(saved.compRelaxLow, 40.0);
    EXPECT_EQ(saved.compRelaxHigh, 100.0);
    EXPECT_EQ(saved.compRelaxRecc, 50.0);
    EXPECT_EQ(saved.compDepthLow, 45.0);

    type(dialog, SHARE_LOW, "0.5");
    asker.answers = {platform::IDYES};
    click(dialog, SAVE);
    EXPECT_NEAR(stored("Guideline").compRelaxLow, 100.0 / 3, 1e-9) << "a typed ratio is converted";
}

// A typed ratio the window shows as the untouched low limit's ratio is the
// same share: the low limit is not stored above it.
TEST_F(AlgorithmEditorWindow, ratiosShownEqualAreStoredInOrder)
{
    setPercentNotation(false);
    AlgorithmRecord record = named("Guideline");
    record.compRelaxLow = 40;
    record.compRelaxHigh = 60;
    addAlgorithm(record);
    AlgorithmDialog dialog("Guideline", true);
    showActive(dialog);
    ASSERT_EQ(shown(dialog, SHARE_LOW), "0.66");
    QWidget* high = item(dialog, SHARE_HIGH);
    high->setFocus();
    qobject_cast<QLineEdit*>(high)->selectAll();
    QTest::keyClicks(high, "0.66");
    asker.answers = {platform::IDYES};
    click(dialog, SAVE);
    const AlgorithmRecord saved = stored("Guideline");
    EXPECT_LE(saved.compRelaxLow, saved.compRelaxHigh);
    EXPECT_NEAR(saved.compRelaxHigh, shareOfRatio(0.66), 1e-9);
    EXPECT_EQ(shown(dialog, SHARE_LOW), "0.66");
    EXPECT_EQ(shown(dialog, SHARE_HIGH), "0.66");
}

TEST_F(AlgorithmEditorWindow, percentNotationKeepsTheRecommendedShareInRangeWhileTyping)
{
    setPercentNotation(true);
    addAlgorithm(named("Guideline"));
    AlgorithmDialog dialog("Guideline", true);
    ASSERT_TRUE(dialog.create());
    EXPECT_TRUE(item(dialog, RELAXATION)->isVisibleTo(&dialog));
    EXPECT_EQ(shown(dialog, RECOMMENDED), "50");
    EXPECT_EQ(shown(dialog, RELAXATION), "50");
    type(dialog, RECOMMENDED, "120");
    EXPECT_EQ(shown(dialog, RECOMMENDED), "100");
    EXPECT_EQ(shown(dialog, RELAXATION), "0");
    type(dialog, RECOMMENDED, "35");
    EXPECT_EQ(shown(dialog, RELAXATION), "65");
    EXPECT_TRUE(enabled(dialog, SAVE));
}

TEST_F(AlgorithmEditorWindow, leavingAFieldKeepsItsRangeAndBeepsOncePerCorrection)
{
    setPercentNotation(true);
    addAlgorithm(named("Guideline"));
    AlgorithmDialog dialog("Guideline", true);
    showActive(dialog);

    struct Case {
        int field;
        QString typed;
        int other;
        QString otherTyped;
        QString expected;
        int expectedBeeps;
    };
    const Case cases[] = {
        {DEPTH_LOW, "60", DEPTH_HIGH, "50", "50", 1},      // a low limit comes down to its high limit
        {VOLUME_LOW, "0.8", VOLUME_HIGH, "0.6", "0.8", 0}, // the volumes may cross
        {RATE_LOW, "0", 1137, "110", "1", 1},              // below the bottom of the range
        {1110, "25", RECOMMENDED, "50", "20", 1},          // initial ventilations at most 20
    };
    for (const Case& c : cases) {
        beeps = 0;
        type(dialog, c.other, c.otherTyped);
        item(dialog, c.field)->setFocus();
        type(dialog, c.field, c.typed);
        item(dialog, NAME)->setFocus(); // leaving the field
        EXPECT_EQ(shown(dialog, c.field), c.expected) << c.field;
        EXPECT_EQ(beeps, c.expectedBeeps) << c.field;
    }
    EXPECT_EQ(shown(dialog, VOLUME_HIGH), "0.6");
}

TEST_F(AlgorithmEditorWindow, aNameOfBlanksAndControlCharactersIsNoName)
{
    setPercentNotation(true);
    AlgorithmDialog dialog("", true);
    ASSERT_TRUE(dialog.create());
    type(dialog, NAME, QString::fromLatin1("\x01 \t\x7F"));
    type(dialog, DEPTH_LOW, "45");
    click(dialog, SAVE);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"An algorithm has to have a name.\nPlease fill in a name before you save.");
    EXPECT_EQ(count("Algorithm"), 0);

    type(dialog, NAME, QString::fromLatin1(" \x01Guideline\t"));
    click(dialog, SAVE);
    EXPECT_EQ(column("Algorithm", "Name"), std::vector<std::string>{"Guideline"});
}

// An emptied field is read as 0, which is in the range of these fields: it
// shows the 0 that is stored, whether it is left or saved from where it is.
TEST_F(AlgorithmEditorWindow, anEmptiedFieldShowsTheZeroItIsStoredAs)
{
    for (const bool percent : {true, false}) {
        setPercentNotation(percent);
        for (const int field : {1110, 1111, VOLUME_LOW, VOLUME_HIGH, SHARE_LOW}) {
            SCOPED_TRACE(testing::Message() << field << (percent ? " percent" : " ratio"));
            exec("DELETE FROM \"Algorithm\"");
            addAlgorithm(named("Guideline"));
            AlgorithmDialog dialog("Guideline", true);
            showActive(dialog);
            beeps = 0;

            item(dialog, field)->setFocus();
            type(dialog, field, "");
            item(dialog, NAME)->setFocus(); // leaving the field
            EXPECT_EQ(shown(dialog, field), "0");
            EXPECT_EQ(beeps, 0) << "0 is in the field's range: nothing was corrected";

            // Saved straight from the emptied field, which keeps the focus.
            type(dialog, DEPTH_LOW, "45");
            item(dialog, VOLUME_HIGH)->setFocus();
            type(dialog, VOLUME_HIGH, "");
            asker.answers = {platform::IDYES};
            click(dialog, SAVE);
            EXPECT_EQ(stored("Guideline").vVolHigh, 0.0);
            EXPECT_EQ(shown(dialog, VOLUME_HIGH), "0");
            EXPECT_FALSE(enabled(dialog, SAVE));
        }
    }
}

TEST_F(AlgorithmEditorWindow, aBuiltInGuidelineKeepsItsNameAndCannotBeDeleted)
{
    setPercentNotation(true);
    AlgorithmRecord builtIn = named("ERC 2010 (European Resuscitation Council)");
    builtIn.builtIn = true;
    addAlgorithm(builtIn);
    addAlgorithm(named("Own"));

    AlgorithmDialog dialog("", true);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(dialog.getCurrentKey(), builtIn.Name) << "without a name the first row";
    EXPECT_FALSE(enabled(dialog, REMOVE));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(item(dialog, NAME))->isReadOnly());
    type(dialog, DEPTH_HIGH, "55");
    asker.answers = {platform::IDYES};
    click(dialog, SAVE);
    EXPECT_EQ(stored(builtIn.Name).compDepthHigh, 55.0) << "its values may change";
    EXPECT_TRUE(stored(builtIn.Name).builtIn);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].style, 0x224u) << "saving a changed algorithm always asks";

    click(dialog, NEXT);
    EXPECT_EQ(dialog.getCurrentKey(), "Own");
    EXPECT_TRUE(enabled(dialog, REMOVE));
    EXPECT_FALSE(qobject_cast<QLineEdit*>(item(dialog, NAME))->isReadOnly());
}

TEST_F(AlgorithmEditorWindow, aMissingNameStartsANewEntryWithTheDefaultLimits)
{
    setPercentNotation(true);
    addAlgorithm(named("Guideline"));
    AlgorithmDialog dialog("Mine", true);
    ASSERT_TRUE(dialog.create());
    EXPECT_TRUE(dialog.isNewEntry());
    EXPECT_EQ(text(dialog, NAME), "Mine");
    EXPECT_EQ(shown(dialog, DEPTH_LOW), "40");
    EXPECT_EQ(shown(dialog, VOLUME_HIGH), "0.6");
    EXPECT_FALSE(enabled(dialog, SAVE));
    EXPECT_FALSE(enabled(dialog, REMOVE));
    click(dialog, DISCARD);
    type(dialog, VOLUME_HIGH, "0.7");
    click(dialog, SAVE);
    EXPECT_EQ(stored("Mine").vVolHigh, 0.7);
    EXPECT_TRUE(asker.asked.empty()) << "a new name asks nothing";
}

TEST_F(AlgorithmEditorWindow, fromDetailsNoRowCanBeDeletedAndTheChosenKeyComesBack)
{
    setPercentNotation(true);
    addAlgorithm(named("AHA"));
    addAlgorithm(named("ERC"));
    installAlgorithmEditor();
    auto editor = configseams::makeAlgorithmEditor("erc", false);
    std::vector<bool> deletable;
    std::string shownName;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<AlgorithmDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownName = dialog->getCurrentKey();
        for (int step = 0; step < 2; ++step) {
            deletable.push_back(enabled(*dialog, REMOVE));
            click(*dialog, step == 0 ? 1126 : NEXT);
        }
        deletable.push_back(enabled(*dialog, REMOVE));
        click(*dialog, CLOSE);
    });
    editor->doModal();
    EXPECT_EQ(shownName, "ERC");
    EXPECT_EQ(deletable, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(editor->getCurrentKey(), "ERC");
    configseams::setAlgorithmEditorFactory(nullptr);
}

// Every road that stores the entry first keeps the typed values in their
// ranges and in order, as leaving the field would, with the focus still in
// the field: the row stored is what the window shows, and the question on
// leaving is asked once. A question box takes the focus from the field, as
// a real one does.
TEST_F(AlgorithmEditorWindow, everyRoadToStoringKeepsTheRulesAndStoresWhatTheWindowShows)
{
    setPercentNotation(true);
    struct Road {
        const char* name;
        std::function<void(AlgorithmDialog&, QWidget* field)> act;
        bool leaves; // asks the question on leaving
    };
    const auto mnemonic = [](Qt::Key key, int button) {
        return [key, button](AlgorithmDialog& dialog, QWidget* field) { pressMnemonic(dialog, field, key, button); };
    };
    const Road roads[] = {
        {"Save button", [](AlgorithmDialog& dialog, QWidget*) { click(dialog, SAVE); }, false},
        {"Alt+S", mnemonic(Qt::Key_S, SAVE), false},
        {"New, Alt+N", mnemonic(Qt::Key_N, NEW), true},
        {"Close, Alt+C", mnemonic(Qt::Key_C, CLOSE), true},
        {"close box", [](AlgorithmDialog& dialog, QWidget*) { dialog.close(); }, true},
        {"Escape", [](AlgorithmDialog&, QWidget* field) { QTest::keyClick(field, Qt::Key_Escape); }, true},
        {"navigation",
         [](AlgorithmDialog& dialog, QWidget*) { click(dialog, dialog.isNewEntry() ? 1117 : NEXT); }, true},
    };
    struct Case {
        const char* name;
        bool newEntry;
        int field;
        const char* typed;
        int low, high;
        double AlgorithmRecord::*lowValue;
        double AlgorithmRecord::*highValue;
        double expectedLow, expectedHigh;
    };
    const Case cases[] = {
        // The high limit typed below the low one (6): the low one comes down.
        {"low above high", true, 1133, "4", 1111, 1133, &AlgorithmRecord::vRateLow, &AlgorithmRecord::vRateHigh,
         4, 4},
        {"above the range", false, DEPTH_HIGH, "999", DEPTH_LOW, DEPTH_HIGH, &AlgorithmRecord::compDepthLow,
         &AlgorithmRecord::compDepthHigh, 40, 250},
    };
    for (const Case& c : cases) {
        for (const Road& road : roads) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << road.name);
            exec("DELETE FROM \"Algorithm\"");
            addAlgorithm(named("Guideline"));
            addAlgorithm(named("Other"));
            AlgorithmDialog dialog("Guideline", true);
            showActive(dialog);
            const std::string name = c.newEntry ? "Mine" : "Guideline";
            if (c.newEntry) {
                pressMnemonic(dialog, item(dialog, NAME), Qt::Key_N, NEW);
                ASSERT_TRUE(dialog.isNewEntry());
                QTest::keyClicks(item(dialog, NAME), QString::fromStdString(name));
            }
            QWidget* field = item(dialog, c.field);
            field->setFocus();
            QApplication::processEvents();
            qobject_cast<QLineEdit*>(field)->selectAll();
            QTest::keyClicks(field, c.typed);
            ASSERT_EQ(shown(dialog, c.field), c.typed);
            ASSERT_EQ(QApplication::focusWidget(), field);

            // What the window shows when the row is stored: at the question,
            // once the box has the focus, or after the command.
            std::pair<QString, QString> shownWhenStored;
            int questions = 0;
            const auto snapshot = [&] { shownWhenStored = {shown(dialog, c.low), shown(dialog, c.high)}; };
            asker.answers = {platform::IDYES, platform::IDYES};
            asker.whileAsked = [&](const platform::RecordingMessageAsker::Asked&) {
                ++questions;
                if (QWidget* focused = QApplication::focusWidget())
                    focused->clearFocus();
                QApplication::processEvents();
                snapshot();
            };
            road.act(dialog, field);
            QApplication::processEvents();
            asker.whileAsked = nullptr;
            if (!road.leaves)
                snapshot();

            ASSERT_EQ(count("Algorithm"), c.newEntry ? 3 : 2) << "stored";
            const AlgorithmRecord saved = stored(name);
            EXPECT_EQ(saved.*c.lowValue, c.expectedLow);
            EXPECT_EQ(saved.*c.highValue, c.expectedHigh);
            EXPECT_FALSE(AlgorithmRules::firstFault(saved).has_value());
            EXPECT_EQ(QString::number(saved.*c.lowValue), shownWhenStored.first);
            EXPECT_EQ(QString::number(saved.*c.highValue), shownWhenStored.second);
            if (!c.newEntry && std::string(road.name) == "Alt+S")
                saveScreenshot(dialog, "algorithm-stored-in-range");
            // A new name asks nothing on Save; a stored algorithm asks once
            // whether it is overwritten; leaving asks once whether to save.
            EXPECT_EQ(questions, road.leaves || !c.newEntry ? 1 : 0);
            if (road.leaves && questions > 0) {
                EXPECT_EQ(asker.asked.back().style, 0x23u) << "Yes/No/Cancel";
            }
            asker.asked.clear();
        }
    }
}

TEST_F(AlgorithmEditorWindow, screenshot)
{
    setPercentNotation(true);
    AlgorithmRecord record = named("ERC 2010 (European Resuscitation Council)");
    record.builtIn = true;
    addAlgorithm(record);
    AlgorithmDialog dialog(record.Name, true);
    showActive(dialog);
    saveScreenshot(dialog, "algorithm");
}

} // namespace
