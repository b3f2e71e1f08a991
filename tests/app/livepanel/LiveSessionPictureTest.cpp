// The live panel on the simulated manikin (a pseudo-terminal as COM 5),
// stepped every 20 ms as the main window's timer steps it: half a minute of
// CPR with the event toolbars, then paused, zoomed in and scrolled. Both
// screens are saved for a person to look at.

#include "LinkTestSupport.h"
#include "LivePanelTestKit.h"
#include "TempDir.h"

#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphView.h"
#include "app/livepanel/LiveDisplays.h"
#include "app/sessions/SessionManager.h"
#include "app/surveillance/ZoomWindows.h"
#include "comm/ports/CalibrateManager.h"
#include "manikin-sim/ManikinSimulator.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

using namespace livepaneltest;

namespace {

constexpr int COM_PORT = linktest::SIM_COM_PORT;

class LiveSessionPictureTest : public testing::Test, protected linktest::CalibratedComManikin {
protected:
    void TearDown() override
    {
        session.reset();
        disconnectManikin();
    }

    // The simulated manikin of kind 3 (ECG, 50 samples a second) found,
    // calibrated and opened, as the new-session dialog leaves it.
    void connectSimulator()
    {
        manikinsim::SimulatorOptions options;
        options.kind = 3;
        options.batteryLevel = 3;
        options.performance.leadInSeconds = 1.0;
        options.performance.stomachInflationEvery = 5;
        options.performance.shallowEvery = 7;
        connectManikin(options);
    }
    // Steps the session on a 20 ms beat for that long.
    void run(int milliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            session->onTimer();
            QTest::qWait(20);
        }
    }
    void save(const char* name)
    {
        QApplication::processEvents();
        const auto path = kovatest::binaryDir() / name;
        ASSERT_TRUE(host.grab().save(QString::fromStdString(path.string())));
    }

    ScopedLivePanel installed;
    SessionManager manager{false};
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    std::unique_ptr<Session> session;
    QWidget host;
};

} // namespace

TEST_F(LiveSessionPictureTest, halfAMinuteOfCprThenPausedAndZoomed)
{
    ASSERT_NO_FATAL_FAILURE(connectSimulator());
    SessionRecord record = sessiontest::liveRecord(120, CalibrateManager::get().getSerPort(COM_PORT)->getLinkType(),
                                                   COM_PORT);
    record.PersonVentilation = "Anna Larsen";
    record.PersonChestCompression = "Jonas Berg";
    session = std::make_unique<Session>(record, AlgorithmRecord{});
    addDefaultEvents(*session);
    host.resize(1100, 700);
    SessionGraphView* view = showIn(*session, host);
    ASSERT_TRUE(view);

    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_START)), Qt::LeftButton);
    ASSERT_TRUE(session->isRunning());
    run(30500);
    ASSERT_GE(session->getLastPublishedIndex(), 50 * 29);
    // The time shown follows the rate the link measured, which a loaded
    // machine may put a little under the manikin's 50 a second.
    const int seconds = LiveDisplays::elapsedSeconds(session->getLastPublishedIndex(),
                                                     session->getCommSession().sampleRate);
    EXPECT_EQ(view->getDlgItemText(T::IDC_TIME_GROUP),
              QString("0:%1 / 2:00").arg(seconds, 2, 10, QLatin1Char('0')));
    // The manikin reported three bars; the simulated trainee presses about 110 a minute.
    EXPECT_EQ(view->batteryBitmap(), LiveDisplays::BITMAP_THREE_BARS);
    const QString rate = view->getDlgItemText(T::IDC_RATE_LABEL);
    ASSERT_TRUE(rate.endsWith(" comp./min")) << rate.toStdString();
    const int perMinute = rate.section(' ', 0, 0).toInt();
    EXPECT_GE(perMinute, 95);
    EXPECT_LE(perMinute, 125);
    EXPECT_TRUE(view->upperToolbar()->isVisible());
    EXPECT_TRUE(view->ecgPane()->isVisible());
    save("live-session.png");

    // Paused, ten seconds shown, scrolled back a little.
    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_PAUSE)), Qt::LeftButton);
    ASSERT_FALSE(session->isRunning());
    auto* list = qobject_cast<QComboBox*>(view->getDlgItem(T::IDC_ZOOM_LIST));
    // As the instructor picks it from the list.
    list->setCurrentIndex(1);
    list->activated(1);
    // The rate is the one measured on the line, near 50 a second.
    EXPECT_EQ(view->axis()->getViewIndexes(), ZoomWindows::windowIndexes(10000, session->getCommSession().sampleRate));
    ASSERT_TRUE(view->scrollBar()->isVisible());
    view->scrollBar()->setValue(view->scrollBar()->maximum() - 120);
    EXPECT_EQ(view->axis()->getLeftIndex(), view->scrollBar()->value());
    save("live-session-paused.png");
}
