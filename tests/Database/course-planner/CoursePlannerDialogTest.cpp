// The "Course planner" window on a temporary SQLite data source: the time
// slots of new rows, the lock, the row commands and their beeps, what Save,
// Delete and navigation do with the schedule, what a refused store keeps,
// scrolling, printing, and its screenshot.

#include "RecordDialogFixture.h"

#include "Database/SessionTable.h"
#include "Database/course-planner/CoursePlannerDialog.h"
#include "Database/course-planner/CoursePlannerTable.h"
#include "Database/editors/PersonDialog.h"
#include "Database/editors/ScenarioDialog.h"
#include "Rodezir/dialogs/ControlNotifier.h"
#include "RunProgram.h"
#include "platform/PdfPrintDialogAsker.h"
#include "platform/PrintDialog.h"

#include <QScrollBar>

#include <filesystem>
#include <functional>
#include <tuple>

namespace {

constexpr int INSTRUCTOR = 1028, DATE = 1129, START_TIME = 1109, DEFAULT_SCENARIO = 1235, NOTES = 1121;
constexpr int NEW = 1112, REMOVE = 1113, SAVE = 1114, FIRST = 1126, NEXT = 1116, QUICK_FIND = 1242;
constexpr int MOVE_UP = 1108, MOVE_DOWN = 1166, REMOVE_ROW = 1168, SORT = 1167, PRINT = 1169, RUN_COURSE = 9;
constexpr int SCROLL_BAR = 1256, HIGHLIGHT = 1179;
constexpr int IDYES = 6, IDNO = 7, IDCANCEL = 2;

using Row = CoursePlannerDialog::RowControls;
const Row* const ROWS = CoursePlannerDialog::ROWS;

class CoursePlannerWindow : public RecordDialogFixture {
protected:
    void SetUp() override
    {
        RecordDialogFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        registerCoursePlannerTable();
        addScenario("Basic", 600, 1);
        addScenario("Long", 1800, 1);
    }
    void TearDown() override
    {
        CoursePlannerDialog::setRowDetails({});
        CoursePlannerDialog::setRunCourse({});
        RecordDialogFixture::TearDown();
    }

    void addScenario(const std::string& name, long long duration, long long mode)
    {
        exec("INSERT INTO \"Scenario\" (\"Name\", \"Duration\", \"TrainingMode\") VALUES (?, ?, ?)",
             {name, duration, mode});
    }
    void addPerson(const std::string& name, bool instructor)
    {
        exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\") VALUES (?, ?)", {name, instructor ? 1LL : 0LL});
    }

    static QComboBox* box(CoursePlannerDialog& dialog, int id) { return qobject_cast<QComboBox*>(item(dialog, id)); }
    // Types into an editable combo box, as into its edit field.
    static void typeInto(CoursePlannerDialog& dialog, int id, const QString& typed) { box(dialog, id)->setEditText(typed); }
    static void leave(CoursePlannerDialog& dialog, int id)
    {
        dialog.notifier().dispatch(id, kova::Notification::FocusLost);
    }
    // Fills visible row k's persons (and manikin) and leaves the row.
    static void fillRow(CoursePlannerDialog& dialog, int k, const QString& ventilation, const QString& compression,
                        const QString& manikin = {})
    {
        const Row& row = ROWS[k - 1];
        if (!manikin.isEmpty())
            typeInto(dialog, row.manikin, manikin);
        typeInto(dialog, row.ventilation, ventilation);
        typeInto(dialog, row.compression, compression);
        leave(dialog, row.ventilation);
    }
    static std::string times(const SessionRecord& row) { return row.StartTime + "-" + row.EndTime; }
    static std::vector<std::string> timeSlots(const CourseSchedule& schedule)
    {
        std::vector<std::string> result;
        for (const SessionRecord& row : schedule.rows())
            result.push_back(times(row));
        return result;
    }
    static std::vector<std::string> ventilators(const CourseSchedule& schedule)
    {
        std::vector<std::string> result;
        for (const SessionRecord& row : schedule.rows())
            result.push_back(row.PersonVentilation);
        return result;
    }
    // A planner on a new course of "Ann" at 09:00 on 2025-03-04.
    void openOnNewCourse(CoursePlannerDialog& dialog)
    {
        showActive(dialog);
        typeInto(dialog, INSTRUCTOR, "Ann");
        leave(dialog, INSTRUCTOR);
    }

    ScopedRecordTime now{2025, 3, 4, 9, 0};
};

TEST_F(CoursePlannerWindow, newRowsTakeTheNextSlotOnTheirManikinOrStartBesideTheRowBefore)
{
    struct Case {
        const char* manikinOfFirstRow;
        const char* secondSlot;
    } cases[] = {{"", "09:13-09:23"}, {"2", "09:02-09:12"}};
    for (const Case& c : cases) {
        CoursePlannerDialog dialog;
        openOnNewCourse(dialog);
        ASSERT_EQ(dialog.schedule().rowCount(), 1);
        EXPECT_EQ(times(dialog.schedule().row(0)), "09:02-09:12") << "two minutes after the course";
        EXPECT_EQ(text(dialog, ROWS[0].start), "09:02");
        EXPECT_EQ(text(dialog, ROWS[0].end), "09:12");
        EXPECT_EQ(text(dialog, ROWS[0].number), "1");
        EXPECT_FALSE(item(dialog, ROWS[1].ventilation)->isVisible()) << "one row, three hidden";

        fillRow(dialog, 1, "Bob", "Cid", c.manikinOfFirstRow);
        ASSERT_EQ(dialog.schedule().rowCount(), 2) << c.manikinOfFirstRow;
        EXPECT_EQ(times(dialog.schedule().row(1)), c.secondSlot) << c.manikinOfFirstRow;
        EXPECT_EQ(text(dialog, ROWS[1].start) + "-" + text(dialog, ROWS[1].end), QString(c.secondSlot));
        EXPECT_TRUE(item(dialog, ROWS[1].ventilation)->isVisible());
        EXPECT_EQ(text(dialog, ROWS[1].ventilation), "") << "a schedule row takes no default participant";
        EXPECT_TRUE(enabled(dialog, SAVE)) << "the new row is a change";
    }
}

TEST_F(CoursePlannerWindow, theCourseStartTimeAndDefaultScenarioMoveOnlyTheBlankRow)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    fillRow(dialog, 1, "Bob", "Cid");
    type(dialog, START_TIME, "1000");
    leave(dialog, START_TIME);
    EXPECT_EQ(timeSlots(dialog.schedule()), (std::vector<std::string>{"09:02-09:12", "10:00-10:10"}));

    choose(dialog, DEFAULT_SCENARIO, "Long");
    EXPECT_EQ(timeSlots(dialog.schedule()), (std::vector<std::string>{"09:02-09:12", "10:00-10:30"}));
    EXPECT_EQ(dialog.schedule().row(0).Scenario, "Basic");
    EXPECT_EQ(dialog.schedule().row(1).Scenario, "Long");
}

TEST_F(CoursePlannerWindow, aRowsParticipantsFollowItsTrainingModeWithoutDefaultNames)
{
    addScenario("Solo", 600, 0);
    addScenario("Breaths", 600, 2);
    addScenario("Pushes", 600, 3);
    struct Case {
        const char* scenario;
        const char* ventilation;
        const char* compression;
        bool compressionOpen;
        bool ventilationOpen;
    } cases[] = {
        {"Solo", "Bob", "Bob", false, true},    // one person does both
        {"Breaths", "Bob", "", false, true},    // nobody compresses
        {"Pushes", "", "Cid", true, false},     // nobody ventilates
        {"Basic", "Bob", "Cid", true, true},    // two persons
    };
    for (const Case& c : cases) {
        CoursePlannerDialog dialog;
        openOnNewCourse(dialog);
        choose(dialog, DEFAULT_SCENARIO, c.scenario);
        EXPECT_EQ(text(dialog, ROWS[0].ventilation), "") << c.scenario << ": no default name in the blank row";
        EXPECT_EQ(text(dialog, ROWS[0].compression), "") << c.scenario;
        fillRow(dialog, 1, "Bob", "Cid");

        const CourseSchedule& schedule = dialog.schedule();
        ASSERT_EQ(schedule.rowCount(), 2) << c.scenario;
        EXPECT_EQ(schedule.row(0).PersonVentilation, c.ventilation) << c.scenario;
        EXPECT_EQ(schedule.row(0).PersonChestCompression, c.compression) << c.scenario;
        EXPECT_EQ(text(dialog, ROWS[0].ventilation), c.ventilation) << c.scenario;
        EXPECT_EQ(text(dialog, ROWS[0].compression), c.compression) << c.scenario;
        EXPECT_EQ(enabled(dialog, ROWS[0].ventilation), c.ventilationOpen) << c.scenario;
        EXPECT_EQ(enabled(dialog, ROWS[0].compression), c.compressionOpen) << c.scenario;
        EXPECT_EQ(schedule.row(1).PersonVentilation, "") << c.scenario << ": the blank row stays blank";
        EXPECT_EQ(schedule.row(1).PersonChestCompression, "") << c.scenario;
    }
}

TEST_F(CoursePlannerWindow, anIncompleteKeyLocksTheRowsUntilItIsComplete)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    fillRow(dialog, 1, "Bob", "Cid");
    EXPECT_EQ(dialog.highlightedRow(), 1);
    EXPECT_TRUE(item(dialog, HIGHLIGHT)->isVisible());

    typeInto(dialog, INSTRUCTOR, "");
    EXPECT_TRUE(dialog.schedule().locked());
    EXPECT_EQ(dialog.highlightedRow(), 0);
    EXPECT_FALSE(item(dialog, HIGHLIGHT)->isVisible());
    for (int k = 0; k < 2; ++k)
        for (int id : {ROWS[k].ventilation, ROWS[k].compression, ROWS[k].manikin, ROWS[k].start})
            EXPECT_FALSE(enabled(dialog, id)) << id;
    for (int id : {MOVE_UP, MOVE_DOWN, REMOVE_ROW, SORT})
        click(dialog, id);
    EXPECT_EQ(beeps, 4);
    EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Bob", ""}));

    click(dialog, SAVE);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text,
              L"A course has to have an instructor, date, and time.\nPlease fill in these fields before you proceed.");

    typeInto(dialog, INSTRUCTOR, "Ann");
    EXPECT_FALSE(dialog.schedule().locked());
    EXPECT_EQ(dialog.highlightedRow(), 1);
    EXPECT_TRUE(enabled(dialog, ROWS[0].ventilation));
}

TEST_F(CoursePlannerWindow, commandsThatCannotActBeepOnceAndChangeNothing)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    click(dialog, SORT);
    EXPECT_EQ(beeps, 1) << "sort with only the blank row";
    click(dialog, REMOVE_ROW);
    EXPECT_EQ(beeps, 2) << "remove the blank row";

    fillRow(dialog, 1, "Bob", "Cid");
    fillRow(dialog, 2, "Dan", "Eve");
    item(dialog, ROWS[0].ventilation)->setFocus();
    QApplication::processEvents();
    click(dialog, MOVE_UP);
    EXPECT_EQ(beeps, 3) << "move up on the first row";
    item(dialog, ROWS[1].ventilation)->setFocus();
    QApplication::processEvents();
    click(dialog, MOVE_DOWN);
    EXPECT_EQ(beeps, 4) << "move down onto the blank row";
    EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Bob", "Dan", ""}));
}

TEST_F(CoursePlannerWindow, saveStoresTheRowsInOrderWithoutTheBlankRowAndDeleteTakesThemAway)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    fillRow(dialog, 1, "Bob", "Cid");
    fillRow(dialog, 2, "Dan", "Eve", "2");
    fillRow(dialog, 3, "Fay", "Gus");
    // Dan's row moves up and takes Bob's time slot.
    item(dialog, ROWS[1].compression)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dialog.highlightedRow(), 2);
    click(dialog, MOVE_UP);
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(dialog.highlightedRow(), 1) << "the selection follows the row";
    EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Dan", "Bob", "Fay", ""}));
    EXPECT_EQ(dialog.schedule().row(0).StartTime, "09:02");
    EXPECT_EQ(dialog.schedule().row(0).Manikin, 2);

    click(dialog, SAVE);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_FALSE(enabled(dialog, SAVE));
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Dan", "Bob", "Fay"}));
    EXPECT_EQ(column("Session", "CourseOrder"), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(column("Session", "CourseInstructor"), (std::vector<std::string>{"Ann", "Ann", "Ann"}));
    // Fay's row began beside Dan's, which was on another manikin.
    EXPECT_EQ(column("Session", "StartTime"), (std::vector<std::string>{"09:02", "09:13", "09:13"}));
    // The participants typed into the rows are persons now.
    EXPECT_EQ(count("Person"), 6);
    EXPECT_EQ(box(dialog, ROWS[0].ventilation)->findText("Gus") >= 0, true) << "the lists were refilled";

    asker.answers = {IDYES};
    click(dialog, REMOVE);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text,
              L"Are you sure you want to remove this course\nand all related sessions?\nYou can not undo this operation.");
    EXPECT_EQ(count("Course"), 0);
    EXPECT_EQ(count("Session"), 0);
    EXPECT_TRUE(dialog.isNewEntry());
    EXPECT_EQ(dialog.schedule().rowCount(), 1) << "only a blank row is left";
}

TEST_F(CoursePlannerWindow, aStoredRowWithoutParticipantsSurvivesTheNextSave)
{
    {
        CoursePlannerDialog dialog;
        openOnNewCourse(dialog);
        fillRow(dialog, 1, "Bob", "Cid");
        fillRow(dialog, 2, "Dan", "Eve");
        click(dialog, SAVE);
    }
    exec("UPDATE \"Session\" SET \"PersonVentilation\" = '', \"PersonChestCompression\" = '' "
         "WHERE \"PersonVentilation\" = 'Dan'");
    CoursePlannerDialog dialog;
    showActive(dialog);
    choose(dialog, QUICK_FIND, "Ann on 2025-03-04 at 09:00");
    ASSERT_FALSE(dialog.isNewEntry());
    ASSERT_EQ(dialog.schedule().rowCount(), 3) << "two stored rows and the blank row";
    type(dialog, NOTES, "Bring towels.");
    click(dialog, SAVE);
    EXPECT_EQ(count("Session"), 2);
    EXPECT_EQ(column("Course", "Note"), (std::vector<std::string>{"Bring towels."}));
}

TEST_F(CoursePlannerWindow, aScheduleTheDatabaseRefusesStaysAsTypedAndChanged)
{
    // An earlier course to step back to.
    exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\") VALUES ('Ann', '2025-03-04', '08:00')");
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    fillRow(dialog, 1, "Bob", "Cid");
    fillRow(dialog, 2, "Dan", "Eve");
    refuseInserts("Session", "PersonVentilation", "Dan");

    click(dialog, SAVE);
    ASSERT_FALSE(asker.asked.empty()) << "the database's refusal is told";
    EXPECT_EQ(count("Session"), 0) << "all or nothing";
    EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Bob", "Dan", ""}));
    EXPECT_TRUE(dialog.schedule().modified());
    EXPECT_TRUE(enabled(dialog, SAVE));

    // Printing needs the schedule stored: nothing is printed.
    platform::PdfPrintDialogAsker print;
    platform::ScopedPrintDialogAsker printScope(print);
    print.outputFile = folder.file("refused-schedule.pdf");
    click(dialog, PRINT);
    EXPECT_EQ(print.shown, 0);

    // Yes to the question on any way out tries again; refused, the window,
    // its rows and their changed state stay.
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"New", [&] { click(dialog, NEW); }},
        {"First", [&] { click(dialog, FIRST); }},
        {"Close", [&] { click(dialog, IDCANCEL); }},
        {"the close box", [&] { dialog.close(); }},
    };
    for (const auto& [road, leaveBy] : roads) {
        SCOPED_TRACE(road);
        asker.asked.clear();
        asker.answers = {IDYES};
        leaveBy();
        QApplication::processEvents();
        ASSERT_EQ(asker.asked.size(), 2u) << "asked, then told of the refusal";
        EXPECT_EQ(asker.asked[0].text, L"Course plan was changed. Save the changes?");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Bob", "Dan", ""}));
        EXPECT_TRUE(dialog.schedule().modified());
        EXPECT_TRUE(enabled(dialog, SAVE));
        EXPECT_EQ(count("Session"), 0);
    }

    // Leaving asks, and No drops the rows for the stored ones.
    asker.asked.clear();
    asker.answers = {IDNO};
    click(dialog, NEW);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Course plan was changed. Save the changes?");
    EXPECT_TRUE(dialog.isNewEntry());
    EXPECT_FALSE(dialog.schedule().modified());
}

TEST_F(CoursePlannerWindow, finishedSessionsGoOnlyAfterAQuestionThatNamesThemAndTakeTheirDataFiles)
{
    makeDataFolder();
    {
        CoursePlannerDialog dialog;
        openOnNewCourse(dialog);
        fillRow(dialog, 1, "Bob", "Cid");
        fillRow(dialog, 2, "Dan", "Eve");
        fillRow(dialog, 3, "Fay", "Gus");
        click(dialog, SAVE);
    }
    exec("UPDATE \"Session\" SET \"Done\" = 1 WHERE \"PersonVentilation\" IN ('Bob', 'Fay')");
    const auto dataFileOf = [this](const std::string& ventilation) {
        SessionTable table(theDatabase);
        table.open("");
        for (const SessionRecord& row : table.findCourseSessions({"Ann", "2025-03-04", "09:00"}))
            if (row.PersonVentilation == ventilation)
                return std::filesystem::path(row.dataFileName().value());
        return std::filesystem::path();
    };
    const std::filesystem::path bob = dataFileOf("Bob"), fay = dataFileOf("Fay");
    kovatest::writeFile(bob, "Bob's samples");
    kovatest::writeFile(fay, "Fay's samples");

    CoursePlannerDialog dialog;
    showActive(dialog);
    choose(dialog, QUICK_FIND, "Ann on 2025-03-04 at 09:00");
    ASSERT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Bob", "Dan", "Fay", ""}));

    // Remove row: a planned row goes without a word, a finished one only on Yes.
    item(dialog, ROWS[1].ventilation)->setFocus();
    QApplication::processEvents();
    click(dialog, REMOVE_ROW);
    EXPECT_TRUE(asker.asked.empty());
    item(dialog, ROWS[0].ventilation)->setFocus();
    QApplication::processEvents();
    for (int answer : {IDNO, IDYES}) {
        asker.asked.clear();
        asker.answers = {answer};
        click(dialog, REMOVE_ROW);
        ASSERT_EQ(asker.asked.size(), 1u);
        EXPECT_NE(asker.asked[0].text.find(L"Row 1 (09:02): Bob and Cid"), std::wstring::npos);
        EXPECT_NE(asker.asked[0].text.find(L"stored result and its data file"), std::wstring::npos);
    }
    EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Fay", ""}));
    EXPECT_TRUE(std::filesystem::exists(bob)) << "nothing goes before the course is saved";
    asker.asked.clear();
    click(dialog, SAVE);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Fay"}));
    EXPECT_FALSE(std::filesystem::exists(bob));
    EXPECT_TRUE(std::filesystem::exists(fay));

    // Delete course names the finished sessions that go with it.
    for (int answer : {IDNO, IDYES}) {
        asker.asked.clear();
        asker.answers = {answer};
        click(dialog, REMOVE);
        ASSERT_EQ(asker.asked.size(), 1u);
        EXPECT_EQ(asker.asked[0].text,
                  L"Are you sure you want to remove this course\nand all related sessions?\nYou can not undo this "
                  L"operation.\n\nThese sessions of the course have been run; their stored results and data files "
                  L"are deleted too:\nRow 1 (09:24): Fay and Gus");
        EXPECT_EQ(count("Course"), answer == IDYES ? 0 : 1);
        EXPECT_EQ(std::filesystem::exists(fay), answer == IDNO);
    }
    EXPECT_EQ(count("Session"), 0);
    EXPECT_FALSE(std::filesystem::exists(fay.string() + ".removing"));
}

TEST_F(CoursePlannerWindow, cancelOnTheSaveQuestionOfAStepKeepsTheScheduleEdits)
{
    addPerson("Ann", true);
    for (const char* time : {"08:00", "09:00"})
        exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\", \"DefaultScenario\") "
             "VALUES ('Ann', '2025-03-04', ?, 'Basic')",
             {std::string(time)});
    CoursePlannerDialog dialog;
    showActive(dialog);
    click(dialog, FIRST);
    ASSERT_EQ(text(dialog, START_TIME), "08:00");
    fillRow(dialog, 1, "Bob", "Cid");

    for (int step : {NEXT, QUICK_FIND}) {
        asker.answers = {IDCANCEL};
        if (step == QUICK_FIND)
            choose(dialog, QUICK_FIND, "Ann on 2025-03-04 at 09:00");
        else
            click(dialog, step);
        EXPECT_EQ(text(dialog, START_TIME), "08:00") << step;
        EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Bob", ""})) << step;
        EXPECT_TRUE(dialog.schedule().modified()) << step;
    }
    asker.answers = {IDYES};
    click(dialog, NEXT);
    EXPECT_EQ(text(dialog, START_TIME), "09:00");
    EXPECT_EQ(column("Session", "CourseTime"), (std::vector<std::string>{"08:00"}));
    EXPECT_EQ(dialog.schedule().rowCount(), 1) << "the next course has no sessions yet";
}

TEST_F(CoursePlannerWindow, aSessionThatWasRunKeepsItsManikinAndStartTime)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    fillRow(dialog, 1, "Bob", "Cid");
    fillRow(dialog, 2, "Dan", "Eve");
    click(dialog, SAVE);
    exec("UPDATE \"Session\" SET \"Done\" = 1 WHERE \"PersonVentilation\" = 'Bob'");
    choose(dialog, QUICK_FIND, "Ann on 2025-03-04 at 09:00");
    ASSERT_TRUE(dialog.schedule().row(0).Done);
    EXPECT_FALSE(enabled(dialog, ROWS[0].manikin));
    EXPECT_FALSE(enabled(dialog, ROWS[0].start));
    EXPECT_TRUE(enabled(dialog, ROWS[0].ventilation));
    EXPECT_TRUE(enabled(dialog, ROWS[1].start));

    // Moved below Dan's row, it keeps the times it ran at.
    item(dialog, ROWS[1].ventilation)->setFocus();
    QApplication::processEvents();
    click(dialog, MOVE_UP);
    EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Dan", "Bob", ""}));
    EXPECT_EQ(times(dialog.schedule().row(1)), "09:02-09:12");
    EXPECT_FALSE(enabled(dialog, ROWS[1].start));
    EXPECT_TRUE(enabled(dialog, ROWS[0].start));
}

TEST_F(CoursePlannerWindow, sixRowsScrollByPagesOfFour)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    const QString names[] = {"P1", "P2", "P3", "P4"};
    for (int k = 1; k <= 4; ++k)
        fillRow(dialog, k, names[k - 1], "X");
    auto* bar = qobject_cast<QScrollBar*>(item(dialog, SCROLL_BAR));
    ASSERT_NE(bar, nullptr);
    // The blank row below the window comes into view a line further down.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(dialog.schedule().topRow(), 1);
    fillRow(dialog, 4, "P5", "X");
    ASSERT_EQ(dialog.schedule().rowCount(), 6);
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->pageStep(), 4);

    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(dialog.schedule().topRow(), 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dialog.schedule().topRow(), 2) << "a page, held at the last full window";
    EXPECT_EQ(text(dialog, ROWS[0].number), "3");
    EXPECT_EQ(text(dialog, ROWS[3].number), "6");
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dialog.schedule().topRow(), 1);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(dialog.schedule().topRow(), 0);
    EXPECT_EQ(text(dialog, ROWS[0].ventilation), "P1");
}

TEST_F(CoursePlannerWindow, printAndRunCourseStoreTheCourseFirst)
{
    bool ran = false;
    CourseRecord runCourse;
    CoursePlannerDialog::setRunCourse([&](const CourseRecord& course) {
        ran = true;
        runCourse = course;
    });
    platform::PdfPrintDialogAsker print;
    platform::ScopedPrintDialogAsker printScope(print);
    print.outputFile = (kovatest::binaryDir() / "course-planner-schedule.pdf").string();
    std::filesystem::remove(print.outputFile);

    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    fillRow(dialog, 1, "Bob", "Cid");
    fillRow(dialog, 2, "Dan", "Eve", "2");
    click(dialog, PRINT);
    EXPECT_EQ(print.shown, 1);
    EXPECT_EQ(count("Session"), 2) << "stored before it printed";
    const kovatest::ProgramRun pdf = kovatest::runProgram("/usr/bin/pdftotext", {"-layout", print.outputFile, "-"});
    EXPECT_NE(pdf.output.find("Instructor: Ann on 2025-03-04 at 09:00"), std::string::npos) << pdf.output;
    EXPECT_NE(pdf.output.find("09:13-09:23"), std::string::npos) << pdf.output;
    // The default scenario's line and the two rows: the blank row is no session.
    std::size_t basic = 0;
    for (auto at = pdf.output.find("Basic"); at != std::string::npos; at = pdf.output.find("Basic", at + 1))
        ++basic;
    EXPECT_EQ(basic, 3u) << pdf.output;

    ASSERT_TRUE(enabled(dialog, RUN_COURSE));
    fillRow(dialog, 3, "Fay", "Gus");
    click(dialog, RUN_COURSE);
    EXPECT_TRUE(dialog.runCourseChosen());
    EXPECT_TRUE(ran);
    EXPECT_EQ(runCourse.instructor, "Ann");
    EXPECT_EQ(count("Session"), 3);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(CoursePlannerWindow, aRowsDetailsOpenItsStoredSessionAndTakeBackWhatItLeft)
{
    std::string opened;
    CoursePlannerDialog::setRowDetails([&](const SessionRecord& row, QWidget*) -> std::optional<SessionRecord> {
        opened = row.Serialidentifier;
        SessionRecord edited = row;
        edited.PersonChestCompression = "Zoe";
        edited.StartTime = "11:00";
        return edited;
    });
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    fillRow(dialog, 1, "Bob", "Cid");
    EXPECT_FALSE(enabled(dialog, ROWS[1].details)) << "the blank row has no details";
    ASSERT_TRUE(enabled(dialog, ROWS[0].details));
    click(dialog, ROWS[0].details);
    EXPECT_EQ(column("Session", "Serialidentifier"), (std::vector<std::string>{opened})) << "stored before it opened";
    EXPECT_EQ(text(dialog, ROWS[0].compression), "Zoe");
    EXPECT_EQ(times(dialog.schedule().row(0)), "11:00-11:10") << "the end follows the start it came back with";
    EXPECT_TRUE(dialog.schedule().modified());
}

TEST_F(CoursePlannerWindow, theCoursesDetailsButtonsTakeBackWhatTheEditorsEndedOn)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    whenModalOpens([](QWidget* modal) {
        auto* person = qobject_cast<PersonDialog*>(modal);
        ASSERT_NE(person, nullptr);
        EXPECT_EQ(text(*person, recordcontrols::NAME), "Ann");
        EXPECT_TRUE(person->isDlgButtonChecked(1028)) << "an instructor";
        EXPECT_FALSE(person->allowDelete());
        type(*person, 1120, "555 12");
        click(*person, recordcontrols::SAVE);
        click(*person, recordcontrols::CLOSE);
    });
    click(dialog, 1130);
    EXPECT_EQ(column("Person", "Instructor"), (std::vector<std::string>{"1"}));
    EXPECT_GE(box(dialog, INSTRUCTOR)->findText("Ann"), 0) << "the instructors were listed again";
    EXPECT_EQ(text(dialog, INSTRUCTOR), "Ann");

    whenModalOpens([](QWidget* modal) {
        auto* scenario = qobject_cast<ScenarioDialog*>(modal);
        ASSERT_NE(scenario, nullptr);
        EXPECT_EQ(text(*scenario, recordcontrols::NAME), "Basic");
        click(*scenario, NEW);
        type(*scenario, recordcontrols::NAME, "Short");
        click(*scenario, recordcontrols::SAVE);
        click(*scenario, recordcontrols::CLOSE);
    });
    click(dialog, 1081);
    EXPECT_EQ(box(dialog, DEFAULT_SCENARIO)->currentText(), "Short");
    EXPECT_EQ(dialog.schedule().row(0).Scenario, "Short") << "the blank row takes the chosen scenario";
}

// A name typed over one picked from a row's list is the row's.
TEST_F(CoursePlannerWindow, aNameTypedOverAPickedOneIsTheRows)
{
    addPerson("Bob", false);
    addPerson("Cid", false);
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    const Row& row = ROWS[0];
    for (const auto& [id, picked, typed] : {std::tuple{row.ventilation, "Bob", "Dan"}, {row.compression, "Cid", "Eve"}}) {
        choose(dialog, id, picked);
        QLineEdit* edit = box(dialog, id)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
    }
    leave(dialog, row.ventilation);
    ASSERT_GE(dialog.schedule().rowCount(), 1);
    EXPECT_EQ(dialog.schedule().row(0).PersonVentilation, "Dan");
    EXPECT_EQ(dialog.schedule().row(0).PersonChestCompression, "Eve");
    click(dialog, SAVE);
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Dan"}));
    EXPECT_EQ(column("Session", "PersonChestCompression"), (std::vector<std::string>{"Eve"}));
}

TEST_F(CoursePlannerWindow, enterInARowMovesOnAndTheNameIsNoListEntry)
{
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    QComboBox* ventilation = box(dialog, ROWS[0].ventilation);
    ventilation->setFocus();
    QApplication::processEvents();
    typeInto(dialog, ROWS[0].ventilation, "Bob");
    QTest::keyClick(ventilation, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible()) << "Enter never closes the planner";
    EXPECT_NE(QApplication::focusWidget(), ventilation);
    EXPECT_EQ(ventilators(dialog.schedule()), (std::vector<std::string>{"Bob", ""})) << "left, so committed";
    EXPECT_EQ(ventilation->findText("Bob"), -1) << "only persons are listed";
}

TEST_F(CoursePlannerWindow, screenshotWithRowsAndTheHighlight)
{
    addPerson("Ann", true);
    CoursePlannerDialog dialog;
    openOnNewCourse(dialog);
    type(dialog, NOTES, "Bring towels and the spare face shields.");
    fillRow(dialog, 1, "Bob Baker", "Cid Carter");
    fillRow(dialog, 2, "Dan Dorsey", "Eve Evans", "2");
    fillRow(dialog, 3, "Fay Fischer", "Gus Grant");
    item(dialog, ROWS[1].ventilation)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dialog.highlightedRow(), 2);
    saveScreenshot(dialog, "Course planner");

    // Made wider and taller, the rows grow and the frame follows its row.
    dialog.resize(dialog.width() + 240, dialog.height() + 80);
    QApplication::processEvents();
    const QRect frame = item(dialog, HIGHLIGHT)->geometry();
    const QRect details = item(dialog, ROWS[0].details)->geometry();
    const QRect field = item(dialog, ROWS[1].ventilation)->geometry();
    EXPECT_EQ(frame.right(), details.right() + 3);
    EXPECT_EQ(frame.top(), field.top() - 3);
    EXPECT_GT(field.width(), 150);
    saveScreenshot(dialog, "Course planner resized");
}

// A name typed into a row and never left is part of the course on every
// road to storing it, as leaving the box would make it: the row is stored
// as the window shows it.
TEST_F(CoursePlannerWindow, aRowStillBeingTypedIsStoredOnEveryRoad)
{
    const auto mnemonic = [](Qt::Key key, int id) {
        return [key, id](CoursePlannerDialog& dialog, QWidget* field) {
            auto* button = qobject_cast<QAbstractButton*>(item(dialog, id));
            QTest::keyClick(field, key, Qt::AltModifier);
            // The button shows its press, then clicks.
            for (int wait = 0; wait < 100 && button->isDown(); ++wait)
                QTest::qWait(10);
            EXPECT_FALSE(button->isDown());
        };
    };
    const std::pair<const char*, std::function<void(CoursePlannerDialog&, QWidget*)>> roads[] = {
        {"Save button", [](CoursePlannerDialog& dialog, QWidget*) { click(dialog, SAVE); }},
        {"Alt+S", mnemonic(Qt::Key_S, SAVE)},
        {"New, Alt+N", mnemonic(Qt::Key_N, NEW)},
        {"Escape", [](CoursePlannerDialog&, QWidget* field) { QTest::keyClick(field, Qt::Key_Escape); }},
        {"close box", [](CoursePlannerDialog& dialog, QWidget*) { dialog.close(); }},
    };
    for (const auto& [name, road] : roads) {
        SCOPED_TRACE(name);
        exec("DELETE FROM \"Session\"");
        exec("DELETE FROM \"Course\"");
        CoursePlannerDialog dialog;
        openOnNewCourse(dialog);
        QComboBox* ventilation = box(dialog, ROWS[0].ventilation);
        ventilation->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(ventilation, "Bob");
        ASSERT_EQ(QApplication::focusWidget(), ventilation);
        ASSERT_EQ(ventilation->currentText(), "Bob");
        asker.answers = {IDYES};
        road(dialog, ventilation);
        QApplication::processEvents();
        EXPECT_LE(asker.asked.size(), 1u);
        EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Bob"}));
        if (std::string(name) == "Alt+S") {
            EXPECT_EQ(text(dialog, ROWS[0].ventilation), "Bob");
            EXPECT_FALSE(enabled(dialog, SAVE));
            saveScreenshot(dialog, "course-planner-typed-row-stored");
        }
        asker.asked.clear();
    }
}

} // namespace
