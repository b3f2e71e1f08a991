// A stored session seen again: the details window that holds its graphs or
// its debriefing and ends once the session's views are gone, the session
// dialog's "Graph..." and "Debriefing..." that build the session afresh each
// time, and a session run on the simulated manikin over a pseudo-terminal,
// stored through its review panel and opened again from its row. On the
// training records (SQLite through unixODBC), with screenshots.

#include "LinkTestSupport.h"
#include "PerformedSession.h"
#include "SessionRecordsFixture.h"
#include "SessionWindowsReset.h"
#include "SessionTestKit.h"
#include "TestSessionPanel.h"

#include "Database/SessionTable.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "TempDir.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/livepanel/SessionGraphView.h"
#include "app/sessions/SessionDatabaseView.h"
#include "app/sessions/SessionRowStore.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"
#include "app/stored-sessions/SessionDetailsDialog.h"
#include "Rodezir/LogStream.h"
#include "comm/ports/CalibrateManager.h"
#include "config/Configuration.h"
#include "manikin-sim/ManikinSimulator.h"
#include "platform/ScopedClock.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

using namespace sessiontest;
using Panel = SessionWindows::Panel;

namespace {

class StoredSessionWindows : public SessionRecordsFixture {
protected:
    void SetUp() override
    {
        SessionRecordsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        registerPanelTemplate();
        SessionWindowSet::install();
        for (const Panel kind : {Panel::Graph, Panel::Debrief})
            SessionWindowSet::setPanelFactory(kind, [this, kind](Session& session) -> std::unique_ptr<SessionPanel> {
                auto panel = std::make_unique<CountingPanel>(session, L"Count aloud");
                made.push_back({kind, panel.get()});
                return panel;
            });
        SessionWindowSet::setSaveQuestion([](QWidget*, const std::wstring&, bool) {
            return SessionWindows::SaveAnswer::Yes;
        });
        SessionWindowSet::setEndSound([] {});
        SessionDetailsDialog::install();
    }
    void TearDown() override
    {
        SessionDialog::setInspector({});
        uninstallSessionWindows();
        SessionRecordsFixture::TearDown();
    }

    // A session of `samples` samples (the fake link's strokes unless a
    // recording is given), stored with its row and data file; its row.
    SessionRecord storedSession(int samples = 40, std::vector<ManikinSample> recording = {})
    {
        LinkLog link;
        link.port.recording = std::move(recording);
        auto live = liveSession(link, liveRecord());
        live->start();
        for (int i = 0; i < samples; ++i)
            live->onTimer();
        live->pause();
        EXPECT_TRUE(SessionRowStore::store(*live, live->getRecord()));
        SessionTable rows(theDatabase);
        rows.open("");
        return rows.getRecord();
    }
    // Runs `check` on the details window the next command opens, then closes it as the user does.
    void onDetails(std::function<void(SessionDetailsDialog&)> check)
    {
        QTimer::singleShot(0, [check] {
            auto* details = qobject_cast<SessionDetailsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(details, nullptr);
            check(*details);
            QTest::keyClick(details, Qt::Key_Escape);
        });
    }
    static void deleteRetired() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::vector<std::pair<Panel, QPointer<SessionPanel>>> made;
};

} // namespace

TEST_F(StoredSessionWindows, theDetailsWindowHoldsTheViewAndEndsOnceTheViewsAreGone)
{
    SessionRecord record = storedSession();
    record.Manikin = -1;
    for (const bool debriefing : {false, true}) {
        made.clear();
        Session stored(record, AlgorithmRecord{});
        SessionDetailsDialog details(stored, debriefing);
        onDetails([&](SessionDetailsDialog& shown) {
            SessionView* view = stored.getSessionView();
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(view->parentWidget(), &shown);
            EXPECT_EQ(view->geometry(), shown.rect());
            shown.resize(shown.width() + 120, shown.height() + 80);
            EXPECT_EQ(view->geometry(), shown.rect()) << "the view fills the window at every size";
            ASSERT_FALSE(made.empty());
            EXPECT_EQ(made.back().first, debriefing ? Panel::Debrief : Panel::Graph);
            EXPECT_EQ(view->currentPanel(), made.back().second.data());
            EXPECT_EQ(stored.getState(), debriefing ? Session::DEBRIEF : Session::COLLECT);
            if (!debriefing) {
                EXPECT_EQ(static_cast<CountingPanel*>(made.back().second.data())->indexes, (std::vector<int>{39}));
            }
        });
        EXPECT_EQ(details.run(), QDialog::Rejected);
        EXPECT_EQ(stored.getSessionView(), nullptr) << "Escape destroyed the views";
        deleteRetired();
        for (const auto& panel : made)
            EXPECT_FALSE(panel.second);
    }
}

TEST_F(StoredSessionWindows, theSessionDialogBuildsTheSessionAfreshForEachLook)
{
    const SessionRecord record = storedSession();
    SessionDialog dialog(record, true);
    ASSERT_TRUE(dialog.create());
    SessionRecord figures;
    onDetails([&](SessionDetailsDialog& details) {
        EXPECT_TRUE(details.session().getUsingFile());
        EXPECT_EQ(details.session().getState(), Session::DEBRIEF);
        figures = details.session().getRecord();
        SessionRowStore::takeResults(figures, details.session().getCommSession());
    });
    qobject_cast<QAbstractButton*>(dialog.getDlgItem(SessionDialog::DEBRIEFING))->click();
    EXPECT_GT(record.CompDepth, 0.0);
    expectSameResults(figures, record, 1e-3);

    onDetails([](SessionDetailsDialog&) {});
    qobject_cast<QAbstractButton*>(dialog.getDlgItem(SessionDialog::GRAPH))->click();
    deleteRetired();
    ASSERT_EQ(made.size(), 3u) << "graph and debriefing the first time, the graph again";
    EXPECT_EQ(made[2].first, Panel::Graph);
    for (const auto& panel : made)
        EXPECT_FALSE(panel.second) << "every view of a closed look is gone";
}

TEST_F(StoredSessionWindows, theWaitCursorShowsWhileTheDataFileIsRead)
{
    const SessionRecord record = storedSession();
    // Damaged marks: the reader stops at them and says so.
    kovatest::writeFile(record.dataFileName().value(), "not a mark count\n");
    std::vector<bool> waitingAtBoxes;
    asker.whileAsked = [&](const platform::RecordingMessageAsker::Asked&) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        waitingAtBoxes.push_back(cursor && cursor->shape() == Qt::WaitCursor);
    };
    SessionDialog dialog(record, true);
    ASSERT_TRUE(dialog.create());
    bool waitingInDetails = true;
    onDetails([&](SessionDetailsDialog&) { waitingInDetails = QGuiApplication::overrideCursor() != nullptr; });
    qobject_cast<QAbstractButton*>(dialog.getDlgItem(SessionDialog::GRAPH))->click();

    // The damaged file's box and the session's own come while the file is read.
    EXPECT_EQ(waitingAtBoxes, (std::vector<bool>{true, true}));
    EXPECT_FALSE(waitingInDetails) << "the window that shows the session is no longer waiting";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A session whose data file this station does not have (another station
// keeps it in its own data folder) is refused by name: no details window
// opens on an empty session, and nothing asserts.
TEST_F(StoredSessionWindows, aSessionWithoutItsDataFileIsRefusedAndNoWindowOpens)
{
    const SessionRecord record = storedSession();
    const std::filesystem::path file = dataFolder / (record.Serialidentifier + ".dat");
    std::filesystem::remove(file);
    SessionDialog dialog(record, true);
    ASSERT_TRUE(dialog.create());
    // Any details window that opens all the same is counted and closed.
    int detailsOpened = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* details = qobject_cast<SessionDetailsDialog*>(QApplication::activeModalWidget())) {
            ++detailsOpened;
            QTest::keyClick(details, Qt::Key_Escape);
        }
    });
    closer.start(0);
    for (const int button : {SessionDialog::GRAPH, SessionDialog::DEBRIEFING})
        qobject_cast<QAbstractButton*>(dialog.getDlgItem(button))->click();
    closer.stop();
    EXPECT_EQ(detailsOpened, 0);
    EXPECT_TRUE(made.empty());
    ASSERT_EQ(asker.asked.size(), 2u);
    for (const auto& told : asker.asked) {
        EXPECT_EQ(told.caption, L"Database file error");
        EXPECT_NE(told.text.find(toWide(file.string())), std::wstring::npos) << told.text;
    }
    EXPECT_EQ(kovatest::readFile(LogStream::instance().path()).find("Assert failed"), std::string::npos);
}

TEST_F(StoredSessionWindows, aSessionRunOnTheSimulatedManikinIsStoredAndReadBackWithTheSameFigures)
{
    constexpr int COM_PORT = linktest::SIM_COM_PORT;
    // The manikin answers in real time: the records' manual clock would let
    // the link's waits run out at once.
    platform::SystemClock realTime;
    platform::ScopedClock realTimeScope(realTime);
    manikinsim::SimulatorOptions options;
    options.handshake = manikinsim::Handshake::Framed;
    options.kind = 3;
    options.performance.leadInSeconds = 0.2;
    options.performance.jitter = 0.0;
    linktest::CalibratedComManikin manikin;
    ASSERT_NO_FATAL_FAILURE(manikin.connectManikin(options));
    CalibrateManager& ports = CalibrateManager::get();

    QWidget host;
    host.resize(700, 440);
    std::string serial;
    {
        Session session(liveRecord(-1, ports.getSerPort(COM_PORT)->getLinkType(), COM_PORT), AlgorithmRecord{});
        serial = session.getRecord().Serialidentifier;
        session.createSessionView()->create(&host);
        host.show();
        session.start();
        for (int step = 0; step < 200 && session.getLastPublishedIndex() < 100; ++step) {
            session.onTimer();
            platform::SystemClock().sleep(20);
        }
        ASSERT_GE(session.getLastPublishedIndex(), 100);
        ASSERT_TRUE(session.close()) << "stored through the review panel";
        ASSERT_NE(qobject_cast<SessionDatabaseView*>(session.windows().panel(Panel::Review, false)), nullptr);
        session.destroyViews();
    }
    manikin.simulator->stop();
    CalibrateManager::destroy();

    ASSERT_EQ(count("Session"), 1);
    SessionTable rows(theDatabase);
    rows.open("");
    const SessionRecord stored = rows.getRecord();
    EXPECT_EQ(stored.Serialidentifier, serial);
    EXPECT_TRUE(stored.Done);
    EXPECT_GT(stored.ECCrate, 0.0);
    EXPECT_GT(stored.InterfaceFrequency, 0.0);
    EXPECT_TRUE(std::filesystem::exists(dataFolder / (serial + ".dat")));

    SessionRecord reopened = stored;
    reopened.Manikin = -1;
    Session again(reopened, AlgorithmRecord{});
    SessionRecord figures = stored;
    SessionRowStore::takeResults(figures, again.getCommSession());
    expectSameResults(figures, stored, 1e-3);
}

TEST_F(StoredSessionWindows, screenshotsOfAStoredSessionsGraphsAndDebriefing)
{
    SessionGraphView::install();
    SessionDebriefView::install();
    manikinsim::PerformancePlan plan = faultyPerformance();
    plan.sampleRate = 20;
    SessionRecord record = storedSession(60 * 20, recordedSamples(plan, 60 * 20));
    record.Manikin = -1;
    for (const bool debriefing : {false, true}) {
        Session stored(record, AlgorithmRecord{});
        SessionDetailsDialog details(stored, debriefing);
        const std::string name = debriefing ? "SessionDetailsDialog-debriefing.png" : "SessionDetailsDialog-graph.png";
        onDetails([&name](SessionDetailsDialog& shown) {
            QApplication::processEvents();
            EXPECT_TRUE(shown.grab().save(QString::fromStdString((kovatest::binaryDir() / name).string())));
        });
        details.run();
        deleteRetired();
    }
    Configuration::destroy();
}
