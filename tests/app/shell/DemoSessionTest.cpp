// The demonstration from start to end, as an instructor reaches it on a
// station just set up: the records are the set-up's (the two guidelines and
// the six built-in scenarios in the "kovacpr" data source), the program
// starts with "demo" and no COM port of its own and opens its records and
// installs its windows itself, the start-up search finds and calibrates the
// recorded-data ports, and New session offers the first built-in scenario.
// The instructor chooses the five-minute AHA scenario, whose guideline and
// length come with it, types the two participants, Continue starts the
// session on port 247 in the session window, File > Start all sessions sets
// it running, the main window's own 20 ms timer draws its curves on the live
// panel and carries it through its five minutes of the station's clock, the
// debriefing judges it by the scenario's guideline, and its Close's "Save
// session?" answered Yes stores its row and its data file. It saves
// <build>/demo-session.png and <build>/demo-debriefing.png for a person to
// look at. A second walk of a short session through its printout, its
// store, an export and an import finds the error log as it began: the log is
// for failures, and nothing here fails.

#include "DemoStationFixture.h"

#include "Database/DBUtil.h"
#include "Database/SessionTable.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/GraphView.h"
#include "app/livepanel/SessionGraphView.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionDataFile.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/UpdateReceiver.h"
#include "app/shell/MainCommands.h"
#include "comm/session/CommSession.h"
#include "config/Configuration.h"
#include "config/SettingsFile.h"
#include "controls/reportctrl/CReportCtrl.h"
#include "Database/export-import/SessionExchange.h"
#include "platform/FileDialog.h"
#include "platform/PdfPrintDialogAsker.h"
#include "platform/PrintDialog.h"
#include "platform/Beep.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <optional>
#include <sstream>

namespace {

using demostation::FastClock;

constexpr const char* SCENARIO = "5 minute BLS (AHA)";
constexpr const char* GUIDELINE = "AHA 2010 (American Heart Association)";
constexpr long SCENARIO_SECONDS = 300;

class DemoSession : public demostation::DemoStationFixture {
protected:
    // The text of the report's cell in the row whose first column reads `label`.
    static std::string cellOfRow(kova::CReportCtrl& report, const std::string& label, int column)
    {
        for (int row = 0; row < report.getItemCount(); ++row)
            if (report.getItemText(row, 0) == label)
                return report.getItemText(row, column);
        ADD_FAILURE() << "no row " << label;
        return {};
    }
};

// How many samples a stored session's data file holds at 20 a second.
std::size_t readSamples(const std::filesystem::path& dataFile)
{
    AlgorithmRecord algorithm;
    CommSession data;
    data.setAlgorithm(&algorithm);
    GraphSource compressionSource = GraphSource::compression(data, algorithm);
    GraphSource ventilationSource = GraphSource::ventilation(data, algorithm);
    GraphDoc compression(compressionSource);
    GraphDoc ventilation(ventilationSource);
    std::string recommendations;
    EXPECT_EQ(SessionDataFile::read(kovatest::readFile(dataFile), 20.0, compression, ventilation, data, recommendations),
              SessionDataFile::ReadResult::Read);
    return data.manData.size();
}

// The pixels of a pane's picture drawn in its curve's own colour.
int curvePixels(const GraphView& pane)
{
    const QRgb curve = 0xFF000000u | pane.getDocument().getSource().colour;
    const QImage& picture = pane.backBuffer();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == curve)
                ++count;
    return count;
}

// When a session's steps that brought samples came by a clock: the last
// before its end, and the one that ended it.
class StepTimes final : public UpdateReceiver {
public:
    StepTimes(const Session& session, platform::Clock& clock) : session_(session), clock_(clock) {}
    void update(int) override
    {
        if (endedAt)
            return;
        const std::uint32_t now = clock_.tickCount();
        if (session_.getEnded())
            endedAt = now;
        else
            lastBeforeEnd = now;
    }

    std::optional<std::uint32_t> lastBeforeEnd;
    std::optional<std::uint32_t> endedAt;

private:
    const Session& session_;
    platform::Clock& clock_;
};

} // namespace

TEST_F(DemoSession, aBuiltInScenarioRunsInTheSessionWindowToItsDebriefingAndIsStored)
{
    ASSERT_NO_FATAL_FAILURE(startStation());

    // The search calibrated the recorded data and gave way to New session,
    // which offers the first built-in scenario with its guideline.
    for (int port = 247; port <= 256; ++port)
        EXPECT_TRUE(CalibrateManager::get().getIsCalibrated(port)) << port;
    ASSERT_NE(app->searchFrame(), nullptr);
    EXPECT_FALSE(app->searchFrame()->isVisible());
    EXPECT_TRUE(app->newSessionFrame()->isVisible());
    EXPECT_EQ(shown(NewSessionDialog::IDC_SCENARIO), "10 minute BLS (AHA)");
    EXPECT_EQ(shown(NewSessionDialog::IDC_ALGORITHM), GUIDELINE);
    EXPECT_EQ(shown(NewSessionDialog::IDC_DURATION), "10:00");
    EXPECT_EQ(box(NewSessionDialog::IDC_MANIKIN)->currentData().toInt(), 247);
    EXPECT_EQ(shown(NewSessionDialog::IDC_MANIKIN), "USB 247");

    // The five-minute scenario brings its guideline and its length, and
    // stays chosen while the participants are typed.
    ASSERT_NO_FATAL_FAILURE(choose(NewSessionDialog::IDC_SCENARIO, SCENARIO));
    EXPECT_EQ(shown(NewSessionDialog::IDC_ALGORITHM), GUIDELINE);
    EXPECT_EQ(shown(NewSessionDialog::IDC_DURATION), "05:00");
    ASSERT_NO_FATAL_FAILURE(typeInto(NewSessionDialog::IDC_VENTILATION, "Ada Lind"));
    ASSERT_NO_FATAL_FAILURE(typeInto(NewSessionDialog::IDC_COMPRESSION, "Ben Ols"));
    EXPECT_EQ(shown(NewSessionDialog::IDC_SCENARIO), SCENARIO);
    qobject_cast<QPushButton*>(dialog->getDlgItem(NewSessionDialog::IDC_CONTINUE))->click();

    ASSERT_EQ(windowed->getSessionCount(), 1);
    Session* session = windowed->sessions().front();
    EXPECT_EQ(session->getRecord().Manikin, 247);
    EXPECT_EQ(session->getRecord().Duration, SCENARIO_SECONDS);
    EXPECT_EQ(session->getRecord().Scenario, SCENARIO);
    EXPECT_EQ(session->getRecord().Algorithm, GUIDELINE);
    EXPECT_EQ(session->getAlgorithm().Name, GUIDELINE);
    EXPECT_DOUBLE_EQ(session->getAlgorithm().eccRateLow, 100.0) << "the guideline's own limits, read from its row";
    EXPECT_EQ(session->getState(), Session::COLLECT);
    EXPECT_FALSE(app->newSessionFrame()->isVisible());
    // Its tab in the session window, showing the live panel.
    ASSERT_NE(windowed->sessionFrame(), nullptr);
    EXPECT_TRUE(windowed->sessionFrame()->isVisible());
    EXPECT_EQ(windowed->getCurrentSession(), session);
    auto* live = dynamic_cast<SessionGraphView*>(session->getSessionGraphView());
    ASSERT_NE(live, nullptr);
    ASSERT_NE(session->getSessionView(), nullptr);
    EXPECT_EQ(session->getSessionView()->currentPanel(), live);

    // File > Start all sessions, as the menu gives it.
    QAction* startAll = app->mainFrame()->commandAction(MainCommands::START_ALL);
    ASSERT_NE(startAll, nullptr);
    EXPECT_EQ(startAll->text(), "&Start all sessions");
    // The timer brings the menu in line with the sessions.
    ASSERT_TRUE(QTest::qWaitFor([&] { return startAll->isEnabled(); }, 1000));
    // When the steps that brought samples came, by the station's clock.
    StepTimes steps(*session, fastTime);
    session->addUpdateReceiver(steps);
    const std::uint32_t startingAt = fastTime.tickCount();
    startAll->trigger();
    const std::uint32_t startedAt = fastTime.tickCount();
    ASSERT_TRUE(session->isRunning());

    // The recorded performance reaches the live panel's curves while it runs.
    const int realSeconds = SCENARIO_SECONDS / FastClock::SPEED;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return session->getElapsedSeconds() >= SCENARIO_SECONDS - 10; }, 4000 * realSeconds));
    ASSERT_NE(live->axis(), nullptr);
    EXPECT_GT(live->axis()->getLastUpdateIndex(), 0);
    for (GraphView* pane : {live->compressionPane(), live->ventilationPane()}) {
        ASSERT_NE(pane, nullptr);
        EXPECT_GT(curvePixels(*pane), 50) << "a curve drawn on the live panel";
    }
    const auto& compressionPanes = session->getCompressionDoc().getViewList();
    EXPECT_NE(std::find(compressionPanes.begin(), compressionPanes.end(), live->compressionPane()),
              compressionPanes.end());
    saveScreenshot("demo-session.png");

    // The timer carries it to its end, and the debriefing takes its place.
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->getEnded(); }, 2000 * realSeconds));
    session->removeUpdateReceiver(steps);
    // The recorded data came at their 20 samples a second of the clock: the
    // scenario's five minutes took five minutes, never less, and the step
    // that ended it was the first to come after them (a busy machine's
    // steps come late, the one before still came within them and one
    // sample more).
    ASSERT_TRUE(steps.endedAt.has_value());
    EXPECT_GE(*steps.endedAt - startingAt, SCENARIO_SECONDS * 1000u);
    ASSERT_TRUE(steps.lastBeforeEnd.has_value());
    EXPECT_LE(*steps.lastBeforeEnd - startedAt, SCENARIO_SECONDS * 1000u + 50u);
    EXPECT_FALSE(session->isRunning());
    EXPECT_FALSE(session->getRecord().EndTime.empty());
    EXPECT_EQ(session->getElapsedSeconds(), SCENARIO_SECONDS);
    ASSERT_EQ(session->getState(), Session::DEBRIEF);
    CommSession& measured = session->getCommSession();
    EXPECT_GT(measured.getNrCompressions(), 0) << "the recorded performance arrived";
    EXPECT_GT(measured.getNrVentilations(), 0);
    auto* debriefing = dynamic_cast<SessionDebriefView*>(session->getSessionDebriefView());
    ASSERT_NE(debriefing, nullptr);
    EXPECT_EQ(session->getSessionView()->currentPanel(), debriefing);
    kova::CReportCtrl* report = debriefing->reportControl();
    ASSERT_NE(report, nullptr);
    ASSERT_GT(report->getItemCount(), 0);
    // The recommended column gives the guideline's limits (without a
    // guideline the station's defaults are 90 - 110 /min, 40 - 50 mm and
    // 15 : 2), and the compressions are judged by them: the recorded
    // trainee's compressions of about 40 mm (the defaults' least depth) are
    // all too shallow for the guideline's 50 mm.
    constexpr int TOTAL = 2;
    constexpr int RECOMMENDED = 4;
    constexpr int EVALUATION = 5;
    EXPECT_EQ(cellOfRow(*report, "ECC Rate", RECOMMENDED), "100 - 120 /min");
    EXPECT_EQ(cellOfRow(*report, "Compr./Vent. ratio", RECOMMENDED), "30 : 2");
    EXPECT_EQ(cellOfRow(*report, "Compression depth", RECOMMENDED), "50 - 60 mm");
    const std::string compressions = std::to_string(measured.getNrCompressions());
    EXPECT_EQ(cellOfRow(*report, "Compression depth", TOTAL), compressions);
    EXPECT_LT(measured.getCompDepthAverage(), 50.0);
    EXPECT_GE(measured.getCompDepthAverage(), 40.0);
    EXPECT_EQ(cellOfRow(*report, "Compression depth", EVALUATION), "0 OK / " + compressions + " superficial");
    EXPECT_TRUE(asker.asked.empty());
    saveScreenshot("demo-debriefing.png");

    // The debriefing's Close asks whether to save the session; Yes stores
    // it, and after the last session New session comes back.
    EXPECT_TRUE(saveQuestions.empty());
    auto* close = qobject_cast<QPushButton*>(debriefing->getDlgItem(SessionDebriefView::IDC_ABORT));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
    const std::string serial = session->getRecord().Serialidentifier;
    const std::size_t samples = measured.manData.size();
    close->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->newSessionFrame()->isVisible(); }, 2000));
    EXPECT_EQ(saveQuestions.size(), 1u);
    EXPECT_EQ(windowed->getSessionCount(), 0);

    // One stored row names the scenario, its guideline and the participants,
    // and its data file lies in the station's data folder.
    SessionTable rows(theDatabase);
    rows.open("");
    ASSERT_FALSE(DBUtil::emptyTable(rows));
    const SessionRecord stored = rows.getRecord();
    EXPECT_EQ(stored.Serialidentifier, serial);
    EXPECT_TRUE(stored.Done);
    EXPECT_EQ(stored.Scenario, SCENARIO);
    EXPECT_EQ(stored.Algorithm, GUIDELINE);
    EXPECT_EQ(stored.Duration, SCENARIO_SECONDS);
    EXPECT_EQ(stored.Manikin, 247);
    EXPECT_EQ(stored.PersonVentilation, "Ada Lind");
    EXPECT_EQ(stored.PersonChestCompression, "Ben Ols");
    EXPECT_DOUBLE_EQ(stored.InterfaceFrequency, 20.0);
    EXPECT_EQ(count("Session"), 1);
    const std::filesystem::path dataFile = dataFolder / (serial + ".dat");
    EXPECT_EQ(stored.dataFileName(), dataFile.string());
    ASSERT_TRUE(std::filesystem::is_regular_file(dataFile)) << dataFile;
    EXPECT_EQ(readSamples(dataFile), samples) << "the five minutes of samples";
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Ada Lind", "Ben Ols"}));

    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(kovatest::errorLog().find("Assert failed"), std::string::npos) << kovatest::errorLog();
}

TEST_F(DemoSession, aCleanWalkWritesNothingButTheHeaderIntoTheErrorLog)
{
    // A station that ran before: its settings file is there.
    ASSERT_TRUE(SettingsFile::save(SettingsFile::NAME, PropertyModel{}));
    ASSERT_NO_FATAL_FAILURE(startStation());

    // Half a minute from the duration list, run to its debriefing.
    ASSERT_NO_FATAL_FAILURE(choose(NewSessionDialog::IDC_DURATION, "00:30"));
    qobject_cast<QPushButton*>(dialog->getDlgItem(NewSessionDialog::IDC_CONTINUE))->click();
    ASSERT_EQ(windowed->getSessionCount(), 1);
    Session* session = windowed->sessions().front();
    QAction* startAll = app->mainFrame()->commandAction(MainCommands::START_ALL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return startAll->isEnabled(); }, 1000));
    startAll->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->getEnded(); }, 20000));
    auto* debriefing = dynamic_cast<SessionDebriefView*>(session->getSessionDebriefView());
    ASSERT_NE(debriefing, nullptr);
    auto* recommendation =
        qobject_cast<QPlainTextEdit*>(debriefing->getDlgItem(SessionDebriefView::IDC_RECOMMENDATION));
    ASSERT_NE(recommendation, nullptr);
    recommendation->setPlainText(QStringLiteral("Deeper compressions"));

    // Printed to a PDF file through the debriefing's Print button.
    platform::PdfPrintDialogAsker printDialog;
    printDialog.outputFile = folder.file("debriefing.pdf");
    {
        platform::ScopedPrintDialogAsker printing(printDialog);
        qobject_cast<QPushButton*>(debriefing->getDlgItem(SessionDebriefView::IDC_PRINT))->click();
    }
    EXPECT_EQ(printDialog.shown, 1);
    EXPECT_GT(std::filesystem::file_size(printDialog.outputFile), 0u);

    // Stored on the debriefing's Close.
    const std::string serial = session->getRecord().Serialidentifier;
    qobject_cast<QPushButton*>(debriefing->getDlgItem(SessionDebriefView::IDC_ABORT))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->newSessionFrame()->isVisible(); }, 2000));
    ASSERT_TRUE(std::filesystem::exists(dataFolder / (serial + ".dat")));

    // Exported, and imported again as a second copy.
    platform::RecordingFileDialogAsker files;
    platform::ScopedFileDialogAsker choosing(files);
    const std::string exported = folder.file("walk.sdb");
    files.answers = {exported, exported};
    asker.answers = {platform::IDOK, platform::IDYES, platform::IDOK};
    SessionExchange().exportSessions({serial});
    ASSERT_TRUE(std::filesystem::exists(exported));
    EXPECT_EQ(SessionExchange().importSessions(), 1);
    EXPECT_EQ(count("Session"), 2);
    EXPECT_EQ(asker.asked.size(), 3u) << "the export's and the import's own messages only";

    // The header, and not one line more (the fresh log of the test says in
    // its header that an earlier one was closed).
    const std::string path = LogStream::instance().path();
    LogStream::destroy();
    std::istringstream log(kovatest::readFile(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        if (line != "Warning: the LogStream has been destroyed once")
            lines.push_back(line);
    const std::string dashes(75, '-');
    const auto headerEnd = std::find(lines.rbegin(), lines.rend(), dashes);
    ASSERT_NE(headerEnd, lines.rend()) << kovatest::readFile(path);
    EXPECT_EQ(std::vector<std::string>(headerEnd.base(), lines.end()), std::vector<std::string>{"-eof-"})
        << kovatest::readFile(path);
}
