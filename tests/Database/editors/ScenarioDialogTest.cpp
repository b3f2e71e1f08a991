// The "Scenario" editor on a temporary SQLite data source: its default new
// entry, the typed session lengths, the algorithm editor behind "Details...",
// "Edit events..." (which saves the scenario first and ticks Register
// events), and its screenshot.

#include "RecordDialogFixture.h"

#include "Database/DatabasePatch.h"
#include "Database/editors/AlgorithmDialog.h"
#include "Database/editors/EditEventsDialog.h"
#include "Database/editors/ScenarioDialog.h"

namespace {

constexpr int NAME = 1118, DURATION = ScenarioDialog::DURATION, ALGORITHM = ScenarioDialog::ALGORITHM,
              MODE = ScenarioDialog::TRAINING_MODE, REGISTER = ScenarioDialog::REGISTER_EVENTS;
constexpr int NEW = 1112, REMOVE = 1113, SAVE = 1114, DISCARD = 1115, CLOSE = 2;

class ScenarioEditorWindow : public RecordDialogFixture {
protected:
    void SetUp() override
    {
        RecordDialogFixture::SetUp();
        for (const char* name : {"ERC 2010", "AHA 2010"})
            exec("INSERT INTO \"Algorithm\" (\"Name\") VALUES (?)", {std::string(name)});
    }
    void addScenario(const std::string& name, long long duration, const std::string& algorithm, long long mode,
                     bool registerEvents)
    {
        exec("INSERT INTO \"Scenario\" (\"Name\", \"Duration\", \"Algorithm\", \"TrainingMode\", \"RegisterEvents\") "
             "VALUES (?, ?, ?, ?, ?)",
             {name, duration, algorithm, mode, registerEvents ? 1LL : 0LL});
    }
    static void typeDuration(ScenarioDialog& dialog, const QString& typed)
    {
        qobject_cast<QComboBox*>(item(dialog, DURATION))->setEditText(typed);
        QApplication::processEvents(); // the buttons follow once the box has taken the text
    }
    static QString currentText(ScenarioDialog& dialog, int id)
    {
        return qobject_cast<QComboBox*>(item(dialog, id))->currentText();
    }
};

TEST_F(ScenarioEditorWindow, fromTheMenuANewEntryWithTheDefaultValues)
{
    addScenario("Basic", 120, "ERC 2010", 0, false);
    ScenarioDialog dialog(ScenarioRecord(), true);
    ASSERT_TRUE(dialog.create());
    EXPECT_TRUE(dialog.isNewEntry());
    EXPECT_EQ(text(dialog, NAME), "");
    EXPECT_EQ(currentText(dialog, DURATION), "10:00");
    EXPECT_EQ(currentText(dialog, ALGORITHM), "AHA 2010") << "the first of the sorted list";
    EXPECT_EQ(currentText(dialog, MODE), "Two-person CPR");
    EXPECT_TRUE(dialog.isDlgButtonChecked(REGISTER));
    EXPECT_FALSE(enabled(dialog, SAVE));
    EXPECT_FALSE(enabled(dialog, DISCARD));
    EXPECT_FALSE(enabled(dialog, REMOVE));
    EXPECT_TRUE(enabled(dialog, NEW));

    choose(dialog, MODE, "Ventilation only");
    EXPECT_TRUE(enabled(dialog, SAVE)) << "changing the mode alone is a change";
}

TEST_F(ScenarioEditorWindow, typedLengthsAreStoredInSecondsAndNoLimitAsMinusOne)
{
    ScenarioDialog dialog(ScenarioRecord(), true);
    ASSERT_TRUE(dialog.create());
    type(dialog, NAME, "Timed");
    const std::pair<QString, long long> lengths[] = {{"03:30", 210}, {"No limit", -1}, {"01:00", 60}, {"00:00", -1}};
    for (const auto& [typed, seconds] : lengths) {
        typeDuration(dialog, typed);
        EXPECT_TRUE(enabled(dialog, SAVE)) << typed.toStdString();
        asker.answers = {platform::IDYES};
        click(dialog, SAVE);
        const auto rows = theDatabase.query("SELECT \"Duration\" FROM \"Scenario\"", {}, {SqlType::Integer});
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(std::get<long long>(rows[0][0]), seconds) << typed.toStdString();
        EXPECT_FALSE(enabled(dialog, SAVE));
    }
}

// Typed over a length picked from the list, or over the stored one.
TEST_F(ScenarioEditorWindow, aLengthTypedOverAPickIsTheOneStored)
{
    addScenario("Basic", 600, "ERC 2010", 0, false);
    ScenarioDialog dialog(ScenarioRecord(), true);
    ASSERT_TRUE(dialog.create());
    choose(dialog, 1242, "Basic");
    QLineEdit* edit = qobject_cast<QComboBox*>(item(dialog, DURATION))->lineEdit();
    const struct {
        const char* picked;
        const char* typed;
        long long seconds;
    } cases[] = {{"01:00", "00:45", 45}, {nullptr, "03:00", 180}, {"05:00", "05:30", 330}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (c.picked)
            choose(dialog, DURATION, c.picked);
        edit->selectAll();
        QTest::keyClicks(edit, c.typed);
        QApplication::processEvents();
        EXPECT_EQ(currentText(dialog, DURATION), c.typed);
        ASSERT_TRUE(enabled(dialog, SAVE));
        click(dialog, SAVE);
        const auto rows = theDatabase.query("SELECT \"Duration\" FROM \"Scenario\"", {}, {SqlType::Integer});
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(std::get<long long>(rows[0][0]), c.seconds);
    }
}

TEST_F(ScenarioEditorWindow, fromADetailsButtonTheStoredScenarioWinsAndNothingIsDeleted)
{
    addScenario("Basic", 120, "ERC 2010", 0, false);
    addScenario("Child", 300, "AHA 2010", 3, true);
    ScenarioRecord opener;
    opener.name = "BASIC";
    opener.duration = 1200;
    ScenarioDialog dialog(opener, false);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(text(dialog, NAME), "Basic");
    EXPECT_EQ(currentText(dialog, DURATION), "02:00");
    EXPECT_EQ(currentText(dialog, ALGORITHM), "ERC 2010");
    EXPECT_EQ(currentText(dialog, MODE), "Single-person CPR");
    EXPECT_FALSE(dialog.isDlgButtonChecked(REGISTER));
    EXPECT_FALSE(enabled(dialog, REMOVE));
    click(dialog, 1127);
    EXPECT_EQ(dialog.getCurrentKey(), "Child");
    EXPECT_FALSE(enabled(dialog, REMOVE));
}

TEST_F(ScenarioEditorWindow, anAlgorithmUnknownToTheListCountsAsAChangeAtOnce)
{
    addScenario("Old", 120, "Retired guideline", 1, true);
    ScenarioRecord old;
    old.name = "Old";
    ScenarioDialog dialog(old, true);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(currentText(dialog, ALGORITHM), "");
    EXPECT_TRUE(enabled(dialog, SAVE));
    asker.answers = {platform::IDYES};
    click(dialog, SAVE);
    EXPECT_EQ(column("Scenario", "Algorithm"), (std::vector<std::string>{""}));
}

TEST_F(ScenarioEditorWindow, theBuiltInScenariosOpenUnchangedAndKeepTheirGuidelines)
{
    // A station just set up, after the start-up's built-in data upgrade.
    exec("DELETE FROM \"Algorithm\"");
    installSetUpRows();
    DatabasePatch::runIfNeeded();
    const std::string aha = "AHA 2010 (American Heart Association)";
    const std::string erc = "ERC 2010 (European Resuscitation Council)";
    const std::vector<std::string> guidelines = {aha, aha, aha, erc, erc, erc};

    ScenarioRecord chosen;
    chosen.name = "10 minute BLS (AHA)"; // as New session's "Details..." opens it
    ScenarioDialog dialog(chosen, false);
    showActive(dialog);
    for (std::size_t k = 0; k < guidelines.size(); ++k) {
        SCOPED_TRACE(dialog.getCurrentKey());
        EXPECT_EQ(currentText(dialog, ALGORITHM).toStdString(), guidelines[k]);
        EXPECT_FALSE(enabled(dialog, SAVE)) << "nothing changed";
        click(dialog, 1116); // next
    }
    EXPECT_TRUE(asker.asked.empty());

    // Its events are saved with the scenario as it stands.
    dialog.quickFind("5 minute BLS (ERC)");
    whenModalOpens([&](QWidget* modal) { click(*qobject_cast<EditEventsDialog*>(modal), CLOSE); });
    click(dialog, ScenarioDialog::EDIT_EVENTS);
    EXPECT_EQ(column("Scenario", "Algorithm"), guidelines);
    click(dialog, CLOSE);
    EXPECT_TRUE(asker.asked.empty()) << "no \"Scenario was changed\" question";
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(column("Scenario", "Algorithm"), guidelines);
}

TEST_F(ScenarioEditorWindow, editEventsWithoutANameOpensNothing)
{
    ScenarioDialog dialog(ScenarioRecord(), true);
    ASSERT_TRUE(dialog.create());
    bool opened = false;
    whenModalOpens([&](QWidget* modal) {
        opened = modal != nullptr;
        if (modal)
            modal->close();
    });
    click(dialog, ScenarioDialog::EDIT_EVENTS);
    QApplication::processEvents();
    EXPECT_FALSE(opened);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"A scenario has to have a name.");
    EXPECT_EQ(count("Scenario"), 0);
}

TEST_F(ScenarioEditorWindow, editEventsSavesTheScenarioFirstAndTicksRegisterEventsWhateverTheEditorsEnd)
{
    addScenario("Basic", 120, "ERC 2010", 0, false);
    ScenarioDialog dialog(ScenarioRecord(), true);
    ASSERT_TRUE(dialog.create());
    dialog.quickFind("Basic");
    EXPECT_FALSE(dialog.isDlgButtonChecked(REGISTER));

    std::string editorFor;
    whenModalOpens([&](QWidget* modal) {
        auto* events = qobject_cast<EditEventsDialog*>(modal);
        ASSERT_NE(events, nullptr);
        editorFor = text(*events, EditEventsDialog::CAPTION).toStdString();
        click(*events, CLOSE); // nothing changed: closes without a question
    });
    click(dialog, ScenarioDialog::EDIT_EVENTS);
    EXPECT_EQ(editorFor, "Events associated with scenario 'Basic':");
    EXPECT_TRUE(dialog.isDlgButtonChecked(REGISTER));
    EXPECT_TRUE(enabled(dialog, SAVE)) << "the tick is stored by a later save";
    EXPECT_EQ(column("Scenario", "RegisterEvents"), (std::vector<std::string>{"0"}));

    // A new entry with a name is stored before its events are edited.
    asker.answers = {platform::IDNO}; // leave the tick unsaved
    click(dialog, NEW);
    type(dialog, NAME, "Advanced");
    whenModalOpens([&](QWidget* modal) { click(*qobject_cast<EditEventsDialog*>(modal), CLOSE); });
    click(dialog, ScenarioDialog::EDIT_EVENTS);
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"Basic", "Advanced"}));
}

TEST_F(ScenarioEditorWindow, theAlgorithmEditorBehindDetailsRenamesIntoTheList)
{
    addScenario("Basic", 120, "ERC 2010", 0, false);
    ScenarioDialog dialog(ScenarioRecord(), true);
    ASSERT_TRUE(dialog.create());
    dialog.quickFind("Basic");
    std::string openedOn;
    bool deletable = true;
    whenModalOpens([&](QWidget* modal) {
        auto* algorithm = qobject_cast<AlgorithmDialog*>(modal);
        ASSERT_NE(algorithm, nullptr);
        openedOn = algorithm->getCurrentKey();
        deletable = enabled(*algorithm, REMOVE);
        type(*algorithm, NAME, "ERC 2015");
        asker.answers = {platform::IDYES};
        click(*algorithm, SAVE);
        click(*algorithm, CLOSE);
    });
    click(dialog, ScenarioDialog::ALGORITHM_DETAILS);
    EXPECT_EQ(openedOn, "ERC 2010");
    EXPECT_FALSE(deletable);
    EXPECT_EQ(currentText(dialog, ALGORITHM), "ERC 2015");
    EXPECT_EQ(column("Scenario", "Algorithm"), (std::vector<std::string>{"ERC 2015"})) << "renamed with its references";
}

TEST_F(ScenarioEditorWindow, enterOnRegisterEventsGoesBackToTheName)
{
    addScenario("Basic", 120, "ERC 2010", 0, false);
    ScenarioDialog dialog(ScenarioRecord(), true);
    showActive(dialog);
    dialog.quickFind("Basic");
    item(dialog, REGISTER)->setFocus();
    QTest::keyClick(item(dialog, REGISTER), Qt::Key_Return);
    EXPECT_EQ(kova::controlId(QApplication::focusWidget()), NAME);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ScenarioEditorWindow, screenshot)
{
    addScenario("Adult basic life support", 300, "ERC 2010", 1, true);
    ScenarioDialog dialog(ScenarioRecord(), true);
    showActive(dialog);
    dialog.quickFind("Adult basic life support");
    saveScreenshot(dialog, "scenario");
}

} // namespace
