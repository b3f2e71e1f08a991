// The station's start-up and main window with every outside service
// answered by the test: the order of the start-up steps, the maximised
// window on low screens, the splash's close message on a real local socket,
// the menus, status bar and command enabling by the sessions there are,
// printing, the metronome on the 20 ms tick, and what may stop the program
// from closing. It saves <build>/main-window.png for a person to look at.

#include "ScopedEnvironment.h"
#include "StationTestKit.h"

#include "app/search/CalibrateView.h"
#include "app/shell/BuildDate.h"
#include "app/shell/MainCommands.h"
#include "app/shell/MetronomeSound.h"
#include "app/shell/idMap.h"
#include "controls/MdiClientWnd.h"
#include "Rodezir/dialogs/MenuBuilder.h"
#include "config/SettingsFile.h"
#include "platform/LockKeys.h"
#include "platform/SplashMessage.h"
#include "platform/SplashMessageServer.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <array>
#include <filesystem>

using namespace stationtest;
using namespace MainCommands;
using Answer = SessionWindows::SaveAnswer;

namespace {

// The menu bar as lines "popup | item | id" ("-" for a separator), shortcut
// names left out.
std::vector<std::string> menuLines(QMenuBar& bar)
{
    std::vector<std::string> lines;
    for (QAction* popup : bar.actions()) {
        for (QAction* item : popup->menu()->actions()) {
            if (item->isSeparator()) {
                lines.push_back(popup->text().toStdString() + " | -");
                continue;
            }
            const QString text = item->text().section('\t', 0, 0);
            lines.push_back(popup->text().toStdString() + " | " + text.toStdString() + " | "
                            + std::to_string(kova::MenuBuilder::commandId(item)));
        }
    }
    return lines;
}

} // namespace

class Station : public StationTest {
protected:
    bool enabled(int command)
    {
        CMainFrame* frame = app->mainFrame();
        frame->updateCommandStates();
        const bool state = frame->isCommandEnabled(command);
        // What the menu and toolbar show.
        if (QAction* action = frame->commandAction(command)) {
            EXPECT_EQ(action->isEnabled(), state) << command;
        }
        return state;
    }
};

TEST_F(Station, startUpRunsItsStepsInOrderAndEndsWithTheSearchWindowWhenNoManikinIsReady)
{
    ASSERT_TRUE(start("commdelay:250"));
    EXPECT_EQ(steps, (std::vector<std::string>{"session manager", "ready message", "database, window shown",
                                                "configuration", "windows", "ready manikins, search window open",
                                                "upgrade"}));
    CMainFrame* frame = app->mainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), "Kova CPR Software");
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_TRUE(frame->isTimerActive());
    EXPECT_EQ(app->state().commDelay(), 250);
    EXPECT_EQ(app->helpFilePath(), "kovacpr_en.hlp");
    EXPECT_EQ(SessionManager::instance(), manager);
    ASSERT_NE(app->searchFrame(), nullptr);
    EXPECT_TRUE(app->searchFrame()->isVisible());
    EXPECT_EQ(app->searchFrame()->windowTitle(), "Search for Manikins");
    EXPECT_EQ(app->newSessionFrame(), nullptr);

    // Calibrate brings the same window back and searches no more.
    app->searchFrame()->hide();
    const auto boxes = asker.asked.size();
    frame->onCommand(CALIBRATE);
    EXPECT_TRUE(app->searchFrame()->isVisible());
    EXPECT_EQ(asker.asked.size(), boxes);
    EXPECT_EQ(frame->mdiClient()->subWindowList().size(), 1);

    const auto path = kovatest::binaryDir() / "main-window.png";
    EXPECT_TRUE(frame->grab().save(QString::fromStdString(path.string())));
}

TEST_F(Station, aReadyManikinOpensTheNewSessionWindowBeforeTheUpgradeAndOnlyOnce)
{
    readyManikins = 1;
    ASSERT_TRUE(start());
    EXPECT_EQ(steps, (std::vector<std::string>{"session manager", "ready message", "database, window shown",
                                                "configuration", "windows", "ready manikins, search window open",
                                                "new session", "upgrade"}));
    ASSERT_NE(app->newSessionFrame(), nullptr);
    EXPECT_EQ(app->newSessionFrame()->windowTitle(), "New session");
    DialogFrame* first = app->newSessionFrame();
    first->hide();
    app->mainFrame()->onCommand(NEW_SESSION);
    EXPECT_EQ(app->newSessionFrame(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "new session"), 1);
}

TEST_F(Station, aScreenLowerThan650PixelsGetsAMaximisedWindow)
{
    for (const auto& [height, maximised] : std::array{std::pair{600, true}, std::pair{649, true},
                                                      std::pair{650, false}, std::pair{1024, false}}) {
        screenHeight = height;
        ASSERT_TRUE(start());
        EXPECT_EQ(app->mainFrame()->isMaximized(), maximised) << height;
        app.reset();
        CalibrateManager::destroy();
    }
}

// The log of an earlier run would otherwise stay, its failures taken for
// those of a run that had none.
TEST_F(Station, aStartThatReportsNothingStillBeginsItsOwnLog)
{
    LogStream::destroy();
    std::filesystem::remove("errors.txt");
    ASSERT_TRUE(start());
    ASSERT_TRUE(std::filesystem::exists("errors.txt"));
    const std::string log = kovatest::readFile("errors.txt");
    EXPECT_NE(log.find("\n" + getVersionText() + "\n"), std::string::npos) << log;
}

TEST_F(Station, theReadyMessageReachesTheSplashListener)
{
    // The launchers listen in the user's runtime folder, here the test's own.
    kovatest::ScopedEnvironment runtime("XDG_RUNTIME_DIR", folder.path().string());
    std::vector<platform::SplashMessage> received;
    platform::SplashMessageServer launcher([&](const platform::SplashMessage& message) { received.push_back(message); });
    ASSERT_TRUE(launcher.listenForUser()) << launcher.errorText();
    CprTrainingApp::Services s = services();
    s.sendReadyMessage = CprTrainingApp::Services::standard().sendReadyMessage;
    app = std::make_unique<CprTrainingApp>("", std::move(s));
    ASSERT_TRUE(app->initInstance());

    EXPECT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 2000));
    EXPECT_EQ(received, (std::vector<platform::SplashMessage>{{0x614C329, 0}}));
}

// A message box the splash picture hid (it stays on top) would hold the
// station until it is killed.
TEST_F(Station, aStationWithoutItsDataSourceClosesTheSplashBeforeItTellsSo)
{
    kovatest::ScopedEnvironment runtime("XDG_RUNTIME_DIR", folder.path().string());
    std::vector<platform::SplashMessage> received;
    platform::SplashMessageServer launcher([&](const platform::SplashMessage& message) { received.push_back(message); });
    ASSERT_TRUE(launcher.listenForUser()) << launcher.errorText();
    // No "kovacpr" data source anywhere.
    kovatest::writeFile(folder.path() / "odbc.ini", "");
    ::setenv("ODBCINI", (folder.path() / "odbc.ini").c_str(), 1);
    ::setenv("ODBCSYSINI", folder.path().c_str(), 1);

    struct Box {
        std::wstring text;
        bool splashClosed;
    };
    std::vector<Box> boxes;
    asker.whileAsked = [&](const platform::RecordingMessageAsker::Asked& box) {
        // The launcher's end of the socket reads what was sent before the box.
        const bool arrived = QTest::qWaitFor([&] { return !received.empty(); }, 2000);
        boxes.push_back({box.text, arrived});
    };
    CprTrainingApp::Services s = services();
    const CprTrainingApp::Services standard = CprTrainingApp::Services::standard();
    s.sendReadyMessage = standard.sendReadyMessage;
    s.openDatabase = standard.openDatabase;
    app = std::make_unique<CprTrainingApp>("", std::move(s));
    ASSERT_TRUE(app->initInstance());

    ASSERT_FALSE(boxes.empty()) << "without its data source the station tells so";
    for (const Box& box : boxes)
        EXPECT_TRUE(box.splashClosed) << "a box before the close message: " << QString::fromStdWString(box.text).toStdString();
    ::unsetenv("ODBCINI");
    ::unsetenv("ODBCSYSINI");
}

TEST_F(Station, whileTheSearchWindowWorksTheRestOfTheMainWindowWaitsAndItsTextsStayReadable)
{
    struct Seen {
        bool searchWindow, status, menus, toolBar, newSession;
    };
    std::vector<Seen> seen;
    asker.whileAsked = [&](const platform::RecordingMessageAsker::Asked&) {
        DialogFrame* search = app->searchFrame();
        const auto* view = search ? static_cast<CalibrateView*>(search->getHostedWindow()) : nullptr;
        DialogFrame* newSession = app->newSessionFrame();
        seen.push_back({search && search->isEnabled(), view && view->getDlgItem(CalibrateView::IDC_STATUS)->isEnabled(),
                        app->mainFrame()->menuBar()->isEnabled(), app->mainFrame()->toolBar()->isEnabled(),
                        newSession && newSession->isEnabled()});
    };
    // The start-up search finds no COM port, asks, and has nothing to calibrate.
    ASSERT_TRUE(start());
    ASSERT_FALSE(seen.empty());
    const std::size_t atStartUp = seen.size();
    // Searching again with New session open.
    app->onNewSession();
    ASSERT_NE(app->newSessionFrame(), nullptr);
    static_cast<CalibrateView*>(app->searchFrame()->getHostedWindow())->search();
    ASSERT_EQ(seen.size(), atStartUp + 1);
    for (const Seen& s : seen) {
        EXPECT_TRUE(s.searchWindow);
        EXPECT_TRUE(s.status) << "the search window's status is drawn enabled";
        EXPECT_FALSE(s.menus);
        EXPECT_FALSE(s.toolBar);
        EXPECT_FALSE(s.newSession);
    }
    EXPECT_TRUE(app->mainFrame()->menuBar()->isEnabled());
    EXPECT_TRUE(app->mainFrame()->toolBar()->isEnabled());
    EXPECT_TRUE(app->newSessionFrame()->isEnabled());
}

TEST_F(Station, theMenusCarryTheirTextsAndCommands)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(menuLines(*app->mainFrame()->menuBar()),
              (std::vector<std::string>{
                  "&File | &New session... | 32779",  "&File | N&ew course... | 32802",
                  "&File | -",                        "&File | &Start all sessions | 32785",
                  "&File | P&ause all sessions | 32786", "&File | -",
                  "&File | &Print... | 57607",        "&File | P&rint setup... | 57606",
                  "&File | -",                        "&File | E&xit | 57665",
                  "&Tools | &Calibrate... | 32780",   "&Tools | Con&figuration... | 32922",
                  "&Tools | -",                       "&Tools | &Session view | 32784",
                  "&Tools | S&urveillance view | 32769", "&Database | &Persons... | 32787",
                  "&Database | &Algorithms... | 32788", "&Database | S&cenarios... | 32789",
                  "&Database | &Session manager... | 32804", "&Window | &Cascade | 57650",
                  "&Window | &Tile | 57651",          "&Window | &Arrange Icons | 57649",
                  // The open windows follow the Window menu's own commands.
                  "&Window | -",                      "&Window | &1 Search for Manikins | 0",
                  "&Help | &Contents... | 32781",     "&Help | &About... | 57664",
              }));
    // The metronome is a button of the toolbar alone; 32801 has no command and no button.
    QToolBar* bar = app->mainFrame()->toolBar();
    ASSERT_NE(bar, nullptr);
    std::vector<int> buttons;
    for (QAction* action : bar->actions())
        if (!action->isSeparator())
            buttons.push_back(kova::MenuBuilder::commandId(action));
    EXPECT_NE(std::find(buttons.begin(), buttons.end(), METRONOME), buttons.end());
    EXPECT_EQ(std::find(buttons.begin(), buttons.end(), 32801), buttons.end());
    EXPECT_TRUE(app->mainFrame()->commandAction(METRONOME)->isCheckable());
}

TEST_F(Station, theStatusBarNeedsMoreThan500PixelsAndShowsTheCommandsPrompts)
{
    fullScreenHeight = 500;
    ASSERT_TRUE(start());
    EXPECT_EQ(app->mainFrame()->frameStatusBar(), nullptr);
    app.reset();
    CalibrateManager::destroy();

    fullScreenHeight = 501;
    ASSERT_TRUE(start());
    EXPECT_NE(app->mainFrame()->frameStatusBar(), nullptr);
    for (const int command : {NEW_SESSION, METRONOME, PRINT}) {
        const QString prompt = QString::fromStdWString(idMap::lookup(command));
        EXPECT_FALSE(prompt.isEmpty()) << command;
        EXPECT_EQ(app->mainFrame()->commandAction(command)->statusTip(), prompt) << command;
    }
}

TEST_F(Station, theStatusBarShowsTheLockKeysThatAreLocked)
{
    std::optional<platform::LockKeys> keys;
    const platform::ScopedLockKeysReader reader([&] { return keys; });
    ASSERT_TRUE(start());
    QStatusBar* bar = app->mainFrame()->frameStatusBar();
    ASSERT_NE(bar, nullptr);
    std::vector<QLabel*> panes;
    for (const char* name : {"capsLockIndicator", "numLockIndicator", "scrollLockIndicator"}) {
        panes.push_back(bar->findChild<QLabel*>(name));
        ASSERT_NE(panes.back(), nullptr) << name;
    }
    auto shown = [&] {
        std::vector<std::string> texts;
        for (QLabel* pane : panes)
            texts.push_back(pane->text().toStdString());
        return texts;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(shown(), (Texts{"", "", ""})) << "a windowing system that does not tell shows none";

    // A lock key pressed in any of the station's windows shows at once.
    keys = platform::LockKeys{true, false, true};
    QTest::keyClick(app->mainFrame(), Qt::Key_CapsLock);
    EXPECT_EQ(shown(), (Texts{"CAP", "", "SCRL"}));
    // One locked while another program had the keyboard, within the interval.
    keys = platform::LockKeys{false, true, false};
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == Texts{"", "NUM", ""}; }, 5 * CMainFrame::LOCK_KEYS_INTERVAL_MS));

    // The panes sit right of the prompt in that order, each wide enough for its text.
    app->mainFrame()->show();
    QTest::qWait(10);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        EXPECT_GE(panes[i]->width(), panes[i]->fontMetrics().horizontalAdvance(i == 2 ? "SCRL" : "CAP"));
        if (i > 0) {
            EXPECT_GT(panes[i]->x(), panes[i - 1]->x());
        }
    }
}

TEST_F(Station, commandsAreEnabledByTheSessionsThereAre)
{
    ASSERT_TRUE(start());
    struct Expect {
        int command;
        bool none, stopped, running;
    };
    const std::vector<Expect> table = {
        {CONFIGURATION, true, false, false},   {CONTROLLER_CONFIGURATION, true, true, true},
        {SESSION_VIEW, false, true, true},     {SURVEILLANCE, false, true, true},
        {START_ALL, false, true, false},       {PAUSE_ALL, false, false, true},
        {NEW_SESSION, true, true, true},       {CALIBRATE, true, true, true},
        {PERSONS, true, true, true},           {ALGORITHMS, true, true, true},
        {SCENARIOS, true, true, true},         {SESSION_MANAGER, false, false, false},
        {NEW_COURSE, false, false, false},     {HELP_CONTENTS, true, true, true},
        {ABOUT, true, true, true},
    };
    for (const Expect& e : table)
        EXPECT_EQ(enabled(e.command), e.none) << e.command << " without sessions";
    sessiontest::LinkLog& log = newLinkLog();
    Session* session = addSession(log);
    for (const Expect& e : table)
        EXPECT_EQ(enabled(e.command), e.stopped) << e.command << " with a session that is not running";
    session->start();
    ASSERT_TRUE(session->isRunning());
    for (const Expect& e : table)
        EXPECT_EQ(enabled(e.command), e.running) << e.command << " with a running session";

    // A session that ran to its end cannot be started again: there is
    // nothing to pause.
    Session* timed = addSession(newLinkLog(), 1);
    session->pause();
    timed->start();
    for (int step = 0; step < 25 && !timed->getEnded(); ++step)
        timed->onTimer();
    ASSERT_TRUE(timed->getEnded());
    timed->setState(Session::COLLECT);
    timed->start();
    EXPECT_FALSE(timed->isRunning());
    EXPECT_FALSE(enabled(PAUSE_ALL));

    // A course planner installed enables New course.
    app->setCoursePlanner([] {});
    EXPECT_TRUE(enabled(NEW_COURSE));
}

TEST_F(Station, printPrintsAStoppedCollectingOrDebriefingSessionAndBeepsOtherwise)
{
    ASSERT_TRUE(start());
    std::vector<std::pair<Session*, bool>> printed;
    app->setSessionPrinter([&](Session& session, bool debriefing) { printed.emplace_back(&session, debriefing); });
    sessiontest::LinkLog& log = newLinkLog();
    Session* session = addSession(log);

    enum class Set { None, Running, Paused, Debrief, Review };
    struct Case {
        Set set;
        int beeps;
        bool printed;
        bool debriefing;
    };
    for (const Case& c : {Case{Set::None, 1, false, false}, Case{Set::Running, 1, false, false},
                          Case{Set::Paused, 0, true, false}, Case{Set::Debrief, 0, true, true},
                          Case{Set::Review, 1, false, false}}) {
        manager->front = c.set == Set::None ? nullptr : session;
        if (c.set == Set::Running)
            session->start();
        if (c.set == Set::Paused)
            session->pause();
        if (c.set == Set::Debrief)
            session->setState(Session::DEBRIEF);
        if (c.set == Set::Review)
            session->setState(Session::REVIEW);
        beeps = 0;
        printed.clear();
        EXPECT_EQ(enabled(PRINT), c.printed) << static_cast<int>(c.set);
        app->mainFrame()->onCommand(PRINT);
        EXPECT_EQ(beeps, c.beeps) << static_cast<int>(c.set);
        ASSERT_EQ(printed.size(), c.printed ? 1u : 0u) << static_cast<int>(c.set);
        if (c.printed) {
            EXPECT_EQ(printed[0], std::make_pair(session, c.debriefing)) << static_cast<int>(c.set);
        }
    }
}

TEST_F(Station, theApplicationsCommandsReachTheirWindows)
{
    ASSERT_TRUE(start());
    CMainFrame* frame = app->mainFrame();
    frame->onCommand(FIRST_TAB + 2);
    frame->onCommand(LAST_TAB);
    EXPECT_EQ(manager->selectedTabs, (std::vector<int>{3, 10}));
    frame->onCommand(SESSION_VIEW);
    EXPECT_EQ(manager->sessionWindowShows, 1);
    frame->onCommand(PRINT_SETUP);
    EXPECT_EQ(pageSetups, 1);
}

TEST_F(Station, theMetronomeSoundsAtOnceAndEveryTimedBeatMarksEverySession)
{
    ASSERT_TRUE(start());
    Configuration::instance().getPropertyModel().metronomeRate = 100;
    sessiontest::LinkLog& a = newLinkLog();
    sessiontest::LinkLog& b = newLinkLog();
    Session* first = addSession(a);
    Session* second = addSession(b);
    CMainFrame* frame = app->mainFrame();

    frame->onCommand(METRONOME);
    EXPECT_TRUE(frame->metronomeOn());
    EXPECT_TRUE(frame->commandAction(METRONOME)->isChecked());
    EXPECT_EQ(sounds, 1) << "switching on sounds at once";
    EXPECT_FALSE(first->getRecord().Metronome) << "but is no beat for the sessions";

    clock.advance(600);
    frame->onTimer();
    EXPECT_EQ(sounds, 1);
    clock.advance(20);
    frame->onTimer();
    EXPECT_EQ(sounds, 2);
    EXPECT_TRUE(first->getRecord().Metronome);
    EXPECT_TRUE(second->getRecord().Metronome);

    frame->onCommand(METRONOME);
    EXPECT_FALSE(frame->commandAction(METRONOME)->isChecked());
    for (int i = 0; i < 100; ++i) {
        clock.advance(20);
        frame->onTimer();
    }
    EXPECT_EQ(sounds, 2);
    EXPECT_TRUE(first->getRecord().Metronome) << "switching off leaves the marks";
}

TEST(MetronomeClick, withoutASoundOutputEveryBeatIsTheSystemBeep)
{
    MetronomeSound click;
    if (click.waveDevicePresent())
        GTEST_SKIP() << "this machine has a sound output";
    int beeps = 0;
    platform::setBeepFunction([&] { ++beeps; });
    click.play();
    click.play();
    platform::setBeepFunction({});
    EXPECT_EQ(beeps, 2);
}

TEST_F(Station, theMainWindowsTimerStepsTheOtherSessionsWhileOneSessionsBoxIsUp)
{
    ASSERT_TRUE(start());
    sessiontest::LinkLog& lostLink = newLinkLog();
    Session* lost = addSession(lostLink);
    Session* timed = addSession(newLinkLog(), 2);
    lost->start();
    timed->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return timed->getLastPublishedIndex() > 2; }, 2000));

    // The lost link's box is modal: the event loop runs under it until the
    // instructor answers, here once the other session has had its time.
    struct ModalBox final : platform::MessageAsker {
        Session* timed = nullptr;
        bool answered = false;
        bool otherEndedUnderTheBox = false;
        int ask(const std::wstring&, const std::wstring&, unsigned) override
        {
            otherEndedUnderTheBox = QTest::qWaitFor([&] { return timed->getEnded(); }, 5000);
            answered = true;
            return platform::IDCANCEL;
        }
    } box;
    box.timed = timed;
    platform::ScopedMessageAsker scope(box);
    lostLink.port.alive = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.answered; }, 8000));
    // Two seconds at 20 samples a second, taken under the box.
    EXPECT_TRUE(box.otherEndedUnderTheBox);
    EXPECT_TRUE(timed->getEnded());
    EXPECT_EQ(timed->getLastPublishedIndex(), 40);
}

TEST_F(Station, aRefusingRunCourseWindowOrACancelledSaveQuestionKeepsTheProgramOpen)
{
    ASSERT_TRUE(start());
    CMainFrame* frame = app->mainFrame();
    auto course = std::make_unique<HostedDialog>();
    HostedDialog* runCourse = course.get();
    runCourse->closeAllowed = false;
    app->openRunCourse(std::move(course));
    ASSERT_NE(app->runCourseFrame(), nullptr);
    EXPECT_EQ(app->runCourseFrame()->windowTitle(), "Run course");
    sessiontest::LinkLog& log = newLinkLog();
    Session* session = addSession(log);

    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(windows.of(*session).asked.empty()) << "the sessions are not asked while Run course refuses";

    runCourse->closeAllowed = true;
    windows.of(*session).answers = {Answer::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(windows.of(*session).asked.size(), 1u);
    EXPECT_TRUE(frame->isTimerActive());

    windows.of(*session).answers = {Answer::No};
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(Station, settingsThatCannotBeWrittenAtExitAreTold)
{
    // The settings file lies in the working directory; a folder of its name
    // there is what no write can replace.
    struct WorkingDirectory {
        std::filesystem::path before = std::filesystem::current_path();
        ~WorkingDirectory() { std::filesystem::current_path(before); }
    } kept;
    const std::filesystem::path station = folder.file("station");
    std::filesystem::create_directories(station / SettingsFile::NAME);
    std::filesystem::current_path(station);

    ASSERT_TRUE(start());
    asker.asked.clear();
    app->exitInstance(0);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_NE(asker.asked[0].text.find(L"configuration.cprcfg"), std::wstring::npos) << asker.asked[0].text;
    EXPECT_EQ(asker.asked[0].caption, L"Kova CPR Software");
    EXPECT_TRUE(std::filesystem::is_directory(station / SettingsFile::NAME));

    // A settings file that could be written says nothing.
    std::filesystem::remove(station / SettingsFile::NAME);
    app.reset();
    Configuration::destroy();
    ASSERT_TRUE(start());
    asker.asked.clear();
    app->exitInstance(0);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(station / SettingsFile::NAME));
}
