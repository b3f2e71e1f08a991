// The demonstration from start to end, as an instructor reaches it: the
// station starts with "demo" and no COM port of its own, the start-up search
// finds and calibrates the recorded-data ports, the New-session window opens
// on them, Continue starts a session of a few seconds on port 247, Start all
// sets it running, and the main window's own 20 ms timer carries it to its
// end. It saves <build>/demo-session.png for a person to look at.

#include "StationTestKit.h"

#include "app/MainCommands.h"
#include "app/NewSessionDialog.h"
#include "app/SessionDebriefView.h"
#include "app/SessionWindowSet.h"
#include "comm/CommSession.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

using stationtest::StationTest;

class DemoSession : public StationTest {};

TEST_F(DemoSession, aDemonstrationSessionRunsOnTheMainWindowsTimerToItsEnd)
{
    // The timer runs in real time here, and so does the station's clock.
    platform::SystemClock realTime;
    platform::ScopedClock realClock(realTime);
    CprTrainingApp::Services s = services();
    s.countReadyManikins = CprTrainingApp::Services::standard().countReadyManikins;
    s.makeNewSessionDialog = [] { return std::make_unique<NewSessionDialog>(); };
    s.installWindows = [](CMainFrame&) {
        SessionWindowSet::install();
        SessionDebriefView::install();
    };
    app = std::make_unique<CprTrainingApp>("demo", std::move(s));
    ASSERT_TRUE(app->initInstance());

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
    duration->setEditText("00:03");
    qobject_cast<QPushButton*>(dialog->getDlgItem(NewSessionDialog::IDC_CONTINUE))->click();

    ASSERT_EQ(manager->getSessionCount(), 1);
    Session* session = manager->sessions().front();
    EXPECT_EQ(session->getRecord().Manikin, 247);
    EXPECT_EQ(session->getRecord().Duration, 3);
    EXPECT_EQ(session->getState(), Session::COLLECT);
    EXPECT_FALSE(app->newSessionFrame()->isVisible());

    app->mainFrame()->onCommand(MainCommands::START_ALL);
    ASSERT_TRUE(session->isRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return session->getEnded(); }, 30000));
    EXPECT_FALSE(session->isRunning());
    EXPECT_FALSE(session->getRecord().EndTime.empty());
    EXPECT_EQ(session->getElapsedSeconds(), 3u);
    CommSession& measured = session->getCommSession();
    measured.evaluate();
    EXPECT_GT(measured.getNrCompressions(), 0) << "the recorded performance arrived";
    EXPECT_TRUE(asker.asked.empty());

    const auto path = kovatest::binaryDir() / "demo-session.png";
    EXPECT_TRUE(app->mainFrame()->grab().save(QString::fromStdString(path.string())));
}
