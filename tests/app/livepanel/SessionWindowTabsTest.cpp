// The session window in a main window on Qt's offscreen platform: a tab per
// session, the tab that follows when one goes, the window that closes after
// the last one, tab selection by number, the session in front, the ECG box
// that follows a tab change, and closing the window with its sessions.

#include "TempDir.h"
#include "WindowedSessionsFixture.h"

#include "Rodezir/LogStream.h"
#include "app/livepanel/SessionManagerTabView.h"
#include "app/shell/SessionFrame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTabBar>
#include <QTest>

using namespace livepaneltest;
using namespace sessiontest;

namespace {

class SessionWindowTabsTest : public WindowedSessionsFixture {
protected:
    void SetUp() override
    {
        manager.setMdiClient(&mainWindow.client());
        WindowedSessionsFixture::SetUp();
        manager.setAfterLastSession([this] { ++wentOnAfterLastSession; });
    }

    // A live session added to the manager; `ecg`: its manikin sends ECG.
    Session* add(const std::string& title, bool ecg = false) { return WindowedSessionsFixture::add(title, ecg); }
    SessionManagerTabView& tabs() const { return *manager.tabView(); }
    QString currentTabText() const { return tabs().tabBar()->tabText(tabs().tabBar()->currentIndex()); }

    int wentOnAfterLastSession = 0;
};

TEST_F(SessionWindowTabsTest, windowOpensWithATabPerSessionTheLastInFront)
{
    manager.showSessionWindow();
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(manager.sessionFrame());

    Session* a = add("Anna");
    Session* b = add("Ben");
    manager.showSessionWindow();
    ASSERT_TRUE(manager.sessionFrame());
    EXPECT_EQ(manager.sessionFrame()->windowTitle(), "Session");
    ASSERT_EQ(tabs().tabCount(), 2);
    EXPECT_EQ(tabs().tabBar()->tabText(0), "Anna");
    EXPECT_EQ(currentTabText(), "Ben");
    EXPECT_EQ(manager.getCurrentSession(), b);
    EXPECT_TRUE(b->getSessionView()->isVisible());
    EXPECT_FALSE(a->getSessionView()->isVisible());

    // A session added while the window is open gets its tab at once, in front.
    Session* c = add("Cleo");
    EXPECT_EQ(tabs().tabCount(), 3);
    EXPECT_EQ(manager.getCurrentSession(), c);

    // Clicking a tab shows its session; selecting the tab in front changes nothing.
    tabs().tabBar()->setCurrentIndex(0);
    EXPECT_EQ(manager.getCurrentSession(), a);
    EXPECT_TRUE(a->getSessionView()->isVisible());
    EXPECT_FALSE(c->getSessionView()->isVisible());
    tabs().activateView(a->getSessionView(), true);
    EXPECT_EQ(tabs().tabBar()->currentIndex(), 0);
    EXPECT_TRUE(a->getSessionView()->isVisible());

    QApplication::processEvents();
    const auto path = kovatest::binaryDir() / "session-window.png";
    EXPECT_TRUE(mainWindow.grab().save(QString::fromStdString(path.string())));
}

TEST_F(SessionWindowTabsTest, theTabBeforeTheRemovedOneComesToTheFront)
{
    Session* a = add("Anna");
    Session* b = add("Ben");
    Session* c = add("Cleo");
    manager.showSessionWindow();

    // The active first of three: the old second.
    manager.selectTab(1);
    ASSERT_EQ(manager.getCurrentSession(), a);
    a->destroyViews();
    settle();
    EXPECT_EQ(tabs().tabCount(), 2);
    EXPECT_EQ(manager.getCurrentSession(), b);
    EXPECT_EQ(currentTabText(), "Ben");
    EXPECT_TRUE(b->getSessionView()->isVisible());

    // The active last: the one before.
    manager.selectTab(2);
    ASSERT_EQ(manager.getCurrentSession(), c);
    c->destroyViews();
    settle();
    EXPECT_EQ(manager.getCurrentSession(), b);
    EXPECT_EQ(tabs().tabCount(), 1);
    EXPECT_EQ(wentOnAfterLastSession, 0);
}

TEST_F(SessionWindowTabsTest, afterTheOnlyTabTheWindowClosesAndTheStationGoesOn)
{
    Session* a = add("Anna");
    manager.showSessionWindow();
    const QPointer<SessionFrame> frame = manager.sessionFrame();
    a->destroyViews();
    // The window is forgotten at once, and goes once control is back.
    EXPECT_FALSE(manager.sessionFrame());
    EXPECT_FALSE(manager.tabView());
    EXPECT_EQ(wentOnAfterLastSession, 1);
    settle();
    EXPECT_FALSE(frame);
    EXPECT_EQ(manager.getSessionCount(), 0);

    // A new session opens a new window.
    add("Ben");
    manager.showSessionWindow();
    ASSERT_TRUE(manager.sessionFrame());
    EXPECT_EQ(tabs().tabCount(), 1);
}

TEST_F(SessionWindowTabsTest, abortInTheLastPanelClosesTheWindowWithoutTouchingIt)
{
    Session* a = add("Anna");
    manager.showSessionWindow();
    auto* panel = dynamic_cast<SessionGraphView*>(a->getSessionGraphView());
    ASSERT_TRUE(panel);
    const QPointer<SessionGraphView> watchedPanel = panel;
    const QPointer<SessionFrame> frame = manager.sessionFrame();
    installed.answers = {Answer::No};
    QTest::mouseClick(qobject_cast<QAbstractButton*>(panel->getDlgItem(kova::IDCANCEL)), Qt::LeftButton);
    EXPECT_EQ(wentOnAfterLastSession, 1);
    EXPECT_EQ(manager.getSessionCount(), 0);
    settle();
    EXPECT_FALSE(watchedPanel);
    EXPECT_FALSE(frame);
}

TEST_F(SessionWindowTabsTest, tabSelectionByNumberBeepsOutsideTheSessions)
{
    add("Anna");
    Session* b = add("Ben");
    manager.selectTab(1);
    EXPECT_EQ(beeps, 1); // no window yet
    manager.showSessionWindow();
    manager.selectTab(3);
    EXPECT_EQ(beeps, 2);
    manager.selectTab(0);
    EXPECT_EQ(beeps, 3);
    EXPECT_EQ(manager.getCurrentSession(), b);
    manager.selectTab(1);
    EXPECT_EQ(beeps, 3);
    EXPECT_EQ(currentTabText(), "Anna");
    // showSession brings a session's tab forward.
    manager.showSession(b);
    EXPECT_EQ(manager.getCurrentSession(), b);
}

TEST_F(SessionWindowTabsTest, ecgBoxFollowsATabChangeOnlyToASessionWithEcg)
{
    installed.recordEcgBoxes(boxes);
    Session* a = add("Anna", true);
    add("Ben", true);
    add("Cleo", false);
    manager.showSessionWindow();
    manager.selectTab(1);
    auto* panel = dynamic_cast<SessionGraphView*>(a->getSessionGraphView());
    ASSERT_TRUE(panel && panel->ecgBox());
    panel->ecgBox()->show();
    manager.selectTab(2);
    EXPECT_FALSE(boxes.visible[L"Anna"]);
    EXPECT_TRUE(boxes.visible[L"Ben"]);
    manager.selectTab(3);
    EXPECT_FALSE(boxes.visible[L"Ben"]);
    EXPECT_FALSE(boxes.visible[L"Cleo"]);
}

TEST_F(SessionWindowTabsTest, closingTheWindowEndsEverySessionAfterAskingEach)
{
    add("Anna");
    add("Ben");
    manager.showSessionWindow();
    installed.answers = {Answer::No, Answer::Cancel};
    manager.sessionFrame()->close();
    // Cancel on the second keeps everything open.
    EXPECT_TRUE(manager.sessionFrame()->isVisible());
    EXPECT_EQ(manager.getSessionCount(), 2);

    installed.answers = {Answer::No, Answer::No};
    manager.sessionFrame()->close();
    settle();
    EXPECT_FALSE(manager.sessionFrame());
    EXPECT_FALSE(manager.tabView());
    EXPECT_EQ(manager.getSessionCount(), 0);
    EXPECT_EQ(manager.getCurrentSession(), nullptr);
    // The station goes on after the last session, however it went.
    EXPECT_EQ(wentOnAfterLastSession, 1);
}

TEST_F(SessionWindowTabsTest, theStationEndsWithSessionsOpenWithoutAFailedCheckInItsLog)
{
    // The program ends with its sessions still listed: one answered Yes (in
    // review), one answered No after it ran, one never started.
    auto closing = std::make_unique<WindowedSessionManager>(false);
    closing->setMdiClient(&mainWindow.client());
    closing->setAfterLastSession([this] { ++wentOnAfterLastSession; });
    std::vector<Session*> sessions;
    for (int i = 0; i < 3; ++i) {
        links.push_back(std::make_unique<LinkLog>());
        auto made = liveSession(*links.back(), liveRecord(600, 4, 300 + i), 1);
        sessions.push_back(made.get());
        closing->addSession(made.release());
    }
    closing->showSessionWindow();
    ASSERT_TRUE(closing->tabView());
    for (Session* ran : {sessions[0], sessions[1]}) {
        ran->start();
        for (int step = 0; step < 30; ++step)
            ran->onTimer();
        ran->pause();
    }
    sessions[0]->setState(Session::DEBRIEF);
    sessions[0]->setState(Session::REVIEW);
    settle();

    const std::string before = kovatest::readFile(LogStream::instance().path());
    closing.reset();
    settle();
    const std::string after = kovatest::readFile(LogStream::instance().path());
    EXPECT_EQ(after.substr(std::min(before.size(), after.size())).find("Assert failed"), std::string::npos)
        << after.substr(std::min(before.size(), after.size()), 400);
    for (std::size_t i = links.size() - 3; i < links.size(); ++i)
        EXPECT_TRUE(links[i]->destroyed) << i;
    // A station that ends opens no New session on its way out.
    EXPECT_EQ(wentOnAfterLastSession, 0);
}

} // namespace
