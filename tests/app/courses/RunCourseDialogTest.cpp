// The "Run course" window in the station's Run-course frame, on a temporary
// SQLite data source and the demonstration's recorded-data manikins (ports
// 247 to 256): the blank row's time slot, paging, the row commands and their
// beeps, locked rows, a new scenario's end, Enter, the start problems, a
// session started, paused, resumed, ended and closed from its row, closing
// the window with its sessions, writing the rows back, the planner's way in,
// printing, and its screenshot. A simulated manikin on a pseudo-terminal
// stands for a manikin whose calibration is gone.

#include "LinkTestSupport.h"
#include "StationTestKit.h"
#include "TablesFixture.h"

#include "Database/PersonTable.h"
#include "Database/SessionTable.h"
#include "Database/course-planner/CoursePlannerDialog.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "Rodezir/DateText.h"
#include "Rodezir/dialogs/ControlNotifier.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "RunProgram.h"
#include "app/courses/CoursePlannerWindow.h"
#include "app/courses/RunCourseDialog.h"
#include "app/sessions/Session.h"
#include "app/shell/HelpWindow.h"
#include "app/shell/MainCommands.h"
#include "comm/link/SerialPort.h"
#include "controls/MaskedEdit.h"
#include "controls/MdiClientWnd.h"
#include "platform/PdfPrintDialogAsker.h"
#include "platform/PrintDialog.h"
#include "platform/SystemClock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <tuple>

namespace {

using Dialog = RunCourseDialog;
using Row = RunCourseDialog::RowControls;
const Row* const ROWS = RunCourseDialog::ROWS;

constexpr int IDCANCEL = 2;

// The station's session manager as the session window makes it: every
// session shown gets its view, and the test sees what the row held when
// the session window opened.
class RunSessionManager final : public SessionManager {
public:
    RunSessionManager() : SessionManager(true) {}
    void showSessionWindow() override
    {
        if (onShow)
            onShow();
        for (Session* session : sessions())
            showSession(session);
    }
    void showSession(Session* session) override
    {
        ++shown;
        if (session && !session->getSessionView())
            session->createSessionView();
    }
    std::function<void()> onShow;
    int shown = 0;
};

class RunCourseWindow : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        LogStream::destroy();
        CalibrateManager::destroy();
        Configuration::destroy();
        ::setenv("KOVA_PORT_MAP", "", 1);
        platform::setBeepFunction([this] { ++beeps; });
        addScenario("Basic", 600, 1);
        addScenario("Short", 120, 1);
        exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\") VALUES ('Ann', 1)");
        course.instructor = "Ann";
        course.date = "2025-03-04";
        course.time = "09:00";
        course.defaultScenario = "Basic";
        exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\", \"DefaultScenario\") VALUES (?, ?, ?, ?)",
             {course.instructor, course.date, course.time, course.defaultScenario});
        startStation();
    }
    void TearDown() override
    {
        app.reset();
        CoursePlannerDialog::setRunCourse({});
        CoursePlannerDialog::setRowDetails({});
        platform::setBeepFunction({});
        Configuration::destroy();
        CalibrateManager::destroy();
        LogStream::destroy();
        TablesFixture::TearDown();
    }

    // The demonstration station: its start-up search calibrates the
    // recorded-data ports; the New-session window waits until it is asked for.
    void startStation()
    {
        CprTrainingApp::Services s;
        s.screenHeight = [] { return 768; };
        s.fullScreenHeight = [] { return 738; };
        s.makeSessionManager = [this] {
            auto made = std::make_unique<RunSessionManager>();
            manager = made.get();
            return made;
        };
        s.openDatabase = [] {};
        s.loadConfiguration = [] { Configuration::instance(); };
        s.sendReadyMessage = [] { return false; };
        s.countReadyManikins = [] { return 0; };
        s.makeNewSessionDialog = [] { return std::make_unique<stationtest::HostedDialog>(); };
        s.upgradeDatabase = [] {};
        // The help installed with the program.
        s.stationDir = kovatest::sourceDir() / "resources" / "help";
        asker.fallback = IDCANCEL;
        app = std::make_unique<CprTrainingApp>("demo", std::move(s));
        ASSERT_TRUE(app->initInstance());
        ASSERT_TRUE(CalibrateManager::get().getIsCalibrated(247));
        // The search went on to New session; a course run starts from the planner instead.
        if (DialogFrame* newSession = app->newSessionFrame())
            newSession->hideFrame();
        asker.asked.clear();
        asker.fallback = -1;
    }

    void addScenario(const std::string& name, long long duration, long long mode)
    {
        exec("INSERT INTO \"Scenario\" (\"Name\", \"Duration\", \"TrainingMode\") VALUES (?, ?, ?)",
             {name, duration, mode});
    }

    static SessionRecord plannedRow(const std::string& ventilation, long manikin, const std::string& start,
                                    const std::string& end, bool done = false)
    {
        SessionRecord row;
        row.PersonVentilation = ventilation;
        row.PersonChestCompression = ventilation + " Jr";
        row.Scenario = "Basic";
        row.Duration = 600;
        row.Manikin = manikin;
        row.StartTime = start;
        row.EndTime = end;
        row.Done = done;
        return row;
    }
    void storeRows(std::vector<SessionRecord> rows)
    {
        SessionTable table(theDatabase);
        table.open("");
        ASSERT_TRUE(table.deleteCourseSessions(course, rows));
    }
    // `count` rows of ten minutes each on manikin 247, from 09:02 on.
    void storeRowsOf(int count)
    {
        std::vector<SessionRecord> rows;
        for (int i = 0; i < count; ++i) {
            const int start = 2 + 11 * i;
            const auto at = [](int minutes) {
                char text[8];
                std::snprintf(text, sizeof text, "%02d:%02d", 9 + minutes / 60, minutes % 60);
                return std::string(text);
            };
            rows.push_back(plannedRow("P" + std::to_string(i + 1), 247, at(start), at(start + 10)));
        }
        storeRows(rows);
    }

    // The dialog of the open Run-course window, or null.
    Dialog* runDialog() const
    {
        DialogFrame* frame = app->runCourseFrame();
        return frame ? static_cast<Dialog*>(frame->getHostedWindow()) : nullptr;
    }
    Dialog* openRun()
    {
        app->openRunCourse(std::make_unique<Dialog>(course));
        DialogFrame* frame = app->runCourseFrame();
        EXPECT_NE(frame, nullptr);
        if (!frame)
            return nullptr;
        QApplication::setActiveWindow(app->mainFrame());
        QApplication::processEvents();
        return static_cast<Dialog*>(frame->getHostedWindow());
    }

    // The window on one row, Bob's on port 247, its session started from
    // the row's start button.
    struct StartedRow {
        Dialog* dialog = nullptr;
        Session* session = nullptr;
    };
    void openStartedRow(StartedRow& started)
    {
        storeRows({plannedRow("Bob", 247, "09:02", "09:12")});
        started.dialog = openRun();
        ASSERT_NE(started.dialog, nullptr);
        click(*started.dialog, ROWS[0].play);
        started.session = started.dialog->run().session(0);
        ASSERT_NE(started.session, nullptr);
    }

    // Frames and sessions that went are deleted.
    static void settle()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QWidget* item(const Dialog& dialog, int id) { return dialog.getDlgItem(id); }
    static QComboBox* box(const Dialog& dialog, int id) { return qobject_cast<QComboBox*>(item(dialog, id)); }
    static QAbstractButton* button(const Dialog& dialog, int id)
    {
        return qobject_cast<QAbstractButton*>(item(dialog, id));
    }
    static QString text(const Dialog& dialog, int id) { return kova::windowText(item(dialog, id)); }
    static void click(Dialog& dialog, int id) { button(dialog, id)->click(); }
    static void leave(Dialog& dialog, int id) { dialog.notifier().dispatch(id, kova::Notification::FocusLost); }
    static void typeInto(Dialog& dialog, int id, const QString& typed) { box(dialog, id)->setEditText(typed); }
    // Chooses a list entry as the user does.
    static void choose(Dialog& dialog, int id, const QString& entry)
    {
        QComboBox* combo = box(dialog, id);
        const int index = combo->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
    // Puts a manikin into a visible row as if typed and left.
    static void setManikin(Dialog& dialog, int k, const QString& manikin)
    {
        typeInto(dialog, ROWS[k - 1].manikin, manikin);
        leave(dialog, ROWS[k - 1].manikin);
    }
    static QStringList numbers(const Dialog& dialog)
    {
        QStringList shown;
        for (const Row& row : RunCourseDialog::ROWS)
            if (item(dialog, row.number)->isVisible())
                shown << text(dialog, row.number);
        return shown;
    }
    static std::string times(const SessionRecord& row) { return row.StartTime + "-" + row.EndTime; }
    // The rows the database holds for the course, in course order.
    std::vector<SessionRecord> storedRows()
    {
        SessionTable table(theDatabase);
        table.open("");
        return table.findCourseSessions(course.getKey());
    }
    // A visible row's start and pause buttons: whether each is enabled and shows pressed.
    struct Buttons {
        bool startEnabled, startPressed, pauseEnabled, pausePressed;
        friend bool operator==(const Buttons&, const Buttons&) = default;
    };
    static Buttons buttons(const Dialog& dialog, int k)
    {
        const QAbstractButton* play = button(dialog, ROWS[k - 1].play);
        const QAbstractButton* pause = button(dialog, ROWS[k - 1].pause);
        return {play->isEnabled(), play->isDown(), pause->isEnabled(), pause->isDown()};
    }

    CourseRecord course;
    std::unique_ptr<CprTrainingApp> app;
    RunSessionManager* manager = nullptr;
    sessiontest::ScopedFakeWindows windows;
    int beeps = 0;
};

} // namespace

TEST_F(RunCourseWindow, theBlankRowStartsAfterTheCourseOnItsManikinOrBesideTheRowBefore)
{
    // Only the blank row of an empty course is selected; otherwise no row
    // is until one is focused.
    struct Case {
        const char* what;
        std::vector<SessionRecord> stored;
        const char* blankSlot;
        int selected;
    };
    const Case cases[] = {
        {"an empty course", {}, "09:02-09:12", 1},
        {"after a row on the same manikin", {plannedRow("Bob", 247, "09:02", "09:12")}, "09:13-09:23", 0},
        {"after a row on another manikin", {plannedRow("Bob", 248, "09:02", "09:12")}, "09:02-09:12", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        storeRows(c.stored);
        Dialog* dialog = openRun();
        ASSERT_NE(dialog, nullptr);
        const CourseSchedule& schedule = dialog->run().schedule();
        ASSERT_EQ(schedule.rowCount(), static_cast<int>(c.stored.size()) + 1);
        const int blank = schedule.rowCount() - 1;
        EXPECT_EQ(times(schedule.row(blank)), c.blankSlot);
        EXPECT_EQ(schedule.row(blank).Manikin, 247) << "the first ready manikin";
        EXPECT_EQ(schedule.row(blank).Scenario, "Basic");
        EXPECT_EQ(schedule.selectedRow(), c.selected);
        EXPECT_EQ(dialog->highlightedRow(), c.selected);
        EXPECT_EQ(item(*dialog, RunCourseDialog::HIGHLIGHT)->isVisible(), c.selected != 0);
        const Row& shown = ROWS[blank];
        EXPECT_EQ(text(*dialog, shown.start) + "-" + text(*dialog, shown.end), c.blankSlot);
        EXPECT_EQ(box(*dialog, shown.ventilation)->currentText(), "") << "no default participant";
        EXPECT_FALSE(item(*dialog, shown.details)->isEnabled());
        EXPECT_EQ(buttons(*dialog, blank + 1), (Buttons{false, false, false, false}));
        EXPECT_FALSE(item(*dialog, ROWS[blank + 1].ventilation)->isVisible());
        EXPECT_EQ(text(*dialog, RunCourseDialog::INSTRUCTOR), "Ann");
        EXPECT_EQ(text(*dialog, RunCourseDialog::DATE), QString::fromStdString(kova::isoDateToText("2025-03-04")));
        EXPECT_EQ(text(*dialog, RunCourseDialog::START_TIME), "09:00");
        EXPECT_FALSE(item(*dialog, RunCourseDialog::SORT)->isVisible());
        EXPECT_FALSE(schedule.modified());

        app->runCourseFrame()->close();
        settle();
        EXPECT_EQ(app->runCourseFrame(), nullptr);
    }
}

TEST_F(RunCourseWindow, aParticipantInTheBlankRowMakesItARowAndAnotherBlankRowFollows)
{
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    typeInto(*dialog, ROWS[0].ventilation, "Bob");
    leave(*dialog, ROWS[0].ventilation);
    typeInto(*dialog, ROWS[1].compression, "Cid");
    leave(*dialog, ROWS[1].compression);
    EXPECT_EQ(numbers(*dialog), (QStringList{"1", "2", "3"}));
    const CourseSchedule& schedule = dialog->run().schedule();
    EXPECT_EQ(schedule.row(0).PersonVentilation, "Bob");
    EXPECT_EQ(schedule.row(1).PersonChestCompression, "Cid");
    EXPECT_EQ(times(schedule.row(1)), "09:13-09:23");
    EXPECT_TRUE(schedule.modified());
    EXPECT_TRUE(item(*dialog, ROWS[0].details)->isEnabled());
    EXPECT_EQ(buttons(*dialog, 1), (Buttons{true, false, false, false}));

    // The frame's close box asks the same as Close; the rows are written as the window goes.
    app->runCourseFrame()->close();
    settle();
    EXPECT_EQ(app->runCourseFrame(), nullptr);
    const std::vector<SessionRecord> stored = storedRows();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].PersonVentilation, "Bob");
    EXPECT_EQ(stored[1].PersonChestCompression, "Cid");
}

// What is typed over a pick from a row's lists is the row's.
TEST_F(RunCourseWindow, aNameOrManikinTypedOverAPickIsTheRows)
{
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    const Row& row = ROWS[0];
    ASSERT_GT(box(*dialog, row.manikin)->count(), 3);
    const QString firstManikin = box(*dialog, row.manikin)->itemText(0);
    for (const auto& [id, picked, typed] :
         {std::tuple{row.ventilation, QString("Ann"), "Dan"}, {row.manikin, firstManikin, "250"}}) {
        choose(*dialog, id, picked);
        QLineEdit* edit = box(*dialog, id)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
    }
    leave(*dialog, row.ventilation);
    const CourseSchedule& schedule = dialog->run().schedule();
    EXPECT_EQ(schedule.row(0).PersonVentilation, "Dan");
    EXPECT_EQ(schedule.row(0).Manikin, 250);
}

TEST_F(RunCourseWindow, aRowsParticipantsFollowItsTrainingMode)
{
    addScenario("Solo", 300, 0);
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    choose(*dialog, ROWS[0].scenario, "Solo");
    EXPECT_FALSE(item(*dialog, ROWS[0].compression)->isEnabled()) << "one person does both";
    typeInto(*dialog, ROWS[0].ventilation, "Una");
    leave(*dialog, ROWS[0].ventilation);
    const SessionRecord& row = dialog->run().schedule().row(0);
    EXPECT_EQ(row.TrainingMode, 0);
    EXPECT_EQ(row.PersonChestCompression, "Una");
    EXPECT_EQ(times(row), "09:02-09:07");
    EXPECT_EQ(dialog->run().schedule().rowCount(), 2);
    EXPECT_EQ(box(*dialog, ROWS[1].compression)->currentText(), "") << "the next blank row takes no names";
}

TEST_F(RunCourseWindow, detailsOfARowWithoutSessionOpensTheSessionDialogOnIt)
{
    storeRows({plannedRow("Bob", 247, "09:02", "09:12")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    std::string openedOn;
    QTimer::singleShot(0, [&] {
        auto* details = qobject_cast<SessionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(details, nullptr);
        openedOn = details->currentRecord().PersonVentilation;
        kova::setWindowText(details->getDlgItem(SessionDialog::NOTES), "Bring towels");
        qobject_cast<QAbstractButton*>(details->getDlgItem(recordcontrols::SAVE))->click();
        qobject_cast<QAbstractButton*>(details->getDlgItem(recordcontrols::CLOSE))->click();
    });
    click(*dialog, ROWS[0].details);
    EXPECT_EQ(openedOn, "Bob");
    const SessionRecord& row = dialog->run().schedule().row(0);
    EXPECT_EQ(row.Note, "Bring towels") << "the row as the session dialog saved it";
    EXPECT_EQ(times(row), "09:02-09:12");
    EXPECT_TRUE(dialog->run().schedule().modified());
    EXPECT_EQ(text(*dialog, ROWS[0].details), "Details...");
}

TEST_F(RunCourseWindow, twentyRowsPageByEightAndTheLastPageShowsTheLastEight)
{
    storeRowsOf(5);
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    auto* bar = qobject_cast<QScrollBar*>(item(*dialog, RunCourseDialog::SCROLL_BAR));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 0) << "six rows: the page covers the whole range";
    EXPECT_EQ(numbers(*dialog), (QStringList{"1", "2", "3", "4", "5", "6"}));
    app->runCourseFrame()->close();
    settle();
    ASSERT_EQ(app->runCourseFrame(), nullptr);

    storeRowsOf(20);
    dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    bar = qobject_cast<QScrollBar*>(item(*dialog, RunCourseDialog::SCROLL_BAR));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 13) << "21 rows with the blank one, 8 shown";
    EXPECT_EQ(bar->pageStep(), 8);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dialog->run().schedule().topRow(), 8);
    EXPECT_EQ(numbers(*dialog).front(), "9");
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dialog->run().schedule().topRow(), 13);
    EXPECT_EQ(numbers(*dialog), (QStringList{"14", "15", "16", "17", "18", "19", "20", "21"}));
    EXPECT_EQ(box(*dialog, ROWS[0].ventilation)->currentText(), "P14");
    EXPECT_EQ(box(*dialog, ROWS[7].ventilation)->currentText(), "") << "the blank row last";
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(numbers(*dialog).front(), "13");
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(numbers(*dialog).front(), "1");
}

TEST_F(RunCourseWindow, rowsMoveWholeAndTheCommandsTheRowsDoNotAllowBeep)
{
    storeRows({plannedRow("Bob", 247, "09:02", "09:12"), plannedRow("Cid", 248, "09:02", "09:12"),
               plannedRow("Dan", 247, "09:13", "09:23")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    const CourseSchedule& schedule = dialog->run().schedule();
    const auto ventilators = [&] {
        std::vector<std::string> names;
        for (const SessionRecord& row : schedule.rows())
            names.push_back(row.PersonVentilation);
        return names;
    };

    ASSERT_EQ(schedule.selectedRow(), 0);
    dialog->moveRowDown();
    EXPECT_EQ(beeps, 1) << "no row is selected before one is focused";
    EXPECT_EQ(ventilators(), (std::vector<std::string>{"Bob", "Cid", "Dan", ""}));
    EXPECT_FALSE(schedule.modified());
    item(*dialog, ROWS[0].ventilation)->setFocus();
    QApplication::processEvents();
    dialog->moveRowUp();
    EXPECT_EQ(beeps, 2) << "row 1 cannot move up";
    item(*dialog, ROWS[2].ventilation)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(schedule.selectedRow(), 3);
    EXPECT_EQ(dialog->highlightedRow(), 3);
    dialog->moveRowDown();
    EXPECT_EQ(beeps, 3) << "the last row never passes the blank row";
    dialog->moveRowUp();
    EXPECT_EQ(beeps, 3);
    EXPECT_EQ(ventilators(), (std::vector<std::string>{"Bob", "Dan", "Cid", ""}));
    EXPECT_EQ(times(schedule.row(1)), "09:13-09:23") << "a row moves with its times";
    EXPECT_EQ(schedule.selectedRow(), 2) << "the selection follows the row";
    EXPECT_TRUE(schedule.modified());

    item(*dialog, ROWS[3].ventilation)->setFocus();
    QApplication::processEvents();
    dialog->removeRow();
    EXPECT_EQ(beeps, 4) << "the blank row cannot go";
    item(*dialog, ROWS[0].ventilation)->setFocus();
    QApplication::processEvents();
    dialog->removeRow();
    EXPECT_EQ(ventilators(), (std::vector<std::string>{"Dan", "Cid", ""}));
    EXPECT_EQ(numbers(*dialog), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(beeps, 4);
    EXPECT_TRUE(asker.asked.empty()) << "a planned row goes without a question";
}

TEST_F(RunCourseWindow, aRunRowIsLockedButItsDetailsStillOpen)
{
    storeRows({plannedRow("Bob", 247, "09:02", "09:12", true), plannedRow("Cid", 248, "09:02", "09:12")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    const Row& done = ROWS[0];
    for (int id : {done.scenario, done.manikin, done.start, done.end})
        EXPECT_FALSE(item(*dialog, id)->isEnabled()) << id;
    EXPECT_TRUE(item(*dialog, done.ventilation)->isEnabled()) << "participants may still be corrected";
    EXPECT_EQ(buttons(*dialog, 1), (Buttons{false, false, false, false}));
    EXPECT_TRUE(dialog->isDlgButtonChecked(done.done));
    EXPECT_TRUE(item(*dialog, done.details)->isEnabled());
    EXPECT_EQ(text(*dialog, done.details), "Details...");
    dialog->startRow(1);
    EXPECT_EQ(beeps, 1) << "a row that was run starts no more";
    EXPECT_EQ(manager->getSessionCount(), 0);

    const Row& planned = ROWS[1];
    for (int id : {planned.scenario, planned.manikin, planned.start, planned.end})
        EXPECT_TRUE(item(*dialog, id)->isEnabled()) << id;
    EXPECT_FALSE(dialog->isDlgButtonChecked(planned.done));
    EXPECT_EQ(buttons(*dialog, 2), (Buttons{true, false, false, false}));
}

TEST_F(RunCourseWindow, aNewScenarioOrStartTimeGivesTheRowItsEndAtOnce)
{
    storeRows({plannedRow("Bob", 247, "09:02", "09:12")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    choose(*dialog, ROWS[0].scenario, "Short");
    const SessionRecord& row = dialog->run().schedule().row(0);
    EXPECT_EQ(row.Scenario, "Short");
    EXPECT_EQ(row.Duration, 120);
    EXPECT_EQ(times(row), "09:02-09:04");
    EXPECT_EQ(text(*dialog, ROWS[0].end), "09:04");

    auto* start = qobject_cast<kova::MaskedEdit*>(item(*dialog, ROWS[0].start));
    start->SetInputText("10:30");
    leave(*dialog, ROWS[0].start);
    EXPECT_EQ(times(dialog->run().schedule().row(0)), "10:30-10:32");
    EXPECT_EQ(text(*dialog, ROWS[0].end), "10:32");
    EXPECT_EQ(times(dialog->run().schedule().row(1)), "09:13-09:23") << "the blank row stays where it was";
}

TEST_F(RunCourseWindow, enterMovesOnAndWrapsFromTheLastEndToTheFirstVentilation)
{
    storeRowsOf(8);
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    QWidget* lastEnd = item(*dialog, ROWS[7].end);
    lastEnd->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), lastEnd);
    QTest::keyClick(lastEnd, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(item(*dialog, ROWS[0].ventilation)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(item(*dialog, ROWS[0].ventilation)->hasFocus()) << "on to the next field";
    EXPECT_NE(app->runCourseFrame(), nullptr) << "Enter never closes the window";
}

TEST_F(RunCourseWindow, aRowThatCannotStartTellsWhyAndGetsNoSession)
{
    // A simulated manikin on COM 5 that answers, but whose calibration is gone.
    platform::SystemClock realTime;
    platform::ScopedClock inForce(realTime);
    manikinsim::SimulatorOptions options;
    options.handshake = manikinsim::Handshake::Framed;
    options.kind = 3;
    auto manikin = linktest::startOnPseudoTerminal(options);
    ASSERT_TRUE(manikin);
    ::setenv("KOVA_PORT_MAP", ("5=" + manikin->devicePath()).c_str(), 1);
    CalibrateManager& ports = CalibrateManager::get();
    ports.scanComPorts();
    for (int port = 247; port <= 256; ++port)
        ports.setIsCalibrated(true, port);
    ASSERT_TRUE(ports.getIsValid(5));
    ports.setIsCalibrated(false, 5);
    storeRows({plannedRow("Bob", 0, "09:02", "09:12"), plannedRow("Cid", 513, "09:02", "09:12"),
               plannedRow("Dan", 6, "09:02", "09:12"), plannedRow("Eve", 5, "09:02", "09:12"),
               plannedRow("Fay", 247, "09:02", "09:12"), plannedRow("Gus", 247, "09:13", "09:23")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    const std::wstring invalid = L"The manikin number is not valid. Please select another.";
    const std::wstring taken = L"The selected manikin is not available. Please select another.";
    const std::wstring link = L"There was a problem opening the port. Please make sure that the manikin is properly "
                              L"connected and recalibrate.";
    struct Case {
        const char* what;
        int row;
        std::wstring text;
        std::wstring caption;
    };
    const Case cases[] = {
        {"manikin 0", 1, invalid, L"Start problem"},
        {"manikin 513", 2, invalid, L"Start problem"},
        {"a COM port without a device", 3, link, L"COM port problem"},
        {"a port that is not calibrated", 4, link, L"COM port problem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        asker.asked.clear();
        click(*dialog, ROWS[c.row - 1].play);
        ASSERT_EQ(asker.asked.size(), 1u);
        EXPECT_EQ(asker.asked[0].text, c.text);
        EXPECT_EQ(asker.asked[0].caption, c.caption);
        EXPECT_EQ(asker.asked[0].style, platform::MB_OK);
        EXPECT_EQ(dialog->run().session(c.row - 1), nullptr);
        EXPECT_EQ(manager->getSessionCount(), 0);
    }
    EXPECT_FALSE(ports.getSerPort(5)->isConnected()) << "the link opened for the start is closed again";
    EXPECT_TRUE(ports.getIsAvailable(5));

    // The second row on one manikin finds it taken by the first.
    asker.asked.clear();
    click(*dialog, ROWS[4].play);
    ASSERT_TRUE(asker.asked.empty());
    ASSERT_NE(dialog->run().session(4), nullptr);
    click(*dialog, ROWS[5].play);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, taken);
    EXPECT_EQ(asker.asked[0].caption, L"Start problem");
    EXPECT_EQ(dialog->run().session(5), nullptr);
    EXPECT_EQ(manager->getSessionCount(), 1);

    EXPECT_EQ(beeps, 0);
    click(*dialog, ROWS[5].pause);
    EXPECT_EQ(beeps, 0) << "a row without session has its pause disabled";
    dialog->pauseRow(6);
    EXPECT_EQ(beeps, 1) << "pause without a session";
}

TEST_F(RunCourseWindow, aStartedRowFollowsItsSessionUntilTheSessionCloses)
{
    ScopedRecordTime now{2025, 3, 4, 10, 15};
    storeRows({plannedRow("Bob", 249, "09:02", "09:12")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    QString shownWhenTheSessionWindowOpened;
    manager->onShow = [&] {
        shownWhenTheSessionWindowOpened = text(*dialog, ROWS[0].start) + "-" + text(*dialog, ROWS[0].end);
    };

    click(*dialog, ROWS[0].play);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(shownWhenTheSessionWindowOpened, "10:15-10:25");
    Session* session = dialog->run().session(0);
    ASSERT_NE(session, nullptr);
    ASSERT_EQ(manager->getSessionCount(), 1);
    EXPECT_EQ(manager->sessions().front(), session);
    EXPECT_EQ(session->getRecord().Manikin, 249);
    EXPECT_EQ(session->getRecord().PersonVentilation, "Bob");
    EXPECT_EQ(session->getRecord().StartTime, "10:15");
    EXPECT_EQ(session->getRecord().linkType, CalibrateManager::get().getSerPort(249)->getLinkType());
    EXPECT_TRUE(session->isRunning());
    EXPECT_FALSE(CalibrateManager::get().getIsAvailable(249)) << "the session holds the manikin";
    EXPECT_EQ(dialog->run().listenedSessions(), 1);
    EXPECT_EQ(buttons(*dialog, 1), (Buttons{false, true, true, false}));
    EXPECT_EQ(text(*dialog, ROWS[0].details), "Session...");
    EXPECT_FALSE(item(*dialog, ROWS[0].ventilation)->isEnabled());
    EXPECT_FALSE(item(*dialog, ROWS[0].manikin)->isEnabled());

    click(*dialog, ROWS[0].pause);
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(buttons(*dialog, 1), (Buttons{true, false, false, true}));
    click(*dialog, ROWS[0].play);
    EXPECT_TRUE(session->isRunning()) << "resumed";
    EXPECT_EQ(manager->getSessionCount(), 1);
    const int shownBefore = manager->shown;
    click(*dialog, ROWS[0].details);
    EXPECT_EQ(manager->shown, shownBefore + 1) << "Details brings the session forward";

    // The timed session ends: the row is done, nothing more starts.
    session->onEnd();
    EXPECT_EQ(buttons(*dialog, 1), (Buttons{false, false, false, false}));
    EXPECT_TRUE(dialog->isDlgButtonChecked(ROWS[0].done));
    dialog->startRow(1);
    EXPECT_EQ(beeps, 1) << "an ended session collects no more";
    EXPECT_FALSE(session->isRunning());

    // The session window stores it with what the review panel holds, then closes it.
    sessiontest::WindowsLog& log = windows.of(*session);
    log.answers.push_back(SessionWindows::SaveAnswer::Yes);
    log.onStore = [](Session& stored) {
        SessionRecord final = stored.getRecord();
        final.PersonVentilation = "Bob Baker";
        final.Done = true;
        final.CompDepth = 48.5;
        stored.setRecord(final);
        return true;
    };
    ASSERT_TRUE(session->close());
    session->destroyViews();
    manager->tick();
    EXPECT_EQ(manager->getSessionCount(), 0);
    EXPECT_EQ(dialog->run().session(0), nullptr);
    EXPECT_EQ(dialog->run().listenedSessions(), 0);
    const SessionRecord& row = dialog->run().schedule().row(0);
    EXPECT_EQ(row.PersonVentilation, "Bob Baker");
    EXPECT_EQ(row.CompDepth, 48.5);
    EXPECT_TRUE(row.Done);
    EXPECT_EQ(row.StartTime, "10:15");
    EXPECT_EQ(text(*dialog, ROWS[0].details), "Details...");
    EXPECT_TRUE(dialog->isDlgButtonChecked(ROWS[0].done));
    EXPECT_EQ(buttons(*dialog, 1), (Buttons{false, false, false, false}));
    EXPECT_TRUE(CalibrateManager::get().getIsAvailable(249));
}

TEST_F(RunCourseWindow, aSessionUnderReviewIsNotResumedFromItsRow)
{
    StartedRow started;
    ASSERT_NO_FATAL_FAILURE(openStartedRow(started));
    Dialog* dialog = started.dialog;
    Session* session = started.session;
    click(*dialog, ROWS[0].pause);
    session->setState(Session::DEBRIEF);
    session->setState(Session::REVIEW);
    dialog->startRow(1);
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(session->getState(), Session::REVIEW);
}

TEST_F(RunCourseWindow, closingAsksEverySessionAndAgreementWritesTheRowsAndOpensNewSession)
{
    ScopedRecordTime now{2025, 3, 4, 9, 30};
    storeRows({plannedRow("Bob", 247, "09:02", "09:12", true), plannedRow("Cid", 248, "09:02", "09:12")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    typeInto(*dialog, ROWS[2].ventilation, "Dan");
    typeInto(*dialog, ROWS[2].compression, "Eve");
    leave(*dialog, ROWS[2].ventilation);
    click(*dialog, ROWS[1].play);
    Session* session = dialog->run().session(1);
    ASSERT_NE(session, nullptr);
    sessiontest::WindowsLog& log = windows.of(*session);

    // Cancel to "Save session?": the window and every row stay.
    click(*dialog, RunCourseDialog::CLOSE);
    QApplication::processEvents();
    ASSERT_EQ(log.asked.size(), 1u);
    ASSERT_NE(app->runCourseFrame(), nullptr);
    EXPECT_TRUE(app->runCourseFrame()->isVisible());
    EXPECT_EQ(dialog->run().session(1), session);
    EXPECT_EQ(dialog->run().schedule().rowCount(), 4);
    EXPECT_EQ(storedRows().size(), 2u) << "nothing written yet";
    EXPECT_TRUE(app->newSessionFrame() == nullptr || !app->newSessionFrame()->isVisible());

    // The main window's close asks the same.
    EXPECT_FALSE(app->runCourseMayClose());
    ASSERT_EQ(log.asked.size(), 2u);

    log.answers.push_back(SessionWindows::SaveAnswer::No);
    click(*dialog, RunCourseDialog::CLOSE);
    settle();
    EXPECT_EQ(log.asked.size(), 3u);
    EXPECT_EQ(app->runCourseFrame(), nullptr);
    ASSERT_NE(app->newSessionFrame(), nullptr);
    EXPECT_TRUE(app->newSessionFrame()->isVisible());
    manager->tick();
    EXPECT_EQ(manager->getSessionCount(), 0);

    const std::vector<SessionRecord> stored = storedRows();
    ASSERT_EQ(stored.size(), 3u) << "the blank row is no session";
    const char* const names[] = {"Bob", "Cid", "Dan"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stored[i].PersonVentilation, names[i]);
        EXPECT_EQ(stored[i].CourseOrder, i);
        EXPECT_EQ(stored[i].CourseInstructor, "Ann");
    }
    EXPECT_TRUE(stored[0].Done);
    EXPECT_EQ(times(stored[1]), "09:30-09:30") << "the row keeps the times its session ran at";
    EXPECT_EQ(stored[2].PersonChestCompression, "Eve");
    // The new participants joined the persons, as trainees.
    auto instructors = theDatabase.query("SELECT \"Name\", \"Instructor\" FROM \"Person\" ORDER BY \"Name\"", {},
                                         {SqlType::Text, SqlType::Integer});
    std::vector<std::string> persons;
    for (const auto& person : instructors)
        persons.push_back(std::get<std::string>(person[0]) + (std::get<long long>(person[1]) ? "*" : ""));
    EXPECT_EQ(persons, (std::vector<std::string>{"Ann*", "Bob", "Bob Jr", "Cid", "Cid Jr", "Dan", "Eve"}));
}

TEST_F(RunCourseWindow, everyWayOutWritesTheRowsAndGoesOnToNewSessionButTheProgramsEndOpensNothing)
{
    storeRows({plannedRow("Bob", 247, "09:02", "09:12")});
    struct Road {
        const char* what;
        const char* typed;
        std::function<void()> leaveBy;
        bool programEnds = false;
    };
    const Road roads[] = {
        {"Close", "Cid", [this] { click(*runDialog(), RunCourseDialog::CLOSE); }},
        {"Escape in the field", "Dan", [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"the frame's close box", "Eve", [this] { app->runCourseFrame()->close(); }},
        // What Ctrl+F4 runs (the key itself is pressed on a real display).
        {"Ctrl+F4", "Fay", [this] { app->mainFrame()->mdiClient()->closeActiveSubWindow(); }},
        // The main window agreed to end the program; a close that reaches the
        // Run-course window then brings nothing up.
        {"the close box as the program ends", "Gus",
         [this] {
             ASSERT_TRUE(app->mainFrame()->close());
             ASSERT_NE(app->runCourseFrame(), nullptr);
             app->runCourseFrame()->close();
         },
         true},
    };
    std::vector<std::string> names{"Bob"};
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        if (DialogFrame* newSession = app->newSessionFrame())
            newSession->hideFrame();
        Dialog* dialog = openRun();
        ASSERT_NE(dialog, nullptr);
        // A participant typed into the blank row, the field not left.
        const int blank = dialog->run().schedule().rowCount();
        ASSERT_LE(blank, RunCourseDialog::VISIBLE_ROWS);
        QComboBox* ventilation = box(*dialog, ROWS[blank - 1].ventilation);
        ventilation->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), ventilation);
        QTest::keyClicks(ventilation, road.typed);
        names.push_back(road.typed);

        road.leaveBy();
        settle();
        EXPECT_EQ(app->runCourseFrame(), nullptr) << "the window went";
        std::vector<std::string> stored;
        for (const SessionRecord& row : storedRows())
            stored.push_back(row.PersonVentilation);
        EXPECT_EQ(stored, names) << "what was typed is written";
        DialogFrame* newSession = app->newSessionFrame();
        if (road.programEnds) {
            // (The main window is hidden by now: its windows are asked directly.)
            EXPECT_TRUE(!newSession || !newSession->isVisibleTo(app->mainFrame()))
                << "nothing comes up as the program ends";
            continue;
        }
        ASSERT_NE(newSession, nullptr);
        EXPECT_TRUE(newSession->isVisible()) << "New session came";
        EXPECT_EQ(app->mainFrame()->mdiClient()->activeSubWindow(), newSession);
    }
}

TEST_F(RunCourseWindow, rowsTheDatabaseRefusesStayInTheOpenWindowOnEveryWayOut)
{
    storeRows({plannedRow("Bob", 247, "09:02", "09:12")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    typeInto(*dialog, ROWS[1].ventilation, "Zed");
    leave(*dialog, ROWS[1].ventilation);
    refuseInserts("Session", "PersonVentilation", "Zed");
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"Close", [&] { click(*dialog, RunCourseDialog::CLOSE); }},
        {"the frame's close box", [&] { app->runCourseFrame()->close(); }},
        {"the end of the program", [&] { EXPECT_FALSE(app->runCourseMayClose()); }},
    };
    for (const auto& [road, leaveBy] : roads) {
        SCOPED_TRACE(road);
        asker.asked.clear();
        leaveBy();
        settle();
        EXPECT_EQ(asker.asked.size(), 1u) << "the user is told";
        ASSERT_NE(app->runCourseFrame(), nullptr) << "nothing typed is lost";
        EXPECT_TRUE(app->runCourseFrame()->isVisible());
        EXPECT_TRUE(dialog->run().schedule().modified());
        EXPECT_EQ(dialog->run().schedule().row(1).PersonVentilation, "Zed");
        const std::vector<SessionRecord> stored = storedRows();
        ASSERT_EQ(stored.size(), 1u) << "the stored rows are as they were";
        EXPECT_EQ(stored[0].PersonVentilation, "Bob");
    }

    // Once the database takes the rows, the close box writes them and closes.
    exec("DROP TRIGGER \"refuseSession\"" + std::string(onPostgresql() ? " ON \"Session\"" : ""));
    app->runCourseFrame()->close();
    settle();
    EXPECT_EQ(app->runCourseFrame(), nullptr);
    ASSERT_EQ(storedRows().size(), 2u);
    EXPECT_EQ(storedRows()[1].PersonVentilation, "Zed");
}

TEST_F(RunCourseWindow, aFinishedRowGoesOnlyAfterAQuestionThatNamesItAndTakesItsDataFile)
{
    makeDataFolder();
    storeRows({plannedRow("Bob Baker", 247, "09:02", "09:12", true), plannedRow("Cid", 248, "09:02", "09:12")});
    const SessionRecord finished = storedRows()[0];
    kovatest::writeFile(finished.dataFileName(), "samples");
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    item(*dialog, ROWS[0].number)->setFocus();
    QApplication::processEvents();

    asker.answers = {platform::IDNO};
    dialog->removeRow();
    ASSERT_EQ(asker.asked.size(), 1u);
    const std::wstring question = asker.asked[0].text;
    for (const wchar_t* told : {L"Row 1 (09:02): Bob Baker and Bob Baker Jr", L"stored result", L"data file"})
        EXPECT_NE(question.find(told), std::wstring::npos) << told;
    EXPECT_EQ(asker.asked[0].style, platform::MB_YESNO | platform::MB_ICONEXCLAMATION | platform::MB_DEFBUTTON2);
    EXPECT_EQ(dialog->run().schedule().rowCount(), 3) << "No keeps the row";
    EXPECT_FALSE(dialog->run().schedule().modified());
    EXPECT_EQ(beeps, 0);

    asker.answers = {platform::IDYES};
    dialog->removeRow();
    EXPECT_EQ(dialog->run().schedule().row(0).PersonVentilation, "Cid");
    EXPECT_TRUE(std::filesystem::exists(finished.dataFileName())) << "nothing goes before the rows are written";
    click(*dialog, RunCourseDialog::CLOSE);
    settle();
    EXPECT_EQ(app->runCourseFrame(), nullptr);
    ASSERT_EQ(storedRows().size(), 1u);
    EXPECT_EQ(storedRows()[0].PersonVentilation, "Cid");
    EXPECT_FALSE(std::filesystem::exists(finished.dataFileName())) << "the data file went with its row";
    EXPECT_FALSE(std::filesystem::exists(finished.dataFileName() + ".removing"));
}

TEST_F(RunCourseWindow, closingAfterAnotherStationRanRowsKeepsTheirResults)
{
    storeRows({plannedRow("Bob", 247, "09:02", "09:12"), plannedRow("Cid", 248, "09:02", "09:12"),
               plannedRow("Dan", 247, "09:13", "09:23")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    // Meanwhile another station ran Bob's and Cid's rows and wrote them back.
    exec("UPDATE \"Session\" SET \"Done\" = 1, \"CompDepth\" = 51 WHERE \"PersonVentilation\" IN ('Bob', 'Cid')");
    // This one moved Dan's row to the top and renamed Cid.
    item(*dialog, ROWS[2].ventilation)->setFocus();
    QApplication::processEvents();
    dialog->moveRowUp();
    dialog->moveRowUp();
    typeInto(*dialog, ROWS[2].ventilation, "Cyd");
    leave(*dialog, ROWS[2].ventilation);
    ASSERT_TRUE(dialog->run().schedule().modified());

    click(*dialog, RunCourseDialog::CLOSE);
    settle();
    EXPECT_EQ(app->runCourseFrame(), nullptr);
    std::vector<std::string> rows;
    for (const SessionRecord& row : storedRows())
        rows.push_back(row.PersonVentilation + (row.Done ? " done " : " planned ")
                       + std::to_string(static_cast<int>(row.CompDepth)));
    // The finished rows keep what the other station stored, their places too.
    EXPECT_EQ(rows, (std::vector<std::string>{"Bob done 51", "Dan planned 0", "Cid done 51"}));
}

TEST_F(RunCourseWindow, aRowWhoseSessionRefusesToCloseIsNotRemoved)
{
    StartedRow started;
    ASSERT_NO_FATAL_FAILURE(openStartedRow(started));
    Dialog* dialog = started.dialog;
    Session* session = started.session;
    sessiontest::WindowsLog& log = windows.of(*session);
    // The row's session holds its fields; its number still takes the focus.
    item(*dialog, ROWS[0].number)->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(dialog->run().schedule().selectedRow(), 1);

    dialog->removeRow();
    EXPECT_EQ(log.asked.size(), 1u);
    EXPECT_EQ(dialog->run().schedule().rowCount(), 2);
    EXPECT_EQ(dialog->run().session(0), session);
    EXPECT_EQ(beeps, 0);

    log.answers.push_back(SessionWindows::SaveAnswer::No);
    dialog->removeRow();
    EXPECT_EQ(dialog->run().schedule().rowCount(), 1);
    EXPECT_EQ(dialog->run().session(0), nullptr);
    EXPECT_EQ(dialog->run().listenedSessions(), 0);
    manager->tick();
    EXPECT_EQ(manager->getSessionCount(), 0);
}

TEST_F(RunCourseWindow, thePlannersRunCourseOpensTheCourseInTheRunCourseWindow)
{
    installCoursePlanner();
    CoursePlannerDialog planner;
    ASSERT_TRUE(planner.create());
    planner.show();
    QApplication::processEvents();
    planner.runCourse();
    EXPECT_TRUE(planner.runCourseChosen());
    ASSERT_NE(app->runCourseFrame(), nullptr);
    auto* dialog = dynamic_cast<Dialog*>(app->runCourseFrame()->getHostedWindow());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->run().course().instructor, "Instructor") << "the planner's new course, stored first";
    EXPECT_EQ(app->runCourseFrame()->windowTitle(), "Run course");
    click(*dialog, ChildDialog::ID_HELP);
    ASSERT_NE(app->helpWindow(), nullptr);
    EXPECT_EQ(app->helpWindow()->currentPage().filename(), "IDH_HELP_DB_RUNCOURSE.htm");

    // While the window exists, "New course..." brings it forward instead of the planner.
    bool plannerOpened = false;
    app->setCoursePlanner([&] { plannerOpened = true; });
    app->onCommand(MainCommands::NEW_COURSE);
    EXPECT_FALSE(plannerOpened);
}

TEST_F(RunCourseWindow, pictureWithARunningAndAFinishedRowAndItsPrintedSchedule)
{
    ScopedRecordTime now{2025, 3, 4, 9, 14};
    storeRows({plannedRow("Bob Baker", 247, "09:02", "09:12", true), plannedRow("Cid Carter", 248, "09:02", "09:12"),
               plannedRow("Dan Dorsey", 247, "09:13", "09:23"), plannedRow("Eve Evans", 248, "09:13", "09:23")});
    Dialog* dialog = openRun();
    ASSERT_NE(dialog, nullptr);
    click(*dialog, ROWS[1].play);
    ASSERT_NE(dialog->run().session(1), nullptr);
    item(*dialog, ROWS[2].ventilation)->setFocus();
    QApplication::processEvents();
    QTest::qWait(20);
    const auto path = kovatest::binaryDir() / "run-course.png";
    EXPECT_TRUE(app->runCourseFrame()->grab().save(QString::fromStdString(path.string())));

    platform::PdfPrintDialogAsker print;
    platform::ScopedPrintDialogAsker printScope(print);
    print.outputFile = (kovatest::binaryDir() / "run-course-schedule.pdf").string();
    std::filesystem::remove(print.outputFile);
    click(*dialog, RunCourseDialog::PRINT);
    EXPECT_EQ(print.shown, 1);
    const kovatest::ProgramRun pdf = kovatest::runProgram("/usr/bin/pdftotext", {"-layout", print.outputFile, "-"});
    ASSERT_EQ(pdf.exitCode, 0);
    for (const char* shown : {"Bob Baker", "Cid Carter", "09:14-09:24", "Eve Evans", "247", "248"})
        EXPECT_NE(pdf.output.find(shown), std::string::npos) << shown << "\n" << pdf.output;
}
