// The demonstration from start to end, as an instructor reaches it in the
// station the program starts: "demo" and no COM port of its own, the
// station's own windows installed as the program installs them, the
// start-up search finds and calibrates the recorded-data ports, the
// New-session window opens on them, Continue starts a session of a few
// half a minute on port 247 in the session window, File > Start all sessions sets
// it running, the main window's own 20 ms timer draws its curves on the live
// panel and carries it to its end, the debriefing shows the evaluation, and
// its Close asks "Save session?" and goes back to New session. It saves <build>/demo-session.png
// and <build>/demo-debriefing.png for a person to look at.

#include "StationTestKit.h"

#include "app/AxisCtrl.h"
#include "app/GraphSource.h"
#include "app/GraphView.h"
#include "app/MainCommands.h"
#include "app/NewSessionDialog.h"
#include "app/SessionDebriefView.h"
#include "app/SessionGraphView.h"
#include "app/SessionView.h"
#include "app/SessionWindowSet.h"
#include "app/StationWindows.h"
#include "app/WindowedSessionManager.h"
#include "comm/CommSession.h"
#include "controls/reportctrl/CReportCtrl.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

using stationtest::StationTest;

namespace {

class DemoSession : public StationTest {
protected:
    ~DemoSession() override { SessionWindowSet::setSaveQuestion({}); }

    void saveScreenshot(const char* name)
    {
        QApplication::processEvents();
        const auto path = kovatest::binaryDir() / name;
        EXPECT_TRUE(app->mainFrame()->grab().save(QString::fromStdString(path.string()))) << name;
    }
};

// The system clock run three times as fast.
class FastClock final : public platform::Clock {
public:
    std::uint32_t tickCount() override { return start_ + (system_.tickCount() - start_) * SPEED; }
    void sleep(std::uint32_t milliseconds) override { system_.sleep(milliseconds / SPEED); }

private:
    static constexpr std::uint32_t SPEED = 3;
    platform::SystemClock system_;
    const std::uint32_t start_ = system_.tickCount();
};

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

} // namespace

TEST_F(DemoSession, aDemonstrationSessionRunsInTheSessionWindowToItsDebriefing)
{
    // The timer runs in real time here; the station's clock runs three
    // times as fast, so the half minute passes in ten seconds.
    FastClock fastTime;
    platform::ScopedClock fastClock(fastTime);
    // The station as the program starts it; only the records, the screen
    // and the sounds are the test's.
    CprTrainingApp::Services s = StationWindows::services();
    const CprTrainingApp::Services own = services();
    s.screenHeight = own.screenHeight;
    s.fullScreenHeight = own.fullScreenHeight;
    s.openDatabase = [] {};
    s.upgradeDatabase = [] {};
    s.beatSound = own.beatSound;
    s.stationDir = own.stationDir;
    std::vector<std::wstring> saveQuestions;
    SessionWindowSet::setSaveQuestion([&](QWidget*, const std::wstring& title, bool) {
        saveQuestions.push_back(title);
        return SessionWindows::SaveAnswer::No;
    });
    app = std::make_unique<CprTrainingApp>("demo", std::move(s));
    ASSERT_TRUE(app->initInstance());
    auto* windowed = dynamic_cast<WindowedSessionManager*>(app->sessionManager());
    ASSERT_NE(windowed, nullptr);

    // The search calibrated the recorded data and gave way to New session.
    for (int port = 247; port <= 256; ++port)
        EXPECT_TRUE(CalibrateManager::get().getIsCalibrated(port)) << port;
    ASSERT_NE(app->searchFrame(), nullptr);
    EXPECT_FALSE(app->searchFrame()->isVisible());
    ASSERT_NE(app->newSessionFrame(), nullptr);
    EXPECT_TRUE(app->newSessionFrame()->isVisible());
    EXPECT_TRUE(asker.asked.empty());

    auto* dialog = static_cast<NewSessionDialog*>(app->newSessionFrame()->getHostedWindow());
    auto* manikin = qobject_cast<QComboBox*>(dialog->getDlgItem(NewSessionDialog::IDC_MANIKIN));
    auto* duration = qobject_cast<QComboBox*>(dialog->getDlgItem(NewSessionDialog::IDC_DURATION));
    ASSERT_NE(manikin, nullptr);
    ASSERT_NE(duration, nullptr);
    EXPECT_EQ(manikin->currentData().toInt(), 247);
    EXPECT_EQ(manikin->currentText(), "USB 247");
    duration->setEditText("00:30");
    qobject_cast<QPushButton*>(dialog->getDlgItem(NewSessionDialog::IDC_CONTINUE))->click();

    ASSERT_EQ(windowed->getSessionCount(), 1);
    Session* session = windowed->sessions().front();
    EXPECT_EQ(session->getRecord().Manikin, 247);
    EXPECT_EQ(session->getRecord().Duration, 30);
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
    startAll->trigger();
    ASSERT_TRUE(session->isRunning());
    const std::uint32_t startedAt = fastTime.tickCount();

    // The recorded performance reaches the live panel's curves while it runs.
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->getElapsedSeconds() >= 26; }, 60000));
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return session->getEnded(); }, 60000));
    // The recorded data came at their 20 samples a second of the clock: the
    // session's half minute took half a minute.
    EXPECT_NEAR(static_cast<double>(fastTime.tickCount() - startedAt), 30000.0, 1000.0);
    EXPECT_FALSE(session->isRunning());
    EXPECT_FALSE(session->getRecord().EndTime.empty());
    EXPECT_EQ(session->getElapsedSeconds(), 30u);
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
    // The number of compressions the evaluation counted heads its row.
    bool compressionsShown = false;
    for (int row = 0; row < report->getItemCount(); ++row)
        compressionsShown = compressionsShown
                            || report->getItemText(row, 2) == std::to_string(measured.getNrCompressions());
    EXPECT_TRUE(compressionsShown);
    EXPECT_TRUE(asker.asked.empty());
    saveScreenshot("demo-debriefing.png");

    // The debriefing's Close asks whether to save the session; after the
    // last session New session comes back.
    EXPECT_TRUE(saveQuestions.empty());
    auto* close = qobject_cast<QPushButton*>(debriefing->getDlgItem(SessionDebriefView::IDC_ABORT));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
    close->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->newSessionFrame()->isVisible(); }, 2000));
    EXPECT_EQ(saveQuestions.size(), 1u);
    EXPECT_EQ(windowed->getSessionCount(), 0);
}
