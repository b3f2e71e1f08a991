// A live session on a link of the test's own: the step with its time limit,
// the lost link and its question, the save question's answers, the states,
// the metronome, and the end of the session's windows.

#include "SessionTestKit.h"

#include "Database/RecordTime.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "app/sessions/UpdateReceiver.h"
#include "comm/reader/FrameParser.h"
#include "config/Configuration.h"
#include "config/PropertyModel.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace sessiontest;
using Answer = SessionWindows::SaveAnswer;
using Panel = SessionWindows::Panel;

namespace {

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }

struct IndexRecorder final : UpdateReceiver {
    explicit IndexRecorder(Session& session) : session(session) {}
    void update(int newIndex) override
    {
        indexes.push_back(newIndex);
        endedWhenTold.push_back(session.hasEnded());
    }
    Session& session;
    std::vector<int> indexes;
    std::vector<bool> endedWhenTold;
};

class SessionStepTest : public testing::Test {
protected:
    SessionStepTest()
    {
        std::tm at{};
        at.tm_year = 2024 - 1900;
        at.tm_mon = 10;
        at.tm_mday = 5;
        at.tm_hour = 10;
        at.tm_min = 42;
        RecordTime::setNow([at] { return at; });
    }
    ~SessionStepTest() override { RecordTime::setNow({}); }

    // A live session with its view, collecting.
    std::unique_ptr<Session> running(const SessionRecord& record, int readerLinkType = 1)
    {
        auto session = liveSession(link, record, readerLinkType);
        session->createSessionView();
        session->start();
        return session;
    }
    // Steps until the session has published `index`.
    static void stepTo(Session& session, int index)
    {
        for (int guard = 0; session.getLastPublishedIndex() < index && guard < index + 10; ++guard)
            session.onTimer();
    }

    ScopedFakeWindows windows;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    LinkLog link;
};

} // namespace

TEST(SessionTimeLimit, endsAtTheFirstSampleBeyondTheDurationInSixtyFourBits)
{
    struct Case {
        long seconds;
        int index;
        double rate;
        bool past;
    };
    const Case cases[] = {
        {30, 599, 20.0, false},  {30, 600, 20.0, true},     {30, 1499, 50.0, false},
        {30, 1500, 50.0, true},  {120, 2399, 20.0, false},  {120, 2400, 20.0, true},
        {-1, 2000000000, 20.0, false},
        // A duration whose milliseconds do not fit 32 bits still ends on time.
        {5000000, 99999999, 20.0, false}, {5000000, 100000000, 20.0, true},
        // No rate yet: no time has passed.
        {30, 600, 0.0, false},
        // A rate far below any manikin's (an imported row may hold one) is an endless time, never a wrapped one.
        {30, 600, 1e-300, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Session::isPastDuration(c.seconds, c.index, c.rate), c.past)
            << c.seconds << " s, index " << c.index << " at " << c.rate;
    EXPECT_EQ(Session::sampleMilliseconds(600, 1e-300), Session::sampleMilliseconds(2000000000, 1e-300));
    EXPECT_GT(Session::sampleMilliseconds(600, 1e-300), 0);
}

TEST_F(SessionStepTest, aTimedSessionGoesOnThroughItsLastSampleAndEndsAtTheNext)
{
    struct Case {
        int readerLinkType;
        int lastGoingOn;
    };
    for (const Case c : {Case{1, 599}, Case{3, 1499}}) {
        LinkLog log;
        log.sendsEcg = true;
        auto session = liveSession(log, liveRecord(30), c.readerLinkType);
        session->createSessionView();
        session->start();
        IndexRecorder receiver(*session);
        session->addUpdateReceiver(receiver);

        stepTo(*session, c.lastGoingOn);
        EXPECT_EQ(session->getLastPublishedIndex(), c.lastGoingOn);
        EXPECT_FALSE(session->getEnded());
        EXPECT_TRUE(session->isRunning());
        EXPECT_EQ(session->getState(), Session::COLLECT);
        EXPECT_TRUE(log.commands.empty());

        session->onTimer();
        EXPECT_EQ(session->getLastPublishedIndex(), c.lastGoingOn + 1);
        EXPECT_TRUE(session->getEnded());
        EXPECT_FALSE(session->isRunning());
        EXPECT_EQ(session->getState(), Session::DEBRIEF);
        EXPECT_EQ(session->getRecord().EndTime, "10:42");
        EXPECT_EQ(windows.of(*session).endSounds, 1);
        EXPECT_EQ(windows.of(*session).shown.back(), Panel::Debrief);
        // The manikin stops; a manikin with a pulse gets it switched off.
        EXPECT_EQ(log.commands, (std::vector<std::pair<int, int>>{{24, 0}, {28, 0}}));
        EXPECT_FALSE(log.pulse);
        // The axis learns of the end with the index it ended at.
        ASSERT_FALSE(receiver.indexes.empty());
        EXPECT_EQ(receiver.indexes.back(), c.lastGoingOn + 1);
        EXPECT_TRUE(receiver.endedWhenTold.back());
        session->removeUpdateReceiver(receiver);
    }
}

TEST_F(SessionStepTest, anEndedSessionIsNotStartedAgainAndKeepsWhatItCollected)
{
    auto session = running(liveRecord(1));
    stepTo(*session, 21);
    ASSERT_TRUE(session->getEnded());
    ASSERT_EQ(session->getState(), Session::DEBRIEF);
    const int last = session->getLastPublishedIndex();
    const std::size_t collected = session->getCommSession().manData.size();

    // Back on the live graphs ("<< Graph"), a start changes nothing.
    session->setState(Session::COLLECT);
    session->start();
    EXPECT_FALSE(session->isRunning());
    for (int step = 0; step < 40; ++step)
        session->onTimer();
    EXPECT_EQ(session->getLastPublishedIndex(), last);
    EXPECT_EQ(session->getCommSession().manData.size(), collected);
    EXPECT_EQ(session->getElapsedSeconds(), 1u);
}

TEST_F(SessionStepTest, theEndSendsNoPulseCommandToAManikinWithoutEcgAndNoSoundWhenSwitchedOff)
{
    PropertyModel& settings = Configuration::instance().getPropertyModel();
    settings.playEndSound = false;
    auto session = running(liveRecord(1));
    stepTo(*session, 30);
    settings.playEndSound = true;
    EXPECT_TRUE(session->getEnded());
    EXPECT_EQ(link.commands, (std::vector<std::pair<int, int>>{{24, 0}}));
    EXPECT_EQ(windows.of(*session).endSounds, 0);
}

TEST_F(SessionStepTest, aSessionWithoutLimitNeverEndsAndOneWithoutWindowEndsAllTheSame)
{
    auto unlimited = running(liveRecord(-1));
    stepTo(*unlimited, 5000);
    EXPECT_FALSE(unlimited->getEnded());
    EXPECT_TRUE(unlimited->isRunning());

    LinkLog log;
    auto unseen = liveSession(log, liveRecord(2));
    unseen->start();
    stepTo(*unseen, 41);
    EXPECT_TRUE(unseen->getEnded());
    EXPECT_FALSE(unseen->isRunning());
    EXPECT_EQ(unseen->getState(), Session::INIT);
    EXPECT_EQ(log.commands.front(), (std::pair<int, int>{24, 0}));
}

TEST_F(SessionStepTest, receiversHearOnlyOfNewIndexesAndOfNoneBeforeTheSecondSample)
{
    auto session = running(liveRecord());
    IndexRecorder receiver(*session);
    session->addUpdateReceiver(receiver);
    session->onTimer(); // sample 0
    EXPECT_TRUE(receiver.indexes.empty());
    session->onTimer();
    session->onTimer();
    session->pause();
    session->onTimer(); // nothing new
    EXPECT_EQ(receiver.indexes, (std::vector<int>{1, 2}));
    EXPECT_EQ(windows.of(*session).newData, (std::vector<int>{1, 2}));
    session->removeUpdateReceiver(receiver);
}

TEST_F(SessionStepTest, eachDefibrillationMarkIsToldOnceAsItsSampleArrives)
{
    // Five samples a round, the fourth marked by the manikin.
    for (int i = 0; i < 5; ++i)
        link.port.recording.push_back(ManikinSample{0, 0, i == 3 ? FrameParser::STATUS_ERROR66 : 0, 0});
    auto session = running(liveRecord());
    for (int step = 0; step < 12; ++step)
        session->onTimer();
    session->pause();
    session->onTimer(); // nothing new
    EXPECT_EQ(windows.of(*session).rhythmChecks, (std::vector<int>{3, 8}));
}

TEST_F(SessionStepTest, aLostLinkAsksUntilItWorksAgainAndCancelStopsAskingUntilTheNextStart)
{
    auto session = running(liveRecord());
    stepTo(*session, 10);
    link.port.alive = false;
    link.reopenResult = SerialPort::OPEN_NO_ANSWER;
    asker.answers = {platform::IDRETRY, platform::IDRETRY, platform::IDCANCEL};

    session->onTimer();
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Kova Man USB 5");
    EXPECT_EQ(asker.asked[0].style, platform::MB_RETRYCANCEL | platform::MB_ICONERROR);
    EXPECT_NE(asker.asked[0].text.find(L"Error communicating with the Kova Man."), std::wstring::npos);
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(session->getRecord().EndTime, "10:42");
    EXPECT_EQ(link.releases, 1);
    EXPECT_EQ(link.reopens, 1);

    // The reopening failed: the next step asks again; Cancel ends the questions.
    session->onTimer();
    session->onTimer();
    session->onTimer();
    EXPECT_EQ(asker.asked.size(), 3u);
    EXPECT_EQ(link.reopens, 2);
    EXPECT_FALSE(session->isRunning());

    // Starting again asks again while the link is still lost; once it is back, Retry runs on.
    session->start();
    link.reopenResult = SerialPort::OPEN_SUCCESS;
    asker.answers = {platform::IDRETRY};
    const int battery = link.batteryRequests;
    session->onTimer();
    EXPECT_EQ(asker.asked.size(), 4u);
    EXPECT_TRUE(session->isRunning());
    EXPECT_TRUE(session->getModified());
    EXPECT_EQ(link.batteryRequests, battery + 1);
    const int before = session->getLastPublishedIndex();
    session->onTimer();
    EXPECT_GT(session->getLastPublishedIndex(), before);
}

TEST_F(SessionStepTest, retryReopensEvenWhenTheFarewellFailsAndAWirelessManikinGetsItsPulseBack)
{
    auto session = running(liveRecord(600, 4, 300));
    EXPECT_EQ(session->getTitle(), "Lobby manikin");
    link.pulse = true;
    link.port.alive = false;
    link.releaseResult = false;
    asker.answers = {platform::IDRETRY};
    session->onTimer();
    EXPECT_EQ(link.releases, 1);
    EXPECT_EQ(link.reopens, 1);
    EXPECT_TRUE(session->isRunning());
    EXPECT_EQ(link.commands, (std::vector<std::pair<int, int>>{{28, 1}}));
    EXPECT_EQ(windows.of(*session).rhythmResends, 1);
}

TEST_F(SessionStepTest, aStepUnderTheLinkQuestionAsksNoSecondQuestion)
{
    auto session = running(liveRecord());
    session->onTimer();
    link.port.alive = false;
    // The box is modal: the timer keeps stepping the session under it.
    struct SteppingAsker final : platform::MessageAsker {
        Session* session = nullptr;
        int asked = 0;
        int ask(const std::wstring&, const std::wstring&, unsigned) override
        {
            ++asked;
            session->onTimer();
            session->onTimer();
            return platform::IDCANCEL;
        }
    } stepping;
    stepping.session = session.get();
    platform::ScopedMessageAsker scope(stepping);
    session->onTimer();
    EXPECT_EQ(stepping.asked, 1);
}

TEST_F(SessionStepTest, titlesNameTheManikin)
{
    struct Case {
        int linkType;
        long port;
        std::string title;
    };
    for (const Case& c : {Case{3, 5, "Kova Man USB 5"}, Case{4, 300, "Lobby manikin"}, Case{1, 7, "Kova Man 7"},
                          Case{0, 250, "Kova Man 250"}}) {
        LinkLog log;
        auto session = liveSession(log, liveRecord(600, c.linkType, c.port));
        EXPECT_EQ(session->getTitle(), c.title);
    }
}

TEST_F(SessionStepTest, theSaveQuestionsAnswers)
{
    struct Case {
        const char* name;
        bool debriefFirst;
        Answer answer;
        bool storeWorks;
        bool mayClose;
        int state;
        bool reviewOffered;
    };
    const Case cases[] = {
        {"cancel", false, Answer::Cancel, true, false, Session::COLLECT, false},
        {"no", false, Answer::No, true, true, Session::COLLECT, false},
        {"review", true, Answer::Review, true, false, Session::REVIEW, true},
        {"yes", false, Answer::Yes, true, true, Session::REVIEW, false},
        {"yes, storing fails", true, Answer::Yes, false, false, Session::REVIEW, true},
    };
    for (const Case& c : cases) {
        LinkLog log;
        auto session = liveSession(log, liveRecord());
        session->createSessionView();
        session->start();
        session->onTimer();
        if (c.debriefFirst)
            session->setState(Session::DEBRIEF);
        WindowsLog& w = windows.of(*session);
        w.storeResult = c.storeWorks;
        w.answers = {c.answer};

        EXPECT_EQ(session->close(), c.mayClose) << c.name;
        EXPECT_EQ(session->getState(), c.state) << c.name;
        ASSERT_EQ(w.asked.size(), 1u) << c.name;
        EXPECT_EQ(w.asked[0], (std::pair<std::wstring, bool>{L"Kova Man USB 5", c.reviewOffered})) << c.name;
        EXPECT_EQ(session->isRunning(), c.answer == Answer::Cancel) << c.name;
        EXPECT_EQ(session->getRecord().EndTime, c.answer == Answer::Cancel ? "" : "10:42") << c.name;
        EXPECT_EQ(w.stores, c.answer == Answer::Yes ? 1 : 0) << c.name;
        if (c.state == Session::REVIEW) {
            EXPECT_EQ(w.shown.back(), Panel::Review) << c.name;
        }
    }
}

TEST_F(SessionStepTest, yesFromTheLiveGraphsGoesThroughTheDebriefingToTheReview)
{
    auto session = running(liveRecord());
    windows.of(*session).answers = {Answer::Yes};
    EXPECT_TRUE(session->close());
    EXPECT_EQ(windows.of(*session).shown, (std::vector<Panel>{Panel::Graph, Panel::Debrief, Panel::Review}));
    EXPECT_EQ(windows.of(*session).ecgHides, 1);
}

TEST_F(SessionStepTest, statesShowTheirPanelsAndOnlyTheReviewKeepsTheReviewPanel)
{
    auto session = running(liveRecord());
    WindowsLog& w = windows.of(*session);
    session->setState(Session::DEBRIEF);
    session->setState(Session::REVIEW);
    session->setState(Session::DEBRIEF);
    EXPECT_EQ(w.destroyed, (std::vector<Panel>{Panel::Review}));
    session->setState(Session::COLLECT);
    session->setState(Session::REVIEW);
    EXPECT_NE(errorLog().find("newState==REVIEW"), std::string::npos);
    session->setState(7);
    EXPECT_EQ(session->getState(), Session::REVIEW);
    EXPECT_EQ(w.shown, (std::vector<Panel>{Panel::Graph, Panel::Debrief, Panel::Review, Panel::Debrief, Panel::Graph,
                                          Panel::Review}));
    // A second view is never made.
    EXPECT_EQ(session->createSessionView(), session->getSessionView());
    EXPECT_NE(errorLog().find("state_==INIT"), std::string::npos);
}

TEST_F(SessionStepTest, everyMetronomeBeatMarksTheRecordAndTicksTheReviewBox)
{
    Signal<> beat;
    Session::setMetronomeSignal(&beat);
    auto session = running(liveRecord());
    Session::setMetronomeSignal(nullptr);
    EXPECT_FALSE(session->getRecord().Metronome);
    beat.notify();
    EXPECT_TRUE(session->getRecord().Metronome);
    EXPECT_EQ(windows.of(*session).metronomeTicks, 0);
    session->setState(Session::DEBRIEF);
    session->setState(Session::REVIEW);
    beat.notify();
    EXPECT_EQ(windows.of(*session).metronomeTicks, 1);
}

TEST_F(SessionStepTest, destroyingTheViewsTellsBeforeAndAfterTheWindowsGo)
{
    auto session = running(liveRecord());
    struct Listener : SlotHolder {
        WindowsLog* log = nullptr;
        std::vector<std::string> heard;
        void closing(Session*) { heard.push_back(log->allDestroyed ? "closing after" : "closing"); }
        void destroyed(Session*) { heard.push_back(log->allDestroyed ? "destroyed" : "destroyed before"); }
    } listener;
    listener.log = &windows.of(*session);
    connect(session->viewsClosing, listener, &Listener::closing);
    connect(session->viewsDestroyed, listener, &Listener::destroyed);
    session->destroyViews();
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"closing", "destroyed"}));
}

TEST_F(SessionStepTest, elapsedSecondsFollowTheSamplesAndTheLinkGoesWithTheSession)
{
    auto session = running(liveRecord());
    stepTo(*session, 599);
    EXPECT_EQ(session->getElapsedSeconds(), 30u);
    EXPECT_EQ(session->onTimer(), 3);
    session.reset();
    EXPECT_TRUE(link.destroyed);
}
