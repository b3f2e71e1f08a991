#include "SessionTestSupport.h"

#include "FakeReaderPort.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "comm/reader/ManikinReader.h"

#include <gtest/gtest.h>

using namespace sessiontest;

namespace {

TEST(CommSessionPipeline, emptyQueueChangesNothing)
{
    PushSource source;
    CommSession session;
    session.attach(source);
    session.processNewSamples();
    EXPECT_TRUE(session.manData.empty());
    EXPECT_TRUE(session.rawHistory.empty());
}

TEST(CommSessionPipeline, restSamplesOfFourZerosKeepTheirPlaceInTime)
{
    PushSource source;
    CommSession session;
    session.attach(source);
    for (int i = 0; i < 5; ++i)
        source.push(ManikinSample{0, 0, 0, 0});
    source.push(ManikinSample{30, 0, 0, 7});
    source.push(ManikinSample{0, 0, 0, 0});

    session.processNewSamples();

    ASSERT_EQ(session.manData.size(), 7u);
    EXPECT_EQ(session.manData[5].ecg, 7);
    EXPECT_FALSE(source.hasSample());
}

TEST(CommSessionPipeline, realReaderRestPeriodsCountAsSamples)
{
    // A recorded manikin at rest: every tick queues one sample of four zeros.
    FakeReaderPort::State state;
    state.recorded = true;
    state.linkType = 0;
    state.recording = {ManikinSample{0, 0, 0, 0}, ManikinSample{0, 0, 0, 0}, ManikinSample{40, 0, 0, 0}};
    ManikinReader reader(std::make_unique<FakeReaderPort>(state));
    reader.start();
    CommSession session;
    session.attach(reader);
    EXPECT_EQ(session.sampleRate, 20.0);

    for (int tick = 0; tick < 9; ++tick) {
        ASSERT_TRUE(reader.update());
        session.processNewSamples();
    }

    ASSERT_EQ(session.manData.size(), 9u);
    EXPECT_EQ(session.manData[0].depth, 0.0);
    EXPECT_EQ(session.manData[1].depth, 0.0);
    EXPECT_GT(session.manData[8].depth, 0.0);
}

TEST(CommSessionPipeline, sampleRateFollowsLinkTypeThenTheReader)
{
    const struct {
        int linkType;
        double rate;
    } cases[] = {{0, 20.0}, {1, 20.0}, {3, 50.0}, {4, 50.0}, {5, 20.0}};
    for (const auto& c : cases) {
        PushSource source(c.linkType, 47.5);
        CommSession session;
        session.attach(source);
        EXPECT_EQ(session.sampleRate, c.rate) << "link type " << c.linkType;
        source.push(ManikinSample{0, 0, 0, 0});
        session.processNewSamples();
        EXPECT_EQ(session.sampleRate, 47.5);
        EXPECT_EQ(session.compressionAnalyser().sampleRate(), 47.5);
    }
}

TEST(CommSessionPipeline, firstSamplesPassUntilTheKernelsAreFilled)
{
    PushSource source;
    CommSession session;
    session.attach(source);
    const int values[] = {100, 100, 100, 20, 20, 20, 20, 20};
    for (int v : values)
        source.push(ManikinSample{v, v, 0, 0});
    session.processNewSamples();

    ASSERT_EQ(session.manData.size(), 8u);
    // Compression: three samples pass, the fourth is averaged over 100, 100, 20.
    EXPECT_DOUBLE_EQ(session.manData[2].depth, source.millimetres(100));
    EXPECT_DOUBLE_EQ(session.manData[3].depth, source.millimetres(80));
    // Ventilation: six samples pass, the seventh is averaged without its own value.
    EXPECT_DOUBLE_EQ(session.manData[5].volume, source.litres(20));
    // (2*100 + 5*100 + 10*20 + 5*20 + 2*20) / 24 = 43.3
    EXPECT_DOUBLE_EQ(session.manData[6].volume, source.litres(43));
}

TEST(CommSessionPipeline, offsetsApplyBeforeFiltering)
{
    PushSource source;
    source.compressionOffset = 10;
    source.ventilationOffset = 20;
    CommSession session;
    session.attach(source);
    source.push(ManikinSample{17, 50, 0, 0});
    source.push(ManikinSample{40, 27, 0, 0});
    session.processNewSamples();
    EXPECT_EQ(session.rawHistory[0], (ManikinSample{0, 30, 0, 0}));
    EXPECT_EQ(session.rawHistory[1], (ManikinSample{30, 0, 0, 0}));
}

TEST(CommSessionPipeline, historiesStayBounded)
{
    PushSource source;
    CommSession session;
    session.attach(source);
    for (int i = 0; i < 40; ++i)
        source.push(ManikinSample{i % 7 * 10, i % 5 * 10, 0, 0});
    session.processNewSamples();
    EXPECT_EQ(session.manData.size(), 40u);
    EXPECT_EQ(session.rawHistory.size(), 11u);
    EXPECT_EQ(session.repairedHistory.size(), 11u);
    EXPECT_EQ(session.filteredHistory.size(), 12u);
    EXPECT_EQ(session.rawHistory.back(), (ManikinSample{39 % 7 * 10, 39 % 5 * 10, 0, 0}));
}

TEST(CommSessionPipeline, slopeRepairReachesTheMeasurements)
{
    // A single lost ventilation reading inside a breath is bridged; the
    // compression channel, which never repairs gaps, keeps its zero.
    PushSource source;
    CommSession session;
    session.attach(source);
    for (int v : {10, 80, 50, 0, 60})
        source.push(ManikinSample{v, v, 0, 0});
    session.processNewSamples();
    EXPECT_EQ(session.repairedHistory[3].ventilation, 55);
    EXPECT_EQ(session.repairedHistory[3].compression, 0);
}

TEST(CommSessionPipeline, attachStartsFromEmptyData)
{
    PushSource source;
    CommSession session;
    session.attach(source);
    compressionAt(session, 5);
    compressionAt(session, 15);
    ASSERT_FALSE(session.compressionSeries().empty());
    session.attach(source);
    EXPECT_TRUE(session.manData.empty());
    EXPECT_TRUE(session.compressionSeries().empty());
    EXPECT_FALSE(session.isStoredSession());
}

TEST(CommSessionMarks, marksSetTheFlagAndTellListeners)
{
    CommSession session;
    IndexListener compressions;
    IndexListener ventilations;
    connect(session.compressionMarked, compressions, &IndexListener::onIndex);
    connect(session.ventilationMarked, ventilations, &IndexListener::onIndex);
    restUntil(session, 3);

    session.markCompression(1);
    session.markVentilation(2);

    EXPECT_EQ(session.manData[1].compressionMark, 1);
    EXPECT_EQ(session.manData[2].ventilationMark, 1);
    EXPECT_EQ(compressions.indexes, std::vector<int>{1});
    EXPECT_EQ(ventilations.indexes, std::vector<int>{2});
}

TEST(CommSessionMarks, markBeyondTheDataIsLoggedAndIgnored)
{
    CommSession session;
    IndexListener listener;
    connect(session.compressionMarked, listener, &IndexListener::onIndex);
    restUntil(session, 3);

    session.markCompression(3);

    EXPECT_TRUE(listener.indexes.empty());
    for (const Measurement& m : session.manData)
        EXPECT_EQ(m.compressionMark, 0);
    const std::string log = kovatest::readFile(LogStream::instance().path());
    EXPECT_NE(log.find("Assert failed in "), std::string::npos);
    EXPECT_NE(log.find("manData.size()"), std::string::npos);
}

TEST(CommSessionMarks, listenersAreDisconnectedWhenTheSessionGoes)
{
    IndexListener listener;
    {
        CommSession session;
        connect(session.compressionMarked, listener, &IndexListener::onIndex);
        EXPECT_FALSE(listener.slotConnections().empty());
    }
    EXPECT_TRUE(listener.slotConnections().empty());
}

} // namespace
