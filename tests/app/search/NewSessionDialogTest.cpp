// The New-session window in its frame on a temporary SQLite data source:
// the scenario that fills in the other choices and is cleared when they
// differ, the participants that follow the training mode, the manikins of
// the port registry (recorded-data ports, simulated manikins), the editors
// behind its buttons, the failed starts, and its screenshot.

#include "app/search/AppCommands.h"
#include "app/search/CalibrateView.h"
#include "app/search/EditorSeams.h"
#include "app/search/NewSessionDialog.h"
#include "app/search/RecordDetailsEditors.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionManager.h"
#include "app/shell/CprTrainingApp.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/StationWindows.h"

#include "Database/DatabasePatch.h"
#include "Database/SessionRecord.h"
#include "Database/TablePool.h"
#include "Database/editors/PersonDialog.h"
#include "Database/editors/RecordDialogTables.h"
#include "LinkTestSupport.h"
#include "TablesFixture.h"
#include "TestMainWindow.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/link/SerialPort.h"
#include "config/Configuration.h"
#include "propertyPage/ConfigSeams.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace linktest;

namespace {

using Dialog = NewSessionDialog;

// An editor that ends on a fixed record and notes what it was opened on.
class FakeEditor final : public editorseams::RecordEditor, public configseams::AlgorithmEditor {
public:
    FakeEditor(std::string key, std::vector<std::string>& openedOn) : key_(std::move(key)), openedOn_(openedOn) {}
    int doModal() override { return 1; }
    std::string getCurrentKey() const override { return key_; }

private:
    std::string key_;
    std::vector<std::string>& openedOn_;
};

class FakePlanner final : public editorseams::CoursePlanner {
public:
    FakePlanner(bool opensRun, std::function<void()> whileOpen) : opensRun_(opensRun), whileOpen_(std::move(whileOpen)) {}
    int doModal() override
    {
        whileOpen_();
        return 1;
    }
    bool openedCourseRun() const override { return opensRun_; }

private:
    bool opensRun_;
    std::function<void()> whileOpen_;
};

class NewSessionWindow : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CalibrateManager::destroy();
        ::setenv("KOVA_PORT_MAP", "", 1);
        putRecords();
        for (const char* name : {"Anna", "Bert"})
            exec("INSERT INTO \"Person\" (\"Name\") VALUES (?)", {std::string(name)});
        AppCommands::setShowSearchForManikins([this] { ++searchCommands; });
        window.show();
    }
    void TearDown() override
    {
        for (QMdiSubWindow* frame : window.client().subWindowList())
            delete frame;
        AppCommands::setShowSearchForManikins({});
        AppCommands::setNewSession({});
        editorseams::setPersonEditorFactory({});
        editorseams::setScenarioEditorFactory({});
        editorseams::setCoursePlannerFactory({});
        configseams::setAlgorithmEditorFactory({});
        Configuration::destroy();
        CalibrateManager::destroy();
        ::setenv("KOVA_PORT_MAP", "", 1);
        TablesFixture::TearDown();
    }

    // The algorithms and scenarios the window chooses from.
    virtual void putRecords()
    {
        for (const char* name : {"AHA 2010", "ERC 2010", "Kids"})
            exec("INSERT INTO \"Algorithm\" (\"Name\") VALUES (?)", {std::string(name)});
        addScenario("Basic", 120, "ERC 2010", true, 1);
        addScenario("Advanced", 600, "AHA 2010", false, 2);
        addScenario("Child", 300, "Kids", true, 3);
    }

    void addScenario(const std::string& name, long duration, const std::string& algorithm, bool events, long mode)
    {
        exec("INSERT INTO \"Scenario\" (\"Name\", \"Duration\", \"Algorithm\", \"RegisterEvents\", \"TrainingMode\") "
             "VALUES (?, ?, ?, ?, ?)",
             {name, static_cast<long long>(duration), algorithm, events ? 1LL : 0LL, static_cast<long long>(mode)});
    }

    // The application's New-session frame around a new dialog.
    Dialog* openNewSession()
    {
        auto owned = std::make_unique<Dialog>();
        Dialog* dialog = owned.get();
        frame = new DialogFrame(&window.client(), std::move(owned));
        frame->fitToDialog = true;
        frame->resizable = false;
        frame->hideOnClose = true;
        EXPECT_TRUE(frame->createFrame("New session"));
        return dialog;
    }

    // Recorded-data ports 247 to 256, scanned and calibrated.
    void readyRecordedDataPorts()
    {
        CalibrateManager& ports = CalibrateManager::get();
        ports.scanComPorts();
        for (int port = 247; port <= 256; ++port)
            ports.setIsCalibrated(true, port);
    }

    // A simulated manikin that sends frames (kind 3) on COM 5, scanned.
    std::unique_ptr<manikinsim::ManikinSimulator> framedManikinOnCom5()
    {
        manikinsim::SimulatorOptions options;
        options.handshake = manikinsim::Handshake::Framed;
        options.kind = 3;
        auto manikin = startOnPseudoTerminal(options);
        if (!manikin)
            return nullptr;
        ::setenv("KOVA_PORT_MAP", ("5=" + manikin->devicePath()).c_str(), 1);
        CalibrateManager::get().scanComPorts();
        return manikin;
    }

    static QComboBox* box(const Dialog& dialog, int id) { return qobject_cast<QComboBox*>(dialog.getDlgItem(id)); }
    static QString shown(const Dialog& dialog, int id) { return box(dialog, id)->currentText(); }
    static QStringList entries(const Dialog& dialog, int id)
    {
        QStringList list;
        for (int i = 0; i < box(dialog, id)->count(); ++i)
            list << box(dialog, id)->itemText(i);
        return list;
    }
    static bool enabled(const Dialog& dialog, int id) { return dialog.getDlgItem(id)->isEnabled(); }
    // Chooses an entry as the user does.
    static void choose(Dialog& dialog, int id, const QString& entry)
    {
        QComboBox* combo = box(dialog, id);
        const int index = combo->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
    static void click(Dialog& dialog, int id) { qobject_cast<QAbstractButton*>(dialog.getDlgItem(id))->click(); }
    static void typeInto(Dialog& dialog, int id, const QString& typed)
    {
        QLineEdit* edit = box(dialog, id)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QApplication::processEvents();
    }

    linktest::DemoState* demo = nullptr;
    kovatest::TestMainWindow window;
    DialogFrame* frame = nullptr;
    int searchCommands = 0;
};

// The records of a station just set up, before its first start.
class NewSessionOnAFreshSetUp : public NewSessionWindow {
protected:
    void putRecords() override { installSetUpRows(); }
};

} // namespace

TEST_F(NewSessionOnAFreshSetUp, theBuiltInScenariosComeWithTheirGuidelines)
{
    DatabasePatch::runIfNeeded(); // as the first start does
    Dialog* dialog = openNewSession();
    EXPECT_EQ(entries(*dialog, Dialog::IDC_SCENARIO),
              (QStringList{"10 minute BLS (AHA)", "20 minute BLS (AHA)", "5 minute BLS (AHA)", "10 minute BLS (ERC)",
                           "20 minute BLS (ERC)", "5 minute BLS (ERC)"}));
    EXPECT_EQ(entries(*dialog, Dialog::IDC_ALGORITHM),
              (QStringList{"AHA 2010 (American Heart Association)", "ERC 2010 (European Resuscitation Council)"}))
        << "the 2005 guidelines are gone";
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "10 minute BLS (AHA)");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), "AHA 2010 (American Heart Association)");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_DURATION), "10:00");
    const auto path = kovatest::binaryDir() / "new-session-fresh-set-up.png";
    EXPECT_TRUE(frame->grab().save(QString::fromStdString(path.string())));

    // Each stays chosen with its own guideline and length.
    const struct {
        const char* scenario;
        const char* algorithm;
        const char* duration;
    } choices[] = {
        {"5 minute BLS (AHA)", "AHA 2010 (American Heart Association)", "05:00"},
        {"20 minute BLS (ERC)", "ERC 2010 (European Resuscitation Council)", "20:00"},
        {"5 minute BLS (ERC)", "ERC 2010 (European Resuscitation Council)", "05:00"},
    };
    for (const auto& choice : choices) {
        choose(*dialog, Dialog::IDC_SCENARIO, choice.scenario);
        QApplication::processEvents();
        EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), choice.scenario);
        EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), choice.algorithm) << choice.scenario;
        EXPECT_EQ(shown(*dialog, Dialog::IDC_DURATION), choice.duration) << choice.scenario;
    }
}

// The demonstration's first start opens New session on the recorded-data
// ports during its start-up, as a ready manikin does.
TEST_F(NewSessionOnAFreshSetUp, theFirstStartOffersTheFirstBuiltInScenario)
{
    const kovatest::ScopedCwd inStation(folder.path()); // its settings file and error log
    CprTrainingApp::Services services = StationWindows::services();
    services.openDatabase = [] {}; // the test's records are open
    services.screenHeight = [] { return 1024; };
    services.fullScreenHeight = [] { return 1000; };
    services.beatSound = [] {};
    services.stationDir = folder.path();
    CprTrainingApp app("demo", std::move(services));
    ASSERT_TRUE(app.initInstance());
    ASSERT_NE(app.newSessionFrame(), nullptr);
    ASSERT_TRUE(app.newSessionFrame()->isVisible());
    const auto* dialog = static_cast<Dialog*>(app.newSessionFrame()->getHostedWindow());
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "10 minute BLS (AHA)");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), "AHA 2010 (American Heart Association)");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_DURATION), "10:00");
}

TEST_F(NewSessionWindow, theFirstScenarioFillsInItsChoicesUntilOneOfThemDiffers)
{
    Dialog* dialog = openNewSession();
    EXPECT_EQ(entries(*dialog, Dialog::IDC_SCENARIO), (QStringList{"Basic", "Advanced", "Child"}));
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "Basic");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), "ERC 2010");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_DURATION), "02:00");
    EXPECT_TRUE(dialog->isDlgButtonChecked(Dialog::IDC_REGISTER_EVENTS));
    EXPECT_EQ(shown(*dialog, Dialog::IDC_TRAINING_MODE), "Two-person CPR");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION), "User 1");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "User 2");
    EXPECT_EQ(entries(*dialog, Dialog::IDC_COMPRESSION), (QStringList{"Anna", "Bert"}));
    EXPECT_FALSE(enabled(*dialog, Dialog::IDC_CONTINUE)) << "no manikin is ready";
    EXPECT_TRUE(enabled(*dialog, Dialog::IDC_CONFIGURATION));

    struct Change {
        const char* what;
        std::function<void()> make;
    };
    const Change changes[] = {
        {"another algorithm", [&] { choose(*dialog, Dialog::IDC_ALGORITHM, "AHA 2010"); }},
        {"no events", [&] { click(*dialog, Dialog::IDC_REGISTER_EVENTS); }},
        {"another mode", [&] { choose(*dialog, Dialog::IDC_TRAINING_MODE, "Chest compression only"); }},
        {"a duration from the list", [&] { choose(*dialog, Dialog::IDC_DURATION, "05:00"); }},
        {"a typed duration", [&] { typeInto(*dialog, Dialog::IDC_DURATION, "2:01"); }},
    };
    for (const Change& change : changes) {
        change.make();
        QApplication::processEvents();
        EXPECT_EQ(box(*dialog, Dialog::IDC_SCENARIO)->currentIndex(), -1) << change.what;
        // Choosing the scenario again brings all its choices back.
        choose(*dialog, Dialog::IDC_SCENARIO, "Basic");
        QApplication::processEvents();
        EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "Basic") << change.what;
        EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), "ERC 2010") << change.what;
        EXPECT_EQ(shown(*dialog, Dialog::IDC_DURATION), "02:00") << change.what;
        EXPECT_TRUE(dialog->isDlgButtonChecked(Dialog::IDC_REGISTER_EVENTS)) << change.what;
        EXPECT_EQ(box(*dialog, Dialog::IDC_TRAINING_MODE)->currentIndex(), 1) << change.what;
    }

    // A typed text that still means the scenario's duration keeps it.
    typeInto(*dialog, Dialog::IDC_DURATION, "2:00");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "Basic");
    typeInto(*dialog, Dialog::IDC_DURATION, "2:0");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "Basic") << "2:0 is two minutes too";
    QTest::keyClicks(box(*dialog, Dialog::IDC_DURATION)->lineEdit(), "1");
    QApplication::processEvents();
    EXPECT_EQ(box(*dialog, Dialog::IDC_SCENARIO)->currentIndex(), -1) << "2:01 is not";
}

TEST_F(NewSessionWindow, aScenarioSetsTheParticipantsOfItsMode)
{
    Dialog* dialog = openNewSession();
    choose(*dialog, Dialog::IDC_SCENARIO, "Advanced");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), "AHA 2010");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_DURATION), "10:00");
    EXPECT_FALSE(dialog->isDlgButtonChecked(Dialog::IDC_REGISTER_EVENTS));
    EXPECT_EQ(shown(*dialog, Dialog::IDC_TRAINING_MODE), "Ventilation only");
    // One user takes part, and the other part is empty.
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION), "User");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "");
    EXPECT_FALSE(enabled(*dialog, Dialog::IDC_COMPRESSION));
    EXPECT_FALSE(enabled(*dialog, Dialog::IDC_COMPRESSION_DETAILS));

    choose(*dialog, Dialog::IDC_SCENARIO, "Child");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), "Kids");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION), "");
    EXPECT_FALSE(enabled(*dialog, Dialog::IDC_VENTILATION));
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "User");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "Child");
}

TEST_F(NewSessionWindow, singlePersonCprMirrorsTheVentilationParticipantWhileTyping)
{
    Dialog* dialog = openNewSession();
    choose(*dialog, Dialog::IDC_TRAINING_MODE, "Single-person CPR");
    EXPECT_FALSE(enabled(*dialog, Dialog::IDC_COMPRESSION));
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION), "User");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "User");

    typeInto(*dialog, Dialog::IDC_VENTILATION, "Ev");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Ev");
    QTest::keyClicks(box(*dialog, Dialog::IDC_VENTILATION)->lineEdit(), "a");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Eva");
    choose(*dialog, Dialog::IDC_VENTILATION, "Bert");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Bert");

    // Two persons again: the name typed stays with its part, the other gets its default.
    choose(*dialog, Dialog::IDC_TRAINING_MODE, "Two-person CPR");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION), "Bert");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Bert");
    typeInto(*dialog, Dialog::IDC_VENTILATION, "Carl");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Bert") << "two persons type their own names";

    typeInto(*dialog, Dialog::IDC_VENTILATION, QString(100, 'x'));
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION).size(), Dialog::PARTICIPANT_LIMIT);

    // A name typed over a picked one is what is mirrored.
    choose(*dialog, Dialog::IDC_TRAINING_MODE, "Single-person CPR");
    choose(*dialog, Dialog::IDC_VENTILATION, "Anna");
    typeInto(*dialog, Dialog::IDC_VENTILATION, "Dora");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Dora");
    EXPECT_EQ(dialog->sessionRecord(249).PersonChestCompression, "Dora");
}

TEST_F(NewSessionWindow, theStartUpSearchOfTheDemonstrationOpensNewSessionWithTheRecordedDataPorts)
{
    linktest::DemoState demo;
    Dialog* dialog = nullptr;
    AppCommands::setNewSession([&] { dialog = openNewSession(); });
    auto* searchFrame = new DialogFrame(&window.client(), std::make_unique<CalibrateView>());
    searchFrame->fitToDialog = true;
    searchFrame->resizable = false;
    searchFrame->hideOnClose = true;
    ASSERT_TRUE(searchFrame->createFrame("Search for Manikins"));
    EXPECT_FALSE(static_cast<CalibrateView*>(searchFrame->getHostedWindow())->startupSearch());

    ASSERT_TRUE(dialog);
    EXPECT_FALSE(searchFrame->isVisible());
    QStringList manikins;
    for (int port = 247; port <= 256; ++port)
        manikins << QString("USB %1").arg(port);
    EXPECT_EQ(entries(*dialog, Dialog::IDC_MANIKIN), manikins);
    EXPECT_EQ(box(*dialog, Dialog::IDC_MANIKIN)->currentIndex(), 0);
    EXPECT_TRUE(enabled(*dialog, Dialog::IDC_CONTINUE));

    // A port that stops being calibrated leaves the list at once.
    CalibrateManager::get().setIsCalibrated(false, 247);
    EXPECT_EQ(entries(*dialog, Dialog::IDC_MANIKIN).front(), "USB 248");

    QTest::qWait(20);
    const auto path = kovatest::binaryDir() / "new-session.png";
    EXPECT_TRUE(frame->grab().save(QString::fromStdString(path.string())));
}

TEST_F(NewSessionWindow, theSessionRecordHoldsTheChoices)
{
    linktest::DemoState demo;
    readyRecordedDataPorts();
    Dialog* dialog = openNewSession();
    choose(*dialog, Dialog::IDC_SCENARIO, "Advanced");
    choose(*dialog, Dialog::IDC_TRAINING_MODE, "Two-person CPR");
    typeInto(*dialog, Dialog::IDC_VENTILATION, "Anna");
    typeInto(*dialog, Dialog::IDC_COMPRESSION, "Bert");
    const SessionRecord record = dialog->sessionRecord(249);
    EXPECT_EQ(record.PersonVentilation, "Anna");
    EXPECT_EQ(record.PersonChestCompression, "Bert");
    EXPECT_EQ(record.TrainingMode, 1);
    EXPECT_EQ(record.Duration, 600);
    EXPECT_EQ(record.Manikin, 249);
    EXPECT_EQ(record.Algorithm, "AHA 2010");
    EXPECT_EQ(record.Scenario, "") << "the mode no longer matches the scenario";
    EXPECT_EQ(record.Serialidentifier.size(), SessionRecord::SERIAL_IDENTIFIER_LENGTH);
}

// The list still shows a port that is no longer a manikin to start on.
TEST_F(NewSessionWindow, aPortThatCannotTakeASessionIsAStartProblem)
{
    platform::SystemClock realTime;
    platform::ScopedClock inForce(realTime);
    manikinsim::SimulatorOptions controllerOptions;
    controllerOptions.handshake = manikinsim::Handshake::Ascii;
    controllerOptions.asciiIdentity = "2c";
    auto controller = startOnPseudoTerminal(controllerOptions);
    ASSERT_TRUE(controller);
    ::setenv("KOVA_PORT_MAP", ("7=" + controller->devicePath()).c_str(), 1);
    linktest::DemoState demo;
    CalibrateManager& ports = CalibrateManager::get();
    // COM 7 held a calibrated manikin before a controller took its place.
    ports.setIsCalibrated(true, 7);
    readyRecordedDataPorts();
    ASSERT_TRUE(ports.getIsCPB(7));
    Dialog* dialog = openNewSession();

    struct Case {
        const char* what;
        int port;
        std::function<void()> meanwhile;
    };
    const Case cases[] = {
        {"a controller", 7, [] {}},
        // Another session takes the port before the list hears of it.
        {"a port taken", 247, [&] { dialog->slotConnections().disconnectAll(); ports.takePort(247); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        asker.asked.clear();
        searchCommands = 0;
        QComboBox* manikins = box(*dialog, Dialog::IDC_MANIKIN);
        manikins->setCurrentIndex(manikins->findData(c.port));
        ASSERT_GE(manikins->currentIndex(), 0);
        c.meanwhile();
        click(*dialog, Dialog::IDC_CONTINUE);

        ASSERT_EQ(asker.asked.size(), 1u);
        EXPECT_EQ(asker.asked[0].caption, L"Start problem");
        EXPECT_EQ(asker.asked[0].text, L"The selected COM port is not available. Please select another.");
        EXPECT_EQ(asker.asked[0].style, platform::MB_OK);
        EXPECT_FALSE(ports.getIsCalibrated(c.port));
        EXPECT_EQ(searchCommands, 1);
        EXPECT_EQ(manikins->findData(c.port), -1) << "the list is read again";
        EXPECT_TRUE(frame->isVisible());
    }
}

TEST_F(NewSessionWindow, aPortThatDoesNotOpenIsAComPortProblem)
{
    platform::SystemClock realTime;
    platform::ScopedClock inForce(realTime);
    auto manikin = framedManikinOnCom5();
    ASSERT_TRUE(manikin);
    ASSERT_TRUE(CalibrateManager::get().getIsCalibrated(5));
    Dialog* dialog = openNewSession();
    ASSERT_EQ(shown(*dialog, Dialog::IDC_MANIKIN), "USB 5");

    manikin->setMisbehaviour(manikinsim::Misbehaviour::Silent);
    click(*dialog, Dialog::IDC_CONTINUE);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"COM port problem");
    EXPECT_EQ(asker.asked[0].text, L"There was a problem opening the port. Please make sure that the manikin is "
                                   L"properly connected and recalibrate.");
    EXPECT_FALSE(CalibrateManager::get().getSerPort(5)->isConnected());
    EXPECT_FALSE(CalibrateManager::get().getIsCalibrated(5));
    EXPECT_EQ(searchCommands, 1);
    EXPECT_TRUE(entries(*dialog, Dialog::IDC_MANIKIN).isEmpty());
    EXPECT_FALSE(enabled(*dialog, Dialog::IDC_CONTINUE));
}

TEST_F(NewSessionWindow, withoutAManikinContinueDoesNothing)
{
    Dialog* dialog = openNewSession();
    const std::uint64_t sleptBefore = clock.sleptTotal();
    dialog->start();
    EXPECT_EQ(clock.sleptTotal() - sleptBefore, Dialog::START_DELAY_MS);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(searchCommands, 0);
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(NewSessionWindow, theEditorsReturnToTheRecordTheyEndedOn)
{
    Dialog* dialog = openNewSession();
    std::vector<std::string> openedOn;
    editorseams::setPersonEditorFactory([&](const std::string& name) {
        openedOn.push_back(name);
        // The editor stored a new person, who shows up in both lists.
        exec("INSERT INTO \"Person\" (\"Name\") VALUES ('Dora')");
        return std::make_unique<FakeEditor>("Dora", openedOn);
    });
    configseams::setAlgorithmEditorFactory([&](const std::string& name, bool allowDelete) {
        openedOn.push_back(name + (allowDelete ? " (delete)" : ""));
        return std::make_unique<FakeEditor>("Kids", openedOn);
    });
    ScenarioRecord scenarioOpened;
    editorseams::setScenarioEditorFactory([&](const ScenarioRecord& scenario) {
        scenarioOpened = scenario;
        return std::make_unique<FakeEditor>("Advanced", openedOn);
    });

    click(*dialog, Dialog::IDC_COMPRESSION_DETAILS);
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Dora");
    EXPECT_TRUE(entries(*dialog, Dialog::IDC_VENTILATION).contains("Dora"));

    click(*dialog, Dialog::IDC_ALGORITHM_DETAILS);
    EXPECT_EQ(shown(*dialog, Dialog::IDC_ALGORITHM), "Kids");
    EXPECT_EQ(box(*dialog, Dialog::IDC_SCENARIO)->currentIndex(), -1) << "Basic judges with another algorithm";
    EXPECT_EQ(openedOn, (std::vector<std::string>{"User 2", "ERC 2010"}));

    typeInto(*dialog, Dialog::IDC_DURATION, "3:05");
    click(*dialog, Dialog::IDC_SCENARIO_DETAILS);
    EXPECT_EQ(scenarioOpened.name, "");
    EXPECT_EQ(scenarioOpened.algorithm, "Kids");
    EXPECT_EQ(scenarioOpened.duration, 185);
    EXPECT_EQ(scenarioOpened.trainingMode, 1);
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "Advanced");
    EXPECT_EQ(shown(*dialog, Dialog::IDC_TRAINING_MODE), "Ventilation only");
}

TEST_F(NewSessionWindow, theCoursePlannerHidesTheWindowForACourseRun)
{
    Dialog* dialog = openNewSession();
    for (const bool opensRun : {false, true}) {
        bool hiddenMeanwhile = false;
        editorseams::setCoursePlannerFactory([&] {
            return std::make_unique<FakePlanner>(opensRun, [&] { hiddenMeanwhile = !frame->isVisible(); });
        });
        click(*dialog, Dialog::IDC_COURSE_PLANNER);
        EXPECT_TRUE(hiddenMeanwhile) << opensRun;
        EXPECT_EQ(frame->isVisible(), !opensRun);
    }
}

TEST_F(NewSessionWindow, escapeHidesTheWindowAndShowingItAgainReadsTheListsAgain)
{
    Dialog* dialog = openNewSession();
    // A participant who is no person of the records yet.
    typeInto(*dialog, Dialog::IDC_VENTILATION, "Eva");
    choose(*dialog, Dialog::IDC_COMPRESSION, "Bert");
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(frame->isVisible());
    exec("INSERT INTO \"Person\" (\"Name\") VALUES ('Carl')");
    addScenario("Adult", 60, "AHA 2010", true, 0);
    // What the record code does after a direct statement.
    TablePool::refresh(TableKind::Scenario);
    frame->showFrame();
    EXPECT_TRUE(entries(*dialog, Dialog::IDC_VENTILATION).contains("Carl"));
    EXPECT_TRUE(entries(*dialog, Dialog::IDC_SCENARIO).contains("Adult"));
    EXPECT_EQ(shown(*dialog, Dialog::IDC_SCENARIO), "Basic") << "the choices stay";
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION), "Eva") << "a typed name stays";
    EXPECT_EQ(shown(*dialog, Dialog::IDC_COMPRESSION), "Bert");

    std::vector<int> helpTopics;
    configseams::setHelpFunction([&](int topic) { helpTopics.push_back(topic); });
    click(*dialog, ChildDialog::ID_HELP);
    configseams::setHelpFunction({});
    EXPECT_EQ(helpTopics, std::vector<int>{Dialog::HELP_TOPIC});

    // "Add new Manikin" brings the search window.
    click(*dialog, Dialog::IDC_ADD_MANIKIN);
    EXPECT_EQ(searchCommands, 1);
}

TEST_F(NewSessionWindow, detailsOpensThePersonEditorOnTheParticipant)
{
    registerRecordDialogTables();
    installRecordDetailsEditors();
    Dialog* dialog = openNewSession();
    choose(*dialog, Dialog::IDC_VENTILATION, "Bert");
    QString shownName;
    bool deleteOffered = true;
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<PersonDialog*>(QApplication::activeModalWidget());
        if (!editor) {
            ADD_FAILURE() << "no person editor";
            return;
        }
        shownName = editor->getDlgItemText(1118);
        deleteOffered = editor->getDlgItem(1113)->isEnabled();
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    click(*dialog, Dialog::IDC_VENTILATION_DETAILS);
    EXPECT_EQ(shownName, "Bert");
    EXPECT_FALSE(deleteOffered);
    EXPECT_EQ(shown(*dialog, Dialog::IDC_VENTILATION), "Bert");
}

TEST_F(NewSessionWindow, continueStartsASessionOnTheManikinWithTheChoices)
{
    platform::SystemClock realTime;
    platform::ScopedClock inForce(realTime);
    auto manikin = framedManikinOnCom5();
    ASSERT_TRUE(manikin);
    CalibrateManager& ports = CalibrateManager::get();
    SessionManager manager(false);
    Dialog* dialog = openNewSession();
    choose(*dialog, Dialog::IDC_SCENARIO, "Advanced");
    typeInto(*dialog, Dialog::IDC_VENTILATION, "Anna");
    EXPECT_TRUE(enabled(*dialog, Dialog::IDC_CONFIGURATION));
    Configuration::instance().getPropertyModel().ecgEnabled = false;

    click(*dialog, Dialog::IDC_CONTINUE);
    EXPECT_TRUE(asker.asked.empty());
    ASSERT_EQ(manager.getSessionCount(), 1);
    Session* session = manager.sessions().front();
    const SessionRecord& record = session->getRecord();
    EXPECT_EQ(record.Manikin, 5);
    EXPECT_EQ(record.Scenario, "Advanced");
    EXPECT_EQ(record.Algorithm, "AHA 2010");
    EXPECT_EQ(record.Duration, 600);
    EXPECT_EQ(record.TrainingMode, 2);
    EXPECT_FALSE(record.RegisterEvents);
    EXPECT_EQ(record.PersonVentilation, "Anna");
    EXPECT_EQ(record.PersonChestCompression, "");
    EXPECT_EQ(record.linkType, SerialPort::LINK_FRAMED_COM);
    EXPECT_EQ(session->getAlgorithm().Name, "AHA 2010");
    EXPECT_FALSE(session->getEcgEnabled()) << "the station's ECG setting of the moment";
    EXPECT_FALSE(ports.getIsAvailable(5)) << "the session holds the port";
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(enabled(*dialog, Dialog::IDC_CONFIGURATION)) << "no configuration while a session exists";
    EXPECT_TRUE(entries(*dialog, Dialog::IDC_MANIKIN).isEmpty());

    // The session collects what the manikin sends.
    session->start();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        manager.tick();
        return session->getCommSession().manData.size() > 10;
    }, 10000));

    session->destroyViews();
    manager.tick();
    EXPECT_EQ(manager.getSessionCount(), 0);
    EXPECT_TRUE(enabled(*dialog, Dialog::IDC_CONFIGURATION));
    EXPECT_TRUE(ports.getIsAvailable(5));
}

// The length the box shows is the session's: typed over a pick, and typed
// when the window comes back with an entry of the list still current.
TEST_F(NewSessionWindow, theTypedDurationIsTheSessionsAfterAPickAndWhenTheWindowComesBack)
{
    linktest::DemoState demo;
    readyRecordedDataPorts();
    SessionManager manager(false);
    Dialog* dialog = openNewSession();
    struct Step {
        const char* picked;
        const char* typed;
        long duration;
    };
    const Step steps[] = {{"01:00", "00:45", 45}, {"No limit", nullptr, -1}, {nullptr, "03:00", 180}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.typed ? step.typed : step.picked);
        if (step.picked)
            choose(*dialog, Dialog::IDC_DURATION, step.picked);
        if (step.typed)
            typeInto(*dialog, Dialog::IDC_DURATION, step.typed);
        const int before = manager.getSessionCount();
        click(*dialog, Dialog::IDC_CONTINUE);
        ASSERT_EQ(manager.getSessionCount(), before + 1);
        EXPECT_EQ(manager.sessions().back()->getRecord().Duration, step.duration);
        EXPECT_FALSE(frame->isVisible());
        frame->showFrame();
    }
}

TEST_F(NewSessionWindow, enterStartsTheSessionFromItsFieldsAndTheWindowComesBackWithTheFocusWhereItWas)
{
    linktest::DemoState demo;
    readyRecordedDataPorts();
    SessionManager manager(false);
    Dialog* dialog = openNewSession();
    QApplication::setActiveWindow(&window);
    typeInto(*dialog, Dialog::IDC_VENTILATION, "Eva");
    struct Field {
        const char* what;
        QWidget* control;
    };
    const Field fields[] = {
        {"scenario", dialog->getDlgItem(Dialog::IDC_SCENARIO)},
        {"typed participant", box(*dialog, Dialog::IDC_VENTILATION)->lineEdit()},
        {"duration", box(*dialog, Dialog::IDC_DURATION)->lineEdit()},
        {"register events", dialog->getDlgItem(Dialog::IDC_REGISTER_EVENTS)},
    };
    int sessions = 0;
    for (const Field& field : fields) {
        SCOPED_TRACE(field.what);
        field.control->setFocus();
        QWidget* focused = QApplication::focusWidget();
        ASSERT_TRUE(focused && dialog->isAncestorOf(focused));
        QTest::keyClick(field.control, Qt::Key_Return);
        ASSERT_EQ(manager.getSessionCount(), ++sessions) << "Enter is Continue";
        EXPECT_FALSE(frame->isVisible());
        EXPECT_EQ(manager.sessions().back()->getRecord().PersonVentilation, "Eva");
        EXPECT_FALSE(entries(*dialog, Dialog::IDC_VENTILATION).contains("Eva")) << "a typed name is no list entry";

        // New session again: the focus is where the instructor left it, not on a button Enter would press.
        frame->showFrame();
        EXPECT_EQ(QApplication::focusWidget(), focused);
    }

    // A control that cannot take the focus back leaves it on the first field.
    QTest::mouseClick(dialog->getDlgItem(Dialog::IDC_CONTINUE), Qt::LeftButton);
    ASSERT_EQ(manager.getSessionCount(), ++sessions);
    CalibrateManager::get().setIsCalibrated(false, 252);
    for (int port = 253; port <= 256; ++port)
        CalibrateManager::get().setIsCalibrated(false, port);
    ASSERT_FALSE(enabled(*dialog, Dialog::IDC_CONTINUE)) << "no manikin is left";
    frame->showFrame();
    EXPECT_EQ(QApplication::focusWidget(), dialog->getDlgItem(Dialog::IDC_SCENARIO));
}
