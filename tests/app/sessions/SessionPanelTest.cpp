// A session's windows on Qt's offscreen platform: the panel base with its
// Escape and Enter, the view that shows one panel at a time, the panels made
// by their factories, the save question and the end sound.

#include "SessionTestKit.h"
#include "SessionWindowsReset.h"
#include "TestSessionPanel.h"

#include "Rodezir/dialogs/DialogRegistry.h"
#include "Rodezir/dialogs/DialogTable.h"
#include "app/graphs/ToolBar.h"
#include "app/sessions/SessionManager.h"
#include "app/sessions/SessionPanel.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"
#include "app/shell/SaveSessionDialog.h"
#include "app/shell/ToolTipAnswer.h"
#include "app/shell/idMap.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace sessiontest;
using Answer = SessionWindows::SaveAnswer;
using Panel = SessionWindows::Panel;

namespace {

class SessionPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        registerPanelTemplate();
        SessionWindowSet::install();
        for (const Panel kind : {Panel::Graph, Panel::Debrief})
            SessionWindowSet::setPanelFactory(kind, [this, kind](Session& session) -> std::unique_ptr<SessionPanel> {
                ++made[static_cast<int>(kind)];
                return std::make_unique<CountingPanel>(session, kind == Panel::Debrief ? L"Breathe twice" : L"");
            });
        SessionWindowSet::setSaveQuestion([this](QWidget*, const std::wstring& title, bool) {
            asked.push_back(title);
            const Answer answer = answers.empty() ? Answer::Cancel : answers.front();
            if (!answers.empty())
                answers.erase(answers.begin());
            return answer;
        });
        SessionWindowSet::setEndSound([this] { ++endSounds; });
        host.resize(640, 400);
    }
    void TearDown() override { uninstallSessionWindows(); }

    // A live session in the manager, shown in the host window.
    Session* shown(LinkLog& log)
    {
        auto made = liveSession(log, liveRecord());
        Session* session = made.release();
        manager.addSession(session);
        session->createSessionView()->create(&host);
        session->getSessionView()->setGeometry(host.rect());
        host.show();
        return session;
    }
    static CountingPanel* panelOf(Session& session, Panel kind)
    {
        return static_cast<CountingPanel*>(session.windows().panel(kind, false));
    }

    QWidget host;
    SessionManager manager{false};
    platform::RecordingMessageAsker messages;
    platform::ScopedMessageAsker messageScope{messages};
    int made[3] = {0, 0, 0};
    std::vector<Answer> answers;
    std::vector<std::wstring> asked;
    int endSounds = 0;
    LinkLog link;
};

} // namespace

TEST_F(SessionPanelTest, escapeAsksTheCloseQuestionCancelKeepsThePanelAndNoClosesTheSession)
{
    Session* session = shown(link);
    QPointer<SessionPanel> panel = session->getSessionGraphView();
    ASSERT_TRUE(panel && panel->isVisible());

    QTest::keyClick(panel, Qt::Key_Escape);
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"Kova Man USB 5"}));
    EXPECT_TRUE(panel && panel->isVisible());
    EXPECT_TRUE(manager.contains(session));

    answers = {Answer::No};
    session->start();
    qobject_cast<QAbstractButton*>(panel->getDlgItem(kova::IDCANCEL))->click();
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(manager.contains(session));
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(panel);
    manager.tick();
    EXPECT_TRUE(link.destroyed);
}

TEST_F(SessionPanelTest, enterClosesNothing)
{
    Session* session = shown(link);
    SessionPanel* panel = session->getSessionGraphView();
    QTest::keyClick(panel, Qt::Key_Return);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(manager.contains(session));
}

TEST_F(SessionPanelTest, aStoredSessionsPanelClosesWithoutAQuestion)
{
    SessionRecord record;
    record.Manikin = 0xFFFFFFFFL;
    record.InterfaceFrequency = 20.0;
    auto* stored = new Session(record, AlgorithmRecord{});
    manager.addSession(stored);
    stored->createSessionView()->create(&host);
    QTest::keyClick(stored->getSessionGraphView(), Qt::Key_Escape);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(manager.getSessionCount(), 0);
}

TEST_F(SessionPanelTest, theViewShowsOnePanelAtATimeAndSizesOnlyTheOneShown)
{
    Session* session = shown(link);
    SessionView* view = session->getSessionView();
    CountingPanel* graph = panelOf(*session, Panel::Graph);
    EXPECT_EQ(graph->geometry(), view->rect());

    session->setState(Session::DEBRIEF);
    CountingPanel* debrief = panelOf(*session, Panel::Debrief);
    EXPECT_FALSE(graph->isVisible());
    EXPECT_TRUE(debrief->isVisible());
    EXPECT_EQ(view->currentPanel(), debrief);

    view->resize(500, 300);
    EXPECT_EQ(debrief->size(), QSize(500, 300));
    EXPECT_EQ(graph->size(), QSize(640, 400));

    session->setState(Session::COLLECT);
    EXPECT_EQ(panelOf(*session, Panel::Graph), graph);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_EQ(graph->size(), QSize(500, 300));
    EXPECT_EQ(made[0], 1);
    EXPECT_EQ(made[1], 1);
}

TEST_F(SessionPanelTest, panelsHearOfNewSamplesAndOfTheSessionsState)
{
    Session* session = shown(link);
    CountingPanel* graph = panelOf(*session, Panel::Graph);
    session->start();
    EXPECT_EQ(graph->buttonUpdates, 1);
    for (int i = 0; i < 3; ++i)
        session->onTimer();
    EXPECT_EQ(graph->indexes, (std::vector<int>{1, 2}));
    session->setState(Session::DEBRIEF);
    EXPECT_EQ(session->getRecommendationBoxText(), "Breathe twice");
}

TEST_F(SessionPanelTest, tooltipsComeFromTheTableAndAControlWithoutTextHasNone)
{
    idMap::clear();
    idMap::insert(IDC_NOTE, L"The curves of the session");
    Session* session = shown(link);
    SessionPanel* panel = session->getSessionGraphView();
    EXPECT_EQ(ToolTipAnswer::toolTipFor(panel->getDlgItem(IDC_NOTE)), "The curves of the session");
    EXPECT_EQ(ToolTipAnswer::toolTipFor(panel->getDlgItem(IDC_UNLISTED)), "");
    idMap::clear();
}

TEST_F(SessionPanelTest, theEventToolbarHoldsTheScenariosButtons)
{
    Session* session = shown(link);
    ASSERT_NE(session->getToolBar(), nullptr);
    EXPECT_EQ(session->getToolBar()->getButtonCount(), static_cast<int>(session->getEventButtons().size()));
}

TEST_F(SessionPanelTest, theEndSoundPlaysWhenTheSessionEnds)
{
    LinkLog log;
    auto session = liveSession(log, liveRecord(1));
    session->start();
    for (int i = 0; i < 30; ++i)
        session->onTimer();
    EXPECT_TRUE(session->getEnded());
    EXPECT_EQ(endSounds, 1);
}

TEST_F(SessionPanelTest, theRealQuestionIsTheSaveSessionDialog)
{
    SessionWindowSet::setSaveQuestion({});
    Session* session = shown(link);
    session->setState(Session::DEBRIEF);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<SaveSessionDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->getDlgItem(SaveSessionDialog::IDC_REVIEW)->isEnabled());
        qobject_cast<QAbstractButton*>(dialog->getDlgItem(SaveSessionDialog::IDC_NO))->click();
    });
    EXPECT_TRUE(session->close());
}
