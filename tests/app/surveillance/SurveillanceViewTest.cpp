// The surveillance window on Qt's offscreen platform: sessions on the recorded
// demonstration data (real readers, one sample a step) and sessions on links
// of the test's own; the grid, the session list, the zoom, the ECG switch,
// the ECG-box list, the rate labels, the window that follows the session
// manager, and the defibrillation mark with the window open.

#include "LinkTestSupport.h"
#include "SessionTestKit.h"
#include "TempDir.h"
#include "SessionWindowsReset.h"
#include "TestSessionPanel.h"

#include "Rodezir/LogStream.h"
#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphView.h"
#include "app/sessions/SessionManager.h"
#include "app/sessions/SessionPanel.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"
#include "app/shell/DialogFrame.h"
#include "app/surveillance/EcgRhythmPanel.h"
#include "app/surveillance/SurveillanceTile.h"
#include "app/surveillance/SurveillanceTileText.h"
#include "app/surveillance/SurveillanceWindow.h"
#include "app/surveillance/sessionManagerMultiView.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/reader/FrameParser.h"
#include "config/Configuration.h"
#include "config/PropertyModel.h"
#include "controls/MdiClientWnd.h"
#include "platform/ManualClock.h"
#include "platform/MessageBox.h"
#include "platform/ScopedClock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace sessiontest;
using View = sessionManagerMultiView;
using manikinsim::ReceivedFrame;

namespace {

constexpr int CLIENT_WIDTH = 1200;
constexpr int CLIENT_HEIGHT = 800;

QComboBox* combo(View& view, int id) { return qobject_cast<QComboBox*>(view.getDlgItem(id)); }
QListWidget* sessionList(View& view) { return qobject_cast<QListWidget*>(view.getDlgItem(View::IDC_VIEW_LIST)); }
QSpinBox* zoomSpin(View& view) { return qobject_cast<QSpinBox*>(view.getDlgItem(View::IDC_ZOOM_SPIN)); }

std::vector<QWidget*> windowsOf(const SurveillanceTile& tile)
{
    return {tile.captionLabel(), tile.rateLabel(), tile.axis(), tile.ventilationPane(), tile.compressionPane(),
            tile.ecgPane()};
}

// Sessions on the recorded demonstration data, the first of them on a
// manikin that sends an ECG signal.
class DemoSurveillance : public testing::Test {
protected:
    static constexpr int FIRST_PORT = 247;

    void SetUp() override
    {
        Configuration::instance().getPropertyModel().ecgEnabled = true;
        CalibrateManager& ports = CalibrateManager::get();
        ports.scanComPorts();
        host.resize(CLIENT_WIDTH, CLIENT_HEIGHT);
    }
    void TearDown() override
    {
        view.reset();
        sessions.clear();
        CalibrateManager::destroy();
    }

    // A running session on recorded-data port `port`, `seconds` into its run.
    Session& demoSession(int port, bool ecg, int seconds, const char* ventilation = "Anna",
                         const char* compression = "Per")
    {
        CalibrateManager& ports = CalibrateManager::get();
        ports.setIsCalibrated(true, port);
        SerialPort& serial = *ports.getSerPort(port);
        ManikinReader opener(serial);
        EXPECT_EQ(opener.open(port), SerialPort::OPEN_SUCCESS);
        serial.setKindFlags(ecg, ecg);
        SessionRecord record = liveRecord(-1, serial.getLinkType(), port);
        record.PersonVentilation = ventilation;
        record.PersonChestCompression = compression;
        sessions.push_back(std::make_unique<Session>(record, algorithm));
        Session& session = *sessions.back();
        session.createSessionView();
        session.start();
        for (int step = 0; step < seconds * 20; ++step)
            tick({&session});
        return session;
    }
    // One step of the given sessions, 50 ms of the clock on: one recorded
    // sample each.
    void tick(std::initializer_list<Session*> stepped)
    {
        clock.advance(50);
        for (Session* session : stepped)
            session->onTimer();
    }
    // The view in a host window of the client size.
    void open()
    {
        ASSERT_TRUE(view->create(&host));
        view->setGeometry(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    // The guideline of the sessions made next.
    AlgorithmRecord algorithm;
    linktest::DemoState demo;
    // The recorded data come by the clock.
    platform::ManualClock clock;
    platform::ScopedClock clockScope{clock};
    ScopedFakeWindows windows;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    SessionManager manager{false};
    QWidget host;
    std::vector<std::unique_ptr<Session>> sessions;
    std::unique_ptr<View> view = std::make_unique<View>();
};

TEST_F(DemoSurveillance, fourSessionsInTwoRowsAndTwoColumns)
{
    // Three before the window exists, one after: both ways end alike.
    for (int i = 0; i < 3; ++i)
        view->addSession(&demoSession(FIRST_PORT + i, i == 0, 20 + 5 * i));
    EXPECT_FALSE(view->tiles()[0]->isCreated());
    open();
    view->addSession(&demoSession(FIRST_PORT + 3, false, 35));
    ASSERT_EQ(view->tiles().size(), 4u);
    ASSERT_EQ(sessionList(*view)->count(), 4);
    EXPECT_EQ(sessionList(*view)->item(3)->text().toStdString(), sessions[3]->getTitle());
    EXPECT_EQ(combo(*view, View::IDC_ECG_BOX)->count(), 2) << "NONE and the one ECG-capable session";

    // A grid of two by two right of the session list.
    std::vector<QPoint> corners;
    for (std::size_t i = 0; i < 4; ++i) {
        const SurveillanceTile& tile = *view->tiles()[i];
        ASSERT_TRUE(tile.isCreated());
        const std::vector<QWidget*> all = windowsOf(tile);
        for (std::size_t w = 0; w + 1 < all.size(); ++w)
            EXPECT_TRUE(all[w]->isVisible()) << "window " << w;
        corners.push_back(tile.captionLabel()->pos());
        EXPECT_EQ(tile.captionLabel()->text().toStdWString(), sessions[i]->getTitleWide() + L", Vent.:Anna Comp.:Per");
    }
    EXPECT_EQ(corners[0].y(), corners[1].y());
    EXPECT_EQ(corners[2].y(), corners[3].y());
    EXPECT_LT(corners[0].y(), corners[2].y());
    EXPECT_EQ(corners[0].x(), corners[2].x());
    EXPECT_EQ(corners[0].x(), view->getTileAreaLeft());
    EXPECT_LT(corners[0].x(), corners[1].x());
    // Only the ECG-capable session shows its ECG pane, between axis and compression.
    EXPECT_TRUE(view->tiles()[0]->ecgPane()->isVisible());
    EXPECT_GT(view->tiles()[0]->ecgPane()->y(), view->tiles()[0]->axis()->y());
    EXPECT_LT(view->tiles()[0]->ecgPane()->y(), view->tiles()[0]->compressionPane()->y());
    for (int i = 1; i < 4; ++i)
        EXPECT_FALSE(view->tiles()[i]->ecgPane()->isVisible());
    // Every axis is a surveillance axis that has caught up with its session.
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(view->tiles()[i]->axis()->getMode(), TimeAxis::MODE_SURVEILLANCE);
        EXPECT_EQ(view->tiles()[i]->axis()->getLastUpdateIndex(), sessions[i]->getLastPublishedIndex());
    }

    // The panes follow their sessions' new samples.
    for (int step = 0; step < 40; ++step)
        tick({sessions[0].get(), sessions[1].get(), sessions[2].get(), sessions[3].get()});
    view->onTimer();
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(view->tiles()[i]->axis()->getLastUpdateIndex(), sessions[i]->getLastPublishedIndex());
        EXPECT_EQ(view->tiles()[i]->rateLabel()->text().toStdWString(),
                  SurveillanceTileText::rate(sessions[i]->getCommSession().getCompressionRate(), true));
    }
    QTest::qWait(20);
    const auto path = kovatest::binaryDir() / "surveillance.png";
    ASSERT_TRUE(host.grab().save(QString::fromStdString(path.string())));
}

TEST_F(DemoSurveillance, anUncheckedSessionIsHiddenAndTheOthersFillTheGrid)
{
    for (int i = 0; i < 4; ++i)
        view->addSession(&demoSession(FIRST_PORT + i, i == 1, 10));
    open();
    const int fullWidth = view->tiles()[0]->ventilationPane()->width();
    sessionList(*view)->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(view->tiles()[1]->shown);
    for (QWidget* window : windowsOf(*view->tiles()[1]))
        EXPECT_FALSE(window->isVisible());
    // Three tiles in 1200 x 800: two columns, two rows, the third tile now
    // where the second was.
    EXPECT_EQ(view->tiles()[2]->captionLabel()->pos().y(), view->tiles()[0]->captionLabel()->pos().y());
    EXPECT_GT(view->tiles()[3]->captionLabel()->pos().y(), view->tiles()[0]->captionLabel()->pos().y());
    EXPECT_EQ(view->tiles()[0]->ventilationPane()->width(), fullWidth);

    // Nothing checked: nothing shows.
    for (int row : {0, 2, 3})
        sessionList(*view)->item(row)->setCheckState(Qt::Unchecked);
    for (const auto& tile : view->tiles())
        for (QWidget* window : windowsOf(*tile))
            EXPECT_FALSE(window->isVisible());
    // A window of no size hides every tile too.
    sessionList(*view)->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(view->tiles()[0]->axis()->isVisible());
    view->layoutTiles(0, CLIENT_HEIGHT);
    EXPECT_FALSE(view->tiles()[0]->axis()->isVisible());
}

TEST_F(DemoSurveillance, theEcgSwitchShowsOnlyEcgCapableSessionsCurves)
{
    view->addSession(&demoSession(FIRST_PORT, true, 5));
    view->addSession(&demoSession(FIRST_PORT + 1, false, 5));
    open();
    auto* showEcg = qobject_cast<QCheckBox*>(view->getDlgItem(View::IDC_SHOW_ECG));
    ASSERT_TRUE(showEcg && showEcg->isChecked());
    EXPECT_EQ(showEcg->text(), "Show ECG signal");
    EXPECT_TRUE(view->tiles()[0]->ecgPane()->isVisible());
    const int withEcg = view->tiles()[0]->compressionPane()->height();
    QTest::mouseClick(showEcg, Qt::LeftButton);
    EXPECT_FALSE(view->tiles()[0]->ecgPane()->isVisible());
    EXPECT_GT(view->tiles()[0]->compressionPane()->height(), withEcg);
    QTest::mouseClick(showEcg, Qt::LeftButton);
    EXPECT_TRUE(view->tiles()[0]->ecgPane()->isVisible());
    EXPECT_FALSE(view->tiles()[1]->ecgPane()->isVisible());
    // The station's setting stays as it was.
    EXPECT_TRUE(Configuration::instance().getPropertyModel().ecgEnabled);
}

TEST_F(DemoSurveillance, zoomListAndSpinAgreeAndSetEveryAxis)
{
    view->addSession(&demoSession(FIRST_PORT, false, 5));
    open();
    QComboBox* zoom = combo(*view, View::IDC_ZOOM);
    QSpinBox* spin = zoomSpin(*view);
    ASSERT_EQ(zoom->count(), 11);
    EXPECT_EQ(zoom->currentText(), "20 sec.");
    EXPECT_EQ(spin->value(), 2);
    EXPECT_EQ(view->tiles()[0]->axis()->getViewIndexes(), 400);

    // The spin's last step: an hour at 20 samples a second.
    spin->setValue(10);
    EXPECT_EQ(zoom->currentIndex(), 10);
    EXPECT_EQ(view->tiles()[0]->axis()->getViewIndexes(), 72000);
    // The list: the spin follows.
    zoom->setCurrentIndex(4);
    EXPECT_EQ(spin->value(), 4);
    EXPECT_EQ(view->tiles()[0]->axis()->getViewIndexes(), 1200);
    // A session added now takes the chosen window.
    view->addSession(&demoSession(FIRST_PORT + 1, false, 5));
    EXPECT_EQ(view->tiles()[1]->axis()->getViewIndexes(), 1200);
    EXPECT_EQ(View::windowIndexes(3600000, 50.0), 180000);
}

TEST_F(DemoSurveillance, rateLabelsShowTheRateOnceRefreshed)
{
    Session& idle = demoSession(FIRST_PORT, false, 0);
    ASSERT_EQ(static_cast<int>(idle.getCommSession().getCompressionRate()), -1);
    // A tile's label before its first refresh.
    {
        SurveillanceTile tile(idle, 20000, false);
        ASSERT_TRUE(tile.create(&host, nullptr));
        EXPECT_EQ(tile.rateLabel()->text(), "- comp./min");
        tile.updateRate();
        EXPECT_EQ(tile.rateLabel()->text(), "---- comp./min");
    }
    Session& busy = demoSession(FIRST_PORT + 1, false, 5);
    // On until the trainee compresses (the rate lapses during ventilations).
    for (int step = 0; step < 2000 && busy.getCommSession().getCompressionRate() < 1.0; ++step)
        tick({&busy});
    view->addSession(&idle);
    view->addSession(&busy);
    open();
    EXPECT_TRUE(view->timer().isActive());
    EXPECT_EQ(view->timer().interval(), 250);
    view->onTimer();
    EXPECT_EQ(view->tiles()[0]->rateLabel()->text(), "---- comp./min");
    const int rate = static_cast<int>(busy.getCommSession().getCompressionRate());
    ASSERT_GT(rate, 0);
    EXPECT_EQ(view->tiles()[1]->rateLabel()->text(), QString::number(rate) + " comp./min");
}

// Five sessions, one with its ECG pane, in every window size down to none:
// tiles and panes of a few pixels (smaller than a pane's sunken edge) are
// laid out and drawn without a failed check.
TEST_F(DemoSurveillance, theSmallestTilesAndPanesDrawWithoutAFailedCheck)
{
    // Narrow bands: their limits' labels would lie on each other.
    algorithm.vVolLow = 0.5;
    algorithm.vVolHigh = 0.6;
    algorithm.compDepthLow = 50;
    algorithm.compDepthHigh = 60;
    for (int i = 0; i < 5; ++i)
        view->addSession(&demoSession(FIRST_PORT + i, i == 0, 25));
    open();
    view->setGeometry(0, 0, 760, 480);
    QTest::qWait(20);
    ASSERT_TRUE(host.grab(QRect(0, 0, 760, 480))
                    .save(QString::fromStdString((kovatest::binaryDir() / "surveillance-small.png").string())));
    const std::size_t logged = kovatest::readFile(LogStream::instance().path()).size();
    int tinyPanes = 0;
    for (const int width : {CLIENT_WIDTH, 400, 200})
        for (int height = 160; height >= 0; --height) {
            view->setGeometry(0, 0, width, height);
            for (const auto& tile : view->tiles())
                for (GraphView* pane : {tile->ventilationPane(), tile->ecgPane(), tile->compressionPane()}) {
                    tinyPanes += pane->isVisible() && pane->height() < 4;
                    pane->repaint();
                    for (const GraphView::ValueLabel& label : pane->valueLabels())
                        EXPECT_TRUE(pane->contentsRect().translated(-pane->contentsRect().topLeft()).contains(label.box))
                            << width << " x " << height;
                }
        }
    EXPECT_GT(tinyPanes, 0) << "some pane was smaller than its edge";
    const std::string log = kovatest::readFile(LogStream::instance().path()).substr(logged);
    EXPECT_EQ(log.find("Assert failed"), std::string::npos) << log;
}

TEST_F(DemoSurveillance, aTileCaptionNamesBothTraineesWhole)
{
    // Four tiles, two to a row.
    view->addSession(&demoSession(FIRST_PORT, false, 5, "Anna-Karin Lindqvist", "Ben Olsen-Berg"));
    for (int i = 1; i < 4; ++i)
        view->addSession(&demoSession(FIRST_PORT + i, false, 5));
    open();
    const QLabel* caption = view->tiles()[0]->captionLabel();
    ASSERT_TRUE(caption->text().endsWith(QStringLiteral("Comp.:Ben Olsen-Berg")));
    EXPECT_GE(caption->contentsRect().width(), caption->fontMetrics().horizontalAdvance(caption->text()));
    EXPECT_EQ(caption->toolTip(), caption->text());
}

TEST_F(DemoSurveillance, removingASessionTakesItsWindowsAlong)
{
    view->addSession(&demoSession(FIRST_PORT, true, 5));
    view->addSession(&demoSession(FIRST_PORT + 1, false, 5));
    open();
    QPointer<QWidget> pane = view->tiles()[0]->ecgPane();
    QPointer<QWidget> axis = view->tiles()[0]->axis();
    view->removeSession(sessions[0].get());
    EXPECT_TRUE(pane.isNull());
    EXPECT_TRUE(axis.isNull());
    ASSERT_EQ(view->tiles().size(), 1u);
    EXPECT_EQ(sessionList(*view)->count(), 1);
    EXPECT_EQ(combo(*view, View::IDC_ECG_BOX)->count(), 1);
    EXPECT_TRUE(sessions[0]->getEcgDoc().getViewList().empty());

    // A session without a tile: only the internal check.
    const auto before = kovatest::readFile(LogStream::instance().path());
    view->removeSession(sessions[0].get());
    EXPECT_EQ(view->tiles().size(), 1u);
    EXPECT_NE(kovatest::readFile(LogStream::instance().path()).find("i!=viewList_.end()"), std::string::npos);
}

// Sessions on links of the test's own, titled after their ports.
class FakeSurveillance : public testing::Test {
protected:
    Session& session(long port, bool ecg)
    {
        logs.push_back(std::make_unique<LinkLog>());
        logs.back()->sendsEcg = ecg;
        sessions.push_back(liveSession(*logs.back(), liveRecord(-1, 3, port)));
        sessions.back()->createSessionView();
        return *sessions.back();
    }

    ScopedFakeWindows windows;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    // Before the manager: the sessions it still lists at the end go with it, links and all.
    std::vector<std::unique_ptr<LinkLog>> logs;
    SessionManager manager{false};
    std::vector<std::unique_ptr<Session>> sessions;
};

TEST_F(FakeSurveillance, theEcgBoxListChoosesBySessionNotByTitle)
{
    QWidget host;
    View view;
    Session& ten = session(10, true);
    Session& one = session(1, true);
    Session& plain = session(2, false);
    for (Session* s : {&ten, &one, &plain})
        view.addSession(s);
    // Session "… 1" shows its panel while collecting; "… 10" comes first in
    // the list and starts with the same text.
    one.start();
    windows.of(one).ecgPanelVisible = true;
    ASSERT_TRUE(view.create(&host));
    QComboBox* box = combo(view, View::IDC_ECG_BOX);
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(0), "NONE");
    EXPECT_EQ(box->itemText(1).toStdString(), "Kova Man USB 10");
    EXPECT_EQ(box->itemText(2).toStdString(), "Kova Man USB 1");
    // Opening the window selects NONE; a refill keeps the panel that shows.
    EXPECT_EQ(box->currentIndex(), 0);
    view.addSession(&session(3, false));
    EXPECT_EQ(box->currentIndex(), 2);

    box->setCurrentIndex(1);
    EXPECT_TRUE(windows.of(ten).ecgPanelVisible);
    EXPECT_FALSE(windows.of(one).ecgPanelVisible);
    box->setCurrentIndex(0);
    EXPECT_FALSE(windows.of(ten).ecgPanelVisible);
    EXPECT_FALSE(windows.of(one).ecgPanelVisible);
}

TEST_F(FakeSurveillance, theWindowFollowsTheManagersSessions)
{
    kova::MdiClientWnd client;
    client.resize(1000, 700);
    SurveillanceWindow surveillance(manager, &client);
    auto first = liveSession(*logs.emplace_back(std::make_unique<LinkLog>()), liveRecord(-1, 3, 4));
    Session* kept = first.get();
    manager.addSession(first.release());
    surveillance.show();
    ASSERT_TRUE(surveillance.view());
    EXPECT_EQ(surveillance.frame()->windowTitle(), "Surveillance");
    EXPECT_EQ(surveillance.view()->tiles().size(), 1u);
    auto second = liveSession(*logs.emplace_back(std::make_unique<LinkLog>()), liveRecord(-1, 3, 6));
    Session* added = second.get();
    manager.addSession(second.release());
    ASSERT_EQ(surveillance.view()->tiles().size(), 2u);
    EXPECT_EQ(&surveillance.view()->tiles()[1]->getSession(), added);
    EXPECT_TRUE(surveillance.view()->tiles()[1]->isCreated());
    manager.removeSession(kept);
    ASSERT_EQ(surveillance.view()->tiles().size(), 1u);
    EXPECT_EQ(&surveillance.view()->tiles()[0]->getSession(), added);

    // Closed, a session added meanwhile, and opened again: a tile for every
    // listed session.
    surveillance.frame()->destroyFrame();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(surveillance.view(), nullptr);
    manager.addSession(liveSession(*logs.emplace_back(std::make_unique<LinkLog>()), liveRecord(-1, 3, 7)).release());
    surveillance.show();
    ASSERT_TRUE(surveillance.view());
    EXPECT_EQ(surveillance.view()->tiles().size(), 2u);
    EXPECT_TRUE(surveillance.view()->tiles()[1]->isCreated());
}

// The live panel of the test: it owns the session's ECG rhythm panel, as the
// live graph panel does, and passes on what the session's windows ask of it.
class EcgOwningPanel final : public SessionPanel {
public:
    EcgOwningPanel(Session& session, SerialPort* port) : SessionPanel(session, PANEL_TEMPLATE), ecg(port, L"ECG") {}
    void newData(int) override {}
    void showEcgPanel(bool show) override { ecg.setVisible(show); }
    bool isEcgPanelVisible() const override { return ecg.isVisible(); }
    void checkRhythmSwitch(int sampleIndex) override { ecg.checkRhythmSwitch(sampleIndex); }

    EcgRhythmPanel ecg;
};

class DefibrillationMark : public testing::Test, protected linktest::ComPortManikin {
protected:
    void SetUp() override
    {
        manikinsim::SimulatorOptions options;
        options.kind = 3;
        ASSERT_NO_FATAL_FAILURE(startManikin(options));

        registerPanelTemplate();
        SessionWindowSet::install();
        SessionWindowSet::setPanelFactory(SessionWindows::Panel::Graph, [this](Session& session) {
            return std::make_unique<EcgOwningPanel>(session, &port);
        });
        // Ten samples a round, the sixth carrying the defibrillation mark.
        link.sendsEcg = true;
        for (int i = 0; i < 10; ++i)
            link.port.recording.push_back(ManikinSample{0, 0, i == 5 ? FrameParser::STATUS_ERROR66 : 0, 100 + 10 * i});
        session = liveSession(link, liveRecord(-1, 3, 5));
        session->createSessionView()->create(&host);
        session->start();
    }
    void TearDown() override
    {
        surveillance.reset();
        session.reset();
        uninstallSessionWindows();
    }

    EcgRhythmState& rhythms() const
    {
        return static_cast<EcgOwningPanel*>(session->windows().panel(SessionWindows::Panel::Graph, false))->ecg.state();
    }
    void steps(int count)
    {
        for (int i = 0; i < count; ++i)
            session->onTimer();
    }

    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    SessionManager manager{false};
    LinkLog link;
    QWidget host;
    QWidget surveillanceHost;
    std::unique_ptr<Session> session;
    std::unique_ptr<View> surveillance;
};

TEST_F(DefibrillationMark, swapsTheRhythmsOncePerMarkedSampleWithTheSurveillanceOpen)
{
    surveillance = std::make_unique<View>();
    surveillance->addSession(session.get());
    surveillanceHost.resize(900, 600);
    ASSERT_TRUE(surveillance->create(&surveillanceHost));
    surveillance->setGeometry(0, 0, 900, 600);
    surveillanceHost.show();
    ASSERT_TRUE(surveillance->tiles()[0]->ecgPane()->isVisible());

    rhythms().click(EcgRhythmState::rhythmButtonId(5));
    steps(10);
    // Sample 5 carried the mark: 5 is the current rhythm, 1 the next; the
    // surveillance tile drew the marked sample too and changed nothing more.
    EXPECT_EQ(rhythms().getCurrentRhythm(), 5);
    EXPECT_EQ(rhythms().getNextRhythm(), 1);
    EXPECT_GE(surveillance->tiles()[0]->axis()->getLastUpdateIndex(), 9);
    surveillance->tiles()[0]->ecgPane()->redrawAll();
    EXPECT_EQ(rhythms().getCurrentRhythm(), 5);

    // No defibrillation effect: the mark at sample 15 changes nothing.
    rhythms().click(EcgRhythmState::ID_NO_DEFIBRILLATION_EFFECT);
    steps(10);
    EXPECT_EQ(rhythms().getCurrentRhythm(), 5);
    // With the effect back, the mark at sample 25 swaps again.
    rhythms().click(EcgRhythmState::ID_NO_DEFIBRILLATION_EFFECT);
    steps(10);
    EXPECT_EQ(rhythms().getCurrentRhythm(), 1);
    EXPECT_EQ(rhythms().getNextRhythm(), 5);

    // The manikin switched by itself: it heard only the choice and the option.
    EXPECT_EQ(sent(3),
              (std::vector<ReceivedFrame>{{22, {1, 5}}, {23, {0}}, {23, {1}}}));
}

TEST_F(DefibrillationMark, theEcgBoxListOpensAndClosesTheLivePanelsRhythmPanel)
{
    surveillance = std::make_unique<View>();
    surveillance->addSession(session.get());
    ASSERT_TRUE(surveillance->create(&host));
    QComboBox* box = combo(*surveillance, View::IDC_ECG_BOX);
    ASSERT_EQ(box->count(), 2);
    box->setCurrentIndex(1);
    auto* panel = static_cast<EcgOwningPanel*>(session->windows().panel(SessionWindows::Panel::Graph, false));
    EXPECT_TRUE(panel->ecg.isVisible());
    EXPECT_TRUE(session->windows().isEcgPanelVisible());
    box->setCurrentIndex(0);
    EXPECT_FALSE(panel->ecg.isVisible());
}

} // namespace
