// The session manager over sessions on links of the test's own: the tick and
// what a step may do under it, starting and pausing all, the close question
// put to each session, the counts, and the end of every session.

#include "SessionTestKit.h"

#include "app/sessions/SessionManager.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

using namespace sessiontest;
using Answer = SessionWindows::SaveAnswer;

namespace {

class SessionManagerTest : public testing::Test {
protected:
    // A session with its view, listed in the manager; not collecting.
    Session* add(LinkLog& log, long duration = 600)
    {
        auto session = liveSession(log, liveRecord(duration));
        session->createSessionView();
        Session* listed = session.release();
        manager.addSession(listed);
        return listed;
    }

    ScopedFakeWindows windows;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    // Before the manager: the sessions it still lists at the end go with it, links and all.
    LinkLog a, b, c, d;
    SessionManager manager{true};
};

struct ChangeCounter : SlotHolder {
    int changes = 0;
    void changed() { ++changes; }
};

} // namespace

TEST_F(SessionManagerTest, isTheStationsManagerAndHoldsTheDisplaySwitches)
{
    EXPECT_EQ(SessionManager::instance(), &manager);
    EXPECT_TRUE(manager.toggles().showCardiacOutput());
    EXPECT_TRUE(manager.toggles().showEvents());
    SessionManager other(false);
    EXPECT_EQ(SessionManager::instance(), &other);
    EXPECT_FALSE(other.toggles().showCardiacOutput());
}

TEST_F(SessionManagerTest, startAllSkipsSessionsInTheDebriefingOrReviewAndThoseThatEnded)
{
    Session* collecting = add(a);
    Session* debriefing = add(b);
    debriefing->setState(Session::DEBRIEF);
    Session* reviewing = add(c);
    reviewing->setState(Session::DEBRIEF);
    reviewing->setState(Session::REVIEW);
    Session* ended = add(d, 1);
    ended->start();
    for (int i = 0; i < 60; ++i)
        ended->onTimer();
    ASSERT_TRUE(ended->getEnded());
    ended->setState(Session::COLLECT);

    manager.startAll();
    EXPECT_TRUE(collecting->isRunning());
    EXPECT_FALSE(debriefing->isRunning());
    EXPECT_FALSE(reviewing->isRunning());
    EXPECT_FALSE(ended->isRunning());
    EXPECT_EQ(manager.getSessionCount(), 4);
    EXPECT_EQ(manager.getRunningCount(), 1);

    debriefing->start();
    manager.pauseAll();
    EXPECT_EQ(manager.getRunningCount(), 0);
}

TEST_F(SessionManagerTest, mayCloseAsksInListOrderAndStopsAtTheFirstRefusal)
{
    Session* first = add(a);
    Session* second = add(b);
    Session* third = add(c);
    windows.of(*first).answers = {Answer::No};
    windows.of(*second).answers = {Answer::Cancel};
    windows.of(*third).answers = {Answer::No};
    EXPECT_FALSE(manager.mayClose());
    EXPECT_EQ(windows.of(*first).asked.size(), 1u);
    EXPECT_EQ(windows.of(*second).asked.size(), 1u);
    EXPECT_TRUE(windows.of(*third).asked.empty());

    SessionManager empty(false);
    EXPECT_TRUE(empty.mayClose());
}

TEST_F(SessionManagerTest, aSessionLeavesTheListWhenItsViewsCloseAndIsDeletedOnceTheManagerIsIdle)
{
    ChangeCounter counter;
    connect(manager.sessionsChanged, counter, &ChangeCounter::changed);
    Session* first = add(a);
    add(b);
    EXPECT_EQ(counter.changes, 2);

    first->destroyViews();
    EXPECT_EQ(counter.changes, 3);
    EXPECT_EQ(manager.getSessionCount(), 1);
    EXPECT_FALSE(manager.contains(first));
    // Deleted at the next tick: the closing panel may still be in its handler.
    EXPECT_FALSE(a.destroyed);
    manager.tick();
    EXPECT_TRUE(a.destroyed);
    EXPECT_FALSE(b.destroyed);
}

TEST_F(SessionManagerTest, underOneSessionsBoxTheOthersKeepTheirPaceAndEndOnTime)
{
    Session* asking = add(a);
    Session* timed = add(b, 3);
    Session* closed = add(c);
    manager.startAll();
    manager.tick();
    manager.tick();
    ASSERT_EQ(timed->getLastPublishedIndex(), 1);

    // The lost-link box of the first session stays up over 200 ticks of the
    // timer, and the instructor closes a third session's window meanwhile.
    struct BoxAsker final : platform::MessageAsker {
        SessionManager* manager = nullptr;
        Session* asking = nullptr;
        LinkLog* askingLink = nullptr;
        Session* closed = nullptr;
        LinkLog* closedLink = nullptr;
        int asked = 0;
        int batteryUnderTheBox = -1;
        bool deletedUnderTheBox = true;
        int ask(const std::wstring&, const std::wstring&, unsigned) override
        {
            ++asked;
            askingLink->batteryLevel = 1;
            for (int tick = 0; tick < 200; ++tick)
                manager->tick();
            // The session whose step holds the box was not stepped again.
            batteryUnderTheBox = asking->getBatteryLevel();
            closed->destroyViews();
            deletedUnderTheBox = closedLink->destroyed;
            return platform::IDCANCEL;
        }
    } box;
    box.manager = &manager;
    box.asking = asking;
    box.askingLink = &a;
    box.closed = closed;
    box.closedLink = &c;
    platform::ScopedMessageAsker scope(box);
    a.port.alive = false;

    manager.tick();
    EXPECT_EQ(box.asked, 1);
    EXPECT_EQ(box.batteryUnderTheBox, 3);
    // The timed session ran at its own pace under the box and ended at its
    // limit with the samples its three seconds give at 20 a second.
    EXPECT_TRUE(timed->getEnded());
    EXPECT_FALSE(timed->isRunning());
    EXPECT_EQ(timed->getLastPublishedIndex(), 60);
    EXPECT_EQ(timed->getCommSession().manData.size(), 61u);
    // The closed session goes only once the outermost tick is over.
    EXPECT_FALSE(box.deletedUnderTheBox);
    EXPECT_TRUE(c.destroyed);
    EXPECT_EQ(manager.sessions(), (std::vector<Session*>{asking, timed}));
}

TEST_F(SessionManagerTest, theManagerEndsEverySessionItStillHolds)
{
    {
        SessionManager closing(false);
        for (LinkLog* log : {&a, &b, &c}) {
            auto session = liveSession(*log, liveRecord());
            session->createSessionView();
            closing.addSession(session.release());
        }
        manager.addSession(nullptr);
    }
    EXPECT_TRUE(a.destroyed);
    EXPECT_TRUE(b.destroyed);
    EXPECT_TRUE(c.destroyed);
}
