// The session dialog on a temporary SQLite data source: what a run and a
// planned session may change, when Delete is offered, the scenario that
// follows its length, algorithm and mode, the question before changes are
// lost, a planned session stored as a new row, a delete that moves the data
// file aside and puts it back when the row stays, the graphs and debriefing
// opened through the installed inspector, Enter in the notes, the manikin
// texts, and its screenshot.

#include "RecordDialogFixture.h"

#include "Database/SessionTable.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "Rodezir/DateText.h"
#include "config/AlgorithmRecord.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <filesystem>
#include <memory>

namespace {

using Dialog = SessionDialog;
constexpr int SAVE = 1114, DISCARD = 1115, REMOVE = 1113;

class FakeInspection final : public SessionDialog::Inspection {
public:
    explicit FakeInspection(int& alive) : alive_(alive) { ++alive_; }
    ~FakeInspection() override { --alive_; }

private:
    int& alive_;
};

struct Inspected {
    SessionRecord record;
    std::string algorithm;
    bool debriefing;
    int openBefore;
};

class SessionDialogWindow : public RecordDialogFixture {
protected:
    void SetUp() override
    {
        RecordDialogFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SessionDialog::setInspector([this](const SessionRecord& record, const AlgorithmRecord& algorithm,
                                           bool debriefing, QWidget*) -> std::unique_ptr<SessionDialog::Inspection> {
            inspected.push_back({record, algorithm.Name, debriefing, open});
            return std::make_unique<FakeInspection>(open);
        });
        exec("INSERT INTO \"Scenario\" (\"Name\", \"Duration\", \"Algorithm\", \"TrainingMode\") "
             "VALUES ('Basic', 120, 'ERC 2010', 1), ('Child', 300, 'AHA 2010', 3)");
        exec("INSERT INTO \"Algorithm\" (\"Name\") VALUES ('ERC 2010')");
        exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\") VALUES ('Ann', 0), ('Bob', 0), ('Ida', 1)");
        setMachineString("Data Folder", folder.path().string());
    }
    void TearDown() override
    {
        SessionDialog::setInspector({});
        RecordDialogFixture::TearDown();
    }

    static SessionRecord session(bool done)
    {
        SessionRecord record;
        record.Serialidentifier = done ? "run00000000000" : "plan0000000000";
        record.PersonVentilation = "Ann";
        record.PersonChestCompression = "Bob";
        record.Scenario = "Basic";
        record.Algorithm = "ERC 2010";
        record.Duration = 120;
        record.TrainingMode = 1;
        record.CourseDate = "2024-05-01";
        record.StartTime = "10:15";
        record.CourseInstructor = "Ida";
        record.Done = done;
        record.Manikin = 3;
        record.Note = "Good rhythm";
        return record;
    }
    static void store(const SessionRecord& record)
    {
        SessionTable table(theDatabase);
        table.open("");
        table.addNew();
        table.setRecord(record);
        ASSERT_TRUE(table.update());
    }
    static QComboBox* combo(Dialog& dialog, int id) { return qobject_cast<QComboBox*>(item(dialog, id)); }

    std::vector<Inspected> inspected;
    int open = 0;
};

TEST_F(SessionDialogWindow, aRunSessionMayBeApprovedAndAPlannedOneMayChangeItsManikinAndLength)
{
    for (const bool done : {true, false}) {
        const SessionRecord record = session(done);
        store(record);
        Dialog dialog(record, true);
        ASSERT_TRUE(dialog.create());
        EXPECT_FALSE(dialog.isNewEntry());
        EXPECT_FALSE(enabled(dialog, SAVE)) << "nothing changed on opening";
        for (int id : {Dialog::MANIKIN, Dialog::DURATION})
            EXPECT_EQ(enabled(dialog, id), !done) << id;
        for (int id : {Dialog::GRAPH, Dialog::DEBRIEFING, Dialog::APPROVED, Dialog::APPROVED_BY,
                       Dialog::APPROVED_BY_DETAILS})
            EXPECT_EQ(enabled(dialog, id), done) << id;
        EXPECT_EQ(text(dialog, Dialog::VENTILATION), "Ann");
        EXPECT_EQ(text(dialog, Dialog::DURATION), "02:00");
        EXPECT_EQ(text(dialog, Dialog::START_TIME), "10:15");
        EXPECT_EQ(text(dialog, Dialog::DATE).toStdString(), kova::isoDateToText("2024-05-01"));
    }
}

TEST_F(SessionDialogWindow, deleteIsOfferedOnlyWhereAllowedAndForARunSession)
{
    store(session(true));
    store(session(false));
    struct Case {
        bool allowDelete;
        bool done;
        bool offered;
    };
    for (const Case c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}}) {
        Dialog dialog(session(c.done), c.allowDelete);
        ASSERT_TRUE(dialog.create());
        EXPECT_EQ(enabled(dialog, REMOVE), c.offered) << c.allowDelete << c.done;
    }
}

TEST_F(SessionDialogWindow, theScenarioIsClearedByAnotherLengthAndAppliedWhenChosen)
{
    const SessionRecord record = session(false);
    store(record);
    Dialog dialog(record, false);
    ASSERT_TRUE(dialog.create());
    EXPECT_EQ(combo(dialog, Dialog::SCENARIO)->currentText(), "Basic");

    choose(dialog, Dialog::DURATION, "05:00");
    QApplication::processEvents();
    EXPECT_EQ(combo(dialog, Dialog::SCENARIO)->currentIndex(), -1);
    EXPECT_TRUE(enabled(dialog, SAVE));

    choose(dialog, Dialog::SCENARIO, "Child");
    QApplication::processEvents();
    EXPECT_EQ(text(dialog, Dialog::DURATION), "05:00");
    EXPECT_EQ(combo(dialog, Dialog::TRAINING_MODE)->currentIndex(), 3);
    // The algorithm list holds no "AHA 2010": the scenario's algorithm cannot
    // be chosen, so the scenario does not stay either.
    EXPECT_EQ(combo(dialog, Dialog::SCENARIO)->currentIndex(), -1);

    exec("INSERT INTO \"Algorithm\" (\"Name\") VALUES ('AHA 2010')");
    Dialog again(record, false);
    ASSERT_TRUE(again.create());
    choose(again, Dialog::SCENARIO, "Child");
    QApplication::processEvents();
    EXPECT_EQ(combo(again, Dialog::ALGORITHM)->currentText(), "AHA 2010");
    EXPECT_EQ(combo(again, Dialog::SCENARIO)->currentText(), "Child") << "all three agree: the scenario stays";
}

// A planned session's length typed over one picked from the list is the one stored.
TEST_F(SessionDialogWindow, aLengthTypedOverAPickIsTheOneStored)
{
    const SessionRecord record = session(false);
    store(record);
    Dialog dialog(record, false);
    ASSERT_TRUE(dialog.create());
    choose(dialog, Dialog::DURATION, "05:00");
    QLineEdit* edit = combo(dialog, Dialog::DURATION)->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "04:30");
    QApplication::processEvents();
    ASSERT_TRUE(enabled(dialog, SAVE));
    click(dialog, SAVE);
    EXPECT_EQ(column("Session", "Duration"), (std::vector<std::string>{"270"}));
}

TEST_F(SessionDialogWindow, closingWithChangesAsksAndCancelKeepsTheDialog)
{
    const SessionRecord record = session(true);
    store(record);
    Dialog dialog(record, true);
    showActive(dialog);
    type(dialog, Dialog::NOTES, "Too shallow");
    EXPECT_TRUE(enabled(dialog, SAVE));

    asker.answers = {platform::IDCANCEL};
    QTest::keyClick(&dialog, Qt::Key_Escape);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Session information was changed. Save the changes?");
    EXPECT_EQ(asker.asked[0].style, 0x23u);
    EXPECT_TRUE(dialog.isVisible());

    asker.answers = {platform::IDYES};
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"Too shallow"}));
}

TEST_F(SessionDialogWindow, aSessionThatIsNotStoredOpensAsANewEntryThatSaveAdds)
{
    const SessionRecord record = session(false);
    Dialog dialog(record, false);
    ASSERT_TRUE(dialog.create());
    EXPECT_TRUE(dialog.isNewEntry());
    type(dialog, Dialog::NOTES, "Planned");
    click(dialog, SAVE);
    EXPECT_EQ(column("Session", "Serialidentifier"), (std::vector<std::string>{record.Serialidentifier}));
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"Planned"}));
    EXPECT_EQ(column("Session", "CourseInstructor"), (std::vector<std::string>{"Ida"}));
    EXPECT_FALSE(dialog.isNewEntry());
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(SessionDialogWindow, deleteTakesTheDataFileOnlyWithTheRow)
{
    const SessionRecord record = session(true);
    store(record);
    const std::filesystem::path dataFile = record.dataFileName().value();
    kovatest::writeFile(dataFile, "0\r\n0\r\n");

    // A row the database keeps keeps its data file, and the user is told.
    exec("CREATE TRIGGER \"keepSessions\" BEFORE DELETE ON \"Session\" BEGIN SELECT RAISE(ABORT, 'kept'); END");
    {
        Dialog dialog(record, true);
        showActive(dialog);
        asker.answers = {platform::IDYES};
        click(dialog, REMOVE);
        ASSERT_FALSE(asker.asked.empty());
        EXPECT_EQ(asker.asked[0].style, 0x134u);
        EXPECT_NE(asker.asked.back().text.find(L"An unexpected error occured"), std::wstring::npos);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(kovatest::readFile(dataFile), "0\r\n0\r\n");
        EXPECT_EQ(count("Session"), 1);
    }
    exec("DROP TRIGGER \"keepSessions\"");

    asker.asked.clear();
    Dialog dialog(record, true);
    showActive(dialog);
    asker.answers = {platform::IDYES};
    click(dialog, REMOVE);
    EXPECT_EQ(asker.asked.size(), 1u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(count("Session"), 0);
    EXPECT_FALSE(std::filesystem::exists(dataFile));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dataFile.parent_path()),
                            std::filesystem::directory_iterator()),
              std::count_if(std::filesystem::directory_iterator(dataFile.parent_path()),
                            std::filesystem::directory_iterator(),
                            [](const auto& entry) { return entry.path().extension() != ".removing"; }))
        << "nothing left aside";
}

TEST_F(SessionDialogWindow, graphAndDebriefingShowTheStoredSessionOneAtATime)
{
    SessionRecord record = session(true);
    store(record);
    {
        Dialog dialog(record, true);
        ASSERT_TRUE(dialog.create());
        type(dialog, Dialog::NOTES, "typed, not stored");
        click(dialog, Dialog::GRAPH);
        click(dialog, Dialog::DEBRIEFING);
        ASSERT_EQ(inspected.size(), 2u);
        EXPECT_FALSE(inspected[0].debriefing);
        EXPECT_TRUE(inspected[1].debriefing);
        EXPECT_EQ(inspected[1].openBefore, 0) << "the earlier session goes before the next is built";
        EXPECT_EQ(inspected[0].record.Manikin, -1) << "bound to the data file, not to a port";
        EXPECT_EQ(inspected[0].record.Serialidentifier, record.Serialidentifier);
        EXPECT_EQ(inspected[0].record.Note, "typed, not stored");
        EXPECT_EQ(inspected[0].algorithm, "ERC 2010");
        EXPECT_EQ(open, 1);
    }
    EXPECT_EQ(open, 0) << "the dialog takes its session with it";

    SessionDialog::setInspector({});
    Dialog without(record, true);
    ASSERT_TRUE(without.create());
    EXPECT_FALSE(enabled(without, Dialog::GRAPH));
    EXPECT_FALSE(enabled(without, Dialog::DEBRIEFING));
}

TEST_F(SessionDialogWindow, enterInTheNotesMovesToVentilation)
{
    const SessionRecord record = session(true);
    store(record);
    Dialog dialog(record, true);
    showActive(dialog);
    QWidget* notes = item(dialog, Dialog::NOTES);
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Return);
    QWidget* focused = QApplication::focusWidget();
    QWidget* ventilation = item(dialog, Dialog::VENTILATION);
    EXPECT_TRUE(focused == ventilation || ventilation->isAncestorOf(focused));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(text(dialog, Dialog::NOTES), "Good rhythm");
}

TEST(SessionDialogManikin, aPortIsShownByItsNumberAndItsKind)
{
    EXPECT_EQ(SessionDialog::manikinText(1), "1 - USB");
    EXPECT_EQ(SessionDialog::manikinText(256), "256 - USB");
    EXPECT_EQ(SessionDialog::manikinText(257), "257 - ");
    EXPECT_EQ(SessionDialog::manikinText(0), "");
    EXPECT_EQ(SessionDialog::manikinText(-1), "");
}

TEST_F(SessionDialogWindow, screenshot)
{
    SessionRecord record = session(true);
    record.Approved = 1;
    record.ApprovedBy = "Ida";
    store(record);
    Dialog dialog(record, true);
    showActive(dialog);
    saveScreenshot(dialog, "SessionDialog");
}

} // namespace
