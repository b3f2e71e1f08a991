// The live graph panel on Qt's offscreen platform, its session on a link of
// the test's own that replays a sample a step: time, rate and battery, the
// buttons through start and pause, the zoom list and scroll bar, the layouts
// with and without ECG and toolbars, the marks dragged out of the toolbars,
// and the printed strips.

#include "LivePanelTestKit.h"
#include "TempDir.h"

#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphToggles.h"
#include "app/graphs/GraphView.h"
#include "app/sessions/SessionManager.h"
#include "config/Configuration.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrintDialogAsker.h"
#include "platform/PrintDialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace livepaneltest;
using namespace sessiontest;

namespace {

class SessionGraphViewTest : public testing::Test {
protected:
    void SetUp() override { host.resize(1000, 640); }

    // A live session at 20 samples a second on the fake link, shown.
    SessionGraphView* live(long duration = 600, bool events = true)
    {
        SessionRecord record = liveRecord(duration);
        record.RegisterEvents = events;
        session = liveSession(link, record, 1);
        if (events)
            addDefaultEvents(*session);
        return showIn(*session, host);
    }
    QString text(int id) const { return panel()->getDlgItemText(id); }
    bool enabled(int id) const { return panel()->getDlgItem(id)->isEnabled(); }
    SessionGraphView* panel() const
    {
        return dynamic_cast<SessionGraphView*>(session->windows().panel(SessionWindows::Panel::Graph, false));
    }

    ScopedLivePanel installed;
    SessionManager manager{false};
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    QWidget host;
    LinkLog link;
    // Outlives the session, whose ECG box writes into it until it goes.
    EcgBoxLog boxes;
    std::unique_ptr<Session> session;
};

TEST_F(SessionGraphViewTest, timeRateAndTimeBarFollowTheSamples)
{
    SessionGraphView* view = live(120);
    ASSERT_TRUE(view);
    EXPECT_EQ(text(T::IDC_RATE_LABEL), "- comp./min");
    session->start();
    step(*session, 1301);
    ASSERT_EQ(session->getLastPublishedIndex(), 1300);
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "1:05 / 2:00");
    EXPECT_EQ(qobject_cast<QProgressBar*>(view->getDlgItem(T::IDC_TIME_BAR))->value(), 65);
    const int rate = static_cast<int>(session->getCommSession().getCompressionRate());
    EXPECT_EQ(text(T::IDC_RATE_LABEL), rate == -1 ? "- comp./min" : QString::number(rate) + " comp./min");

    // Without a limit the time stands alone and the bar has nothing to count.
    LinkLog otherLink;
    Session unlimited(liveRecord(-1), AlgorithmRecord{}, std::make_unique<FakeLink>(otherLink, 6, 1));
    QWidget otherHost;
    otherHost.resize(1000, 640);
    SessionGraphView* other = showIn(unlimited, otherHost);
    ASSERT_TRUE(other);
    EXPECT_FALSE(other->getDlgItem(T::IDC_TIME_BAR)->isEnabled());
    unlimited.start();
    step(unlimited, 1301);
    EXPECT_EQ(other->getDlgItemText(T::IDC_TIME_GROUP), "1:05");
}

TEST_F(SessionGraphViewTest, lowBatteryIsToldOncePerDropAndSwitchesThePulseOff)
{
    std::vector<std::wstring> told;
    SessionGraphView::setLowBatteryNotice(
        [&](SessionGraphView&, const std::wstring& text, const std::wstring& caption) { told.push_back(caption); });
    link.batteryLevel = 4;
    link.sendsEcg = true;
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    session->start();
    step(*session, 2);
    EXPECT_EQ(view->batteryBitmap(), LiveDisplays::BITMAP_FOUR_BARS);
    // The session reads the level at the end of its step; the panel shows it at the next.
    for (const int level : {0, 0, 1, 0}) {
        link.batteryLevel = level;
        step(*session, 2);
    }
    EXPECT_EQ(told, (std::vector<std::wstring>{L"Low battery", L"Low battery"}));
    EXPECT_EQ(view->batteryBitmap(), LiveDisplays::BITMAP_EMPTY);
    // Level 10: empty again and the pulse off, but no message.
    link.batteryLevel = 10;
    step(*session, 2);
    EXPECT_EQ(told.size(), 2u);
    int pulseOffs = 0;
    for (const auto& command : link.commands)
        pulseOffs += command == std::pair<int, int>{28, 0};
    EXPECT_EQ(pulseOffs, 3);
}

TEST_F(SessionGraphViewTest, lowBatteryBoxDoesNotHoldTheTick)
{
    link.batteryLevel = 0;
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    session->start();
    // The step returns with the box on screen: no loop of its own waits for an answer.
    step(*session, 3);
    QMessageBox* box = view->lowBatteryBox();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->text().toStdWString(), SessionGraphView::LOW_BATTERY_TEXT);
    EXPECT_EQ(box->windowTitle(), "Low battery");
    EXPECT_EQ(session->getLastPublishedIndex(), 2);
    // The box goes with the panel.
    const QPointer<QMessageBox> watched = box;
    session->destroyViews();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(watched);
}

TEST_F(SessionGraphViewTest, storedSessionShowsNoBatteryAndClosesInsteadOfAborting)
{
    std::vector<std::wstring> told;
    SessionGraphView::setLowBatteryNotice(
        [&](SessionGraphView&, const std::wstring&, const std::wstring& caption) { told.push_back(caption); });
    SessionRecord record = liveRecord(60, 3, static_cast<long>(Session::STORED_MANIKIN));
    record.RegisterEvents = false;
    // Its data file is missing: the session still opens, empty.
    session = std::make_unique<Session>(record, AlgorithmRecord{});
    SessionGraphView* view = showIn(*session, host);
    ASSERT_TRUE(view);
    view->updateButtons();
    EXPECT_EQ(view->batteryBitmap(), LiveDisplays::BITMAP_NOT_AVAILABLE);
    EXPECT_EQ(text(kova::IDCANCEL), "Close");
    EXPECT_FALSE(enabled(T::IDC_START));
    EXPECT_FALSE(enabled(T::IDC_PAUSE));
    EXPECT_TRUE(told.empty());
    // No blinking "Pause": a stored session was never running.
    EXPECT_FALSE(view->pauseTimer().isActive());
}

TEST_F(SessionGraphViewTest, buttonsFollowStartAndPause)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    // Not started yet: Start, no time to debrief or print, the pause text blinking.
    EXPECT_TRUE(enabled(T::IDC_START));
    EXPECT_FALSE(enabled(T::IDC_PAUSE));
    EXPECT_FALSE(enabled(T::IDC_DEBRIEFING));
    EXPECT_FALSE(enabled(T::IDC_PRINT));
    EXPECT_TRUE(view->isScrollBarShown());
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "Pause");

    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_START)), Qt::LeftButton);
    ASSERT_TRUE(session->isRunning());
    EXPECT_FALSE(enabled(T::IDC_START));
    EXPECT_TRUE(enabled(T::IDC_PAUSE));
    EXPECT_FALSE(enabled(T::IDC_DEBRIEFING));
    EXPECT_FALSE(enabled(T::IDC_MAGNIFY));
    EXPECT_FALSE(view->isScrollBarShown());
    EXPECT_FALSE(view->scrollBar()->isVisible());
    EXPECT_TRUE(view->areToolbarsShown());
    EXPECT_TRUE(view->upperToolbar()->isVisible());
    EXPECT_FALSE(view->pauseTimer().isActive());
    step(*session, 40);
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "0:01 / 10:00");

    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_PAUSE)), Qt::LeftButton);
    ASSERT_FALSE(session->isRunning());
    EXPECT_TRUE(enabled(T::IDC_START));
    EXPECT_FALSE(enabled(T::IDC_PAUSE));
    EXPECT_TRUE(enabled(T::IDC_DEBRIEFING));
    EXPECT_TRUE(enabled(T::IDC_PRINT));
    EXPECT_TRUE(enabled(T::IDC_MAGNIFY));
    EXPECT_TRUE(enabled(T::IDC_DE_MAGNIFY));
    EXPECT_TRUE(view->isScrollBarShown());
    EXPECT_FALSE(view->upperToolbar()->isVisible());
    EXPECT_FALSE(view->lowerToolbar()->isVisible());
    // The caption blinks between the pause text and the time.
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "Pause");
    view->onPauseTimer();
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "0:01 / 10:00");
    view->onPauseTimer();
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "Pause");
    // A second refresh while paused (a lost link) keeps the time to come back to.
    view->updateButtons();
    session->start();
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "0:01 / 10:00");
}

TEST_F(SessionGraphViewTest, anEndedSessionOffersNoStartOnItsLiveGraphs)
{
    SessionGraphView* view = live(1);
    ASSERT_TRUE(view);
    auto* start = qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_START));
    QTest::mouseClick(start, Qt::LeftButton);
    step(*session, 25);
    ASSERT_TRUE(session->getEnded());
    const int last = session->getLastPublishedIndex();

    // Back from the debriefing ("<< Graph"): the debriefing and the print
    // stay, Start does not come back.
    session->setState(Session::COLLECT);
    EXPECT_FALSE(enabled(T::IDC_START));
    EXPECT_FALSE(enabled(T::IDC_PAUSE));
    EXPECT_TRUE(enabled(T::IDC_DEBRIEFING));
    EXPECT_TRUE(enabled(T::IDC_PRINT));
    QTest::mouseClick(start, Qt::LeftButton);
    step(*session, 25);
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(session->getLastPublishedIndex(), last);
    view->onPauseTimer();
    EXPECT_EQ(text(T::IDC_TIME_GROUP), "0:01 / 0:01");
    const auto path = kovatest::binaryDir() / "live-panel-ended.png";
    EXPECT_TRUE(host.grab().save(QString::fromStdString(path.string())));
}

TEST_F(SessionGraphViewTest, zoomListStepperAndTheAxisAgree)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    auto* list = qobject_cast<QComboBox*>(view->getDlgItem(T::IDC_ZOOM_LIST));
    auto* stepper = qobject_cast<QSpinBox*>(view->getDlgItem(T::IDC_ZOOM_SPIN));
    ASSERT_TRUE(list && stepper);
    // The eleven windows, 20 seconds to begin with.
    ASSERT_EQ(list->count(), 11);
    EXPECT_EQ(list->itemText(0), "5 sec.");
    EXPECT_EQ(list->itemText(10), "60 min.");
    EXPECT_EQ(list->itemData(10).toInt(), 3600000);
    EXPECT_EQ(list->currentData().toInt(), 20000);
    EXPECT_EQ(stepper->value(), 2);
    EXPECT_EQ(view->axis()->getViewIndexes(), 400);
    session->start();
    step(*session, 2000);
    session->pause();
    // Paused, an entry shows the newest samples: "10 sec." is the last 200.
    stepper->setValue(1);
    EXPECT_EQ(list->currentText(), "10 sec.");
    EXPECT_EQ(view->axis()->getViewIndexes(), 200);
    EXPECT_EQ(view->axis()->getLeftIndex(), 1800);
    EXPECT_EQ(view->scrollBar()->value(), 1800);
    EXPECT_EQ(view->scrollBar()->maximum(), 1800);
    // Stepping past the end keeps the last entry.
    stepper->setValue(10);
    stepper->stepBy(1);
    EXPECT_EQ(list->currentText(), "60 min.");
    EXPECT_EQ(view->axis()->getViewIndexes(), 72000);
    // A magnifier window that matches no entry: nothing selected, the stepper on the nearest.
    view->axis()->setView(100, 600);
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(stepper->value(), 3);
    // The scroll bar moves the axis.
    view->scrollBar()->setValue(700);
    EXPECT_EQ(view->axis()->getLeftIndex(), 700);
}

TEST_F(SessionGraphViewTest, magnifiersFollowTheAxisMode)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    auto* magnify = qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_MAGNIFY));
    ASSERT_TRUE(magnify);
    QTest::mouseClick(magnify, Qt::LeftButton);
    EXPECT_EQ(view->axis()->getMode(), TimeAxis::MODE_ZOOM);
    EXPECT_TRUE(magnify->isChecked());
    EXPECT_EQ(view->getCursorMode(), SessionGraphView::CURSOR_ZOOM_IN);
    EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseClick(magnify, Qt::LeftButton);
    EXPECT_EQ(view->axis()->getMode(), TimeAxis::MODE_NORMAL);
    EXPECT_FALSE(magnify->isChecked());
    EXPECT_EQ(view->getCursorMode(), SessionGraphView::CURSOR_NORMAL);
    view->setZoomCursor(1);
    EXPECT_EQ(view->getCursorMode(), SessionGraphView::CURSOR_ZOOM_OUT);
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_DE_MAGNIFY))->isChecked());
}

TEST_F(SessionGraphViewTest, ecgLayoutKeepsAFreeBandUnderTheEcgPane)
{
    link.sendsEcg = true;
    installed.recordEcgBoxes(boxes);
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    EXPECT_TRUE(panel()->isDlgButtonChecked(T::IDC_ECG_SIGNAL));
    EXPECT_TRUE(enabled(T::IDC_ECG_BOX));
    ASSERT_TRUE(view->ecgPane()->isVisible());
    const int axisHeight = view->axis()->height();
    EXPECT_EQ(view->axis()->y(), view->ventilationPane()->geometry().bottom() + 1);
    EXPECT_EQ(view->compressionPane()->y() - (view->ecgPane()->geometry().bottom() + 1), axisHeight);

    // The first Start sends the rhythms and makes the switch the shared state.
    session->graphToggles().set(GraphToggles::ECG_SIGNAL, false);
    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_START)), Qt::LeftButton);
    EXPECT_EQ(boxes.sent[session->getTitleWide()], 1);
    EXPECT_TRUE(session->graphToggles().showEcgSignal());

    // Switched off: the axis sits between two equal panes, the ECG pane is gone.
    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_ECG_SIGNAL)), Qt::LeftButton);
    EXPECT_FALSE(view->ecgPane()->isVisible());
    EXPECT_FALSE(session->graphToggles().showEcgSignal());
    EXPECT_EQ(view->ventilationPane()->height(), view->compressionPane()->height());
    EXPECT_EQ(view->compressionPane()->y(), view->axis()->geometry().bottom() + 1);

    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_ECG_BOX)), Qt::LeftButton);
    EXPECT_TRUE(boxes.visible[session->getTitleWide()]);
}

TEST_F(SessionGraphViewTest, ecgSwitchStartsAsTheStationWasSetWhenTheSessionWasMade)
{
    link.sendsEcg = true;
    bool& setting = Configuration::instance().getPropertyModel().ecgEnabled;
    setting = false;
    SessionRecord record = liveRecord(600);
    session = liveSession(link, record, 1);
    setting = true;
    SessionGraphView* view = showIn(*session, host);
    ASSERT_TRUE(view);
    EXPECT_TRUE(enabled(T::IDC_ECG_SIGNAL));
    EXPECT_FALSE(view->isDlgButtonChecked(T::IDC_ECG_SIGNAL));
    EXPECT_FALSE(view->ecgPane()->isVisible());
}

TEST_F(SessionGraphViewTest, manikinWithoutEcgHasNoEcgControls)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    EXPECT_FALSE(enabled(T::IDC_ECG_SIGNAL));
    EXPECT_FALSE(enabled(T::IDC_ECG_BOX));
    EXPECT_FALSE(view->ecgPane()->isVisible());
}

TEST_F(SessionGraphViewTest, withoutEventsNoToolbarTakesSpace)
{
    SessionGraphView* view = live(600, false);
    ASSERT_TRUE(view);
    session->start();
    EXPECT_FALSE(view->upperToolbar());
    EXPECT_FALSE(enabled(T::IDC_EVENTS));
    const int labelBottom = view->getDlgItem(T::IDC_POSITION_LABEL)->geometry().bottom() + 1;
    EXPECT_LE(view->ventilationPane()->y(), labelBottom + 2);
}

TEST_F(SessionGraphViewTest, buttonDraggedOutOfTheLowerToolbarMarksTheCompressionCurve)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    session->start();
    step(*session, 30);
    QToolBar* lower = view->lowerToolbar();
    ASSERT_TRUE(lower && !lower->actions().isEmpty());
    QAction* action = lower->actions().front();
    auto* button = qobject_cast<QToolButton*>(lower->widgetForAction(action));
    ASSERT_TRUE(button);

    // A click is not a drag: no mark.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(session->getCompressionDoc().getMarks().empty());

    const QPoint start = button->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, start, button->mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    const QPoint away = start + QPoint(0, QApplication::startDragDistance() + 20);
    QMouseEvent move(QEvent::MouseMove, away, button->mapToGlobal(away), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    QApplication::sendEvent(button, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, away, button->mapToGlobal(away), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &release);

    const auto& marks = session->getCompressionDoc().getMarks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks.front().sampleIndex, session->getLastPublishedIndex());
    EXPECT_EQ(marks.front().id, ToolBar::buttonOf(action)->id);
    EXPECT_TRUE(session->getVentilationDoc().getMarks().empty());

    // With Events off the buttons are greyed in every panel.
    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_EVENTS)), Qt::LeftButton);
    EXPECT_FALSE(session->graphToggles().showEvents());
    EXPECT_FALSE(action->isEnabled());
    session->graphToggles().set(GraphToggles::EVENTS, true);
}

TEST_F(SessionGraphViewTest, switchesAreSharedByEveryPanel)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    LinkLog otherLink;
    Session other(liveRecord(), AlgorithmRecord{}, std::make_unique<FakeLink>(otherLink, 6, 1));
    QWidget otherHost;
    otherHost.resize(1000, 640);
    SessionGraphView* otherView = showIn(other, otherHost);
    ASSERT_TRUE(otherView);
    for (const int id : {T::IDC_PROBLEMS, T::IDC_CR_RATIO, T::IDC_CARDIAC_OUTPUT}) {
        const bool before = session->graphToggles().get(id);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(id)), Qt::LeftButton);
        EXPECT_EQ(session->graphToggles().get(id), !before) << id;
        EXPECT_EQ(otherView->isDlgButtonChecked(id), !before) << id;
    }
}

TEST_F(SessionGraphViewTest, printStripsFollowTheConfiguredPrintTime)
{
    Configuration::instance().getPropertyModel().graphMaxPrintTime = 5;
    SessionGraphView* view = live(-1);
    ASSERT_TRUE(view);
    session->start();
    struct Case {
        int samples;
        int pages;
    };
    // 60 s, 150 s and 870 s at 20 samples a second.
    int done = 0;
    for (const Case c : {Case{1200, 0}, Case{3000, 1}, Case{17400, 3}}) {
        step(*session, c.samples - done);
        done = c.samples;
        EXPECT_EQ(view->getPrintPageCount(), c.pages) << c.samples;
    }
    view->selectPrintPage(2);
    EXPECT_EQ(view->axis()->getLeftIndex(), 12000);
    EXPECT_EQ(view->axis()->getViewIndexes(), 6000);

    // The printed graphs: ventilation over the axis over compression, framed.
    QImage page(1200, 800, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        view->printGraphs(painter, 20, 20, 1179, 779, false);
    }
    EXPECT_EQ(page.pixel(20, 400), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(1179, 21), qRgb(0, 0, 0));
    const auto path = kovatest::binaryDir() / "live-panel-print.png";
    EXPECT_TRUE(page.save(QString::fromStdString(path.string())));
}

TEST_F(SessionGraphViewTest, printAndDebriefingButtonsReachTheSession)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    session->start();
    step(*session, 30);
    session->pause();
    // Print... prints the graph page: one landscape page.
    kovatest::TempDir folder;
    platform::PdfPrintDialogAsker dialog;
    dialog.outputFile = folder.file("graphs.pdf");
    {
        platform::ScopedPrintDialogAsker asking(dialog);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_PRINT)), Qt::LeftButton);
    }
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(platform::applicationPrinter().pageLayout().orientation(), QPageLayout::Landscape);
    ASSERT_TRUE(std::filesystem::exists(dialog.outputFile));
    EXPECT_GT(std::filesystem::file_size(dialog.outputFile), 0u);

    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(T::IDC_DEBRIEFING)), Qt::LeftButton);
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
}

TEST_F(SessionGraphViewTest, abortFromThePanelDeletesItOnlyAfterItsHandler)
{
    SessionGraphView* view = live();
    ASSERT_TRUE(view);
    session->start();
    step(*session, 10);
    installed.answers = {Answer::No};
    const QPointer<SessionGraphView> watched = view;
    QTest::mouseClick(qobject_cast<QAbstractButton*>(view->getDlgItem(kova::IDCANCEL)), Qt::LeftButton);
    // The click's handler has returned into a panel that still exists.
    EXPECT_TRUE(watched);
    EXPECT_FALSE(session->isRunning());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(watched);
}

} // namespace
