#include "FakeReaderPort.h"
#include "FrameBytes.h"
#include "comm/reader/ManikinReader.h"
#include "comm/reader/Measurement.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <memory>

using namespace framebytes;

namespace {

class ManikinReaderTest : public testing::Test {
protected:
    std::unique_ptr<ManikinReader> makeReader()
    {
        auto port = std::make_unique<FakeReaderPort>(state);
        fake = port.get();
        return std::make_unique<ManikinReader>(std::move(port));
    }

    // A reader on an open framed COM link that already has both values.
    std::unique_ptr<ManikinReader> runningFramedReader()
    {
        state.streamAnswer = com(26, {0, 0, 0});
        auto reader = makeReader();
        EXPECT_EQ(reader->open(5), 10);
        state.streamAnswer.clear();
        reader->start();
        while (reader->hasSample())
            reader->popSample();
        return reader;
    }

    platform::ManualClock clock;
    platform::ScopedClock scopedClock{clock};
    FakeReaderPort::State state;
    FakeReaderPort* fake = nullptr;
};

} // namespace

TEST_F(ManikinReaderTest, openWaitsForBothValuesOfAFramedManikin)
{
    // A manikin that answers every data request with its ventilation only.
    state.streamAnswer = com(2, {7});
    auto silent = makeReader();
    EXPECT_EQ(silent->open(5), 6);
    EXPECT_EQ(state.streamRequests, 100);

    state.streamRequests = 0;
    state.streamAnswer = com(26, {3, 4, 0});
    auto reader = makeReader();
    EXPECT_EQ(reader->open(5), 10);
    EXPECT_EQ(state.streamRequests, 1);
    EXPECT_EQ(reader->currentSample(), (ManikinSample{4, 3, 0, 0}));
}

TEST_F(ManikinReaderTest, openPassesOnLinkFailuresAndRecordedPorts)
{
    state.openResult = 7;
    auto reader = makeReader();
    EXPECT_EQ(reader->open(3), 7);
    EXPECT_EQ(state.streamRequests, 0);

    state.openResult = 10;
    state.recorded = true;
    EXPECT_EQ(reader->open(250), 10);
    EXPECT_EQ(state.streamRequests, 0);
}

TEST_F(ManikinReaderTest, wirelessSlotsOpenOverTcp)
{
    state.linkTypeAfterOpen = 4;
    state.streamAnswer = wireless(26, {3, 4, 40});
    auto reader = makeReader();
    EXPECT_EQ(reader->open(300), 10);
    EXPECT_EQ(state.wirelessOpens, 1);
    EXPECT_EQ(state.opens, 0);

    // -1 opens the link's own slot.
    state.portNumber = 301;
    auto again = makeReader();
    EXPECT_EQ(again->open(-1), 10);
    EXPECT_EQ(state.wirelessOpens, 2);
}

TEST_F(ManikinReaderTest, openFindsTheRecordsOfAnUnframedManikin)
{
    state.linkTypeAfterOpen = 1;
    state.linkType = 1;
    auto reader = makeReader();
    fake->arrive(join({Bytes{0x33, 0x0D}, record(0x0C, 5, 40)}));
    EXPECT_EQ(reader->open(5), 10);
    EXPECT_EQ(state.readData.size(), 4u) << "the record itself stays for the first tick";

    state.readData.clear();
    fake->arrive({0x0C, 1});
    const std::uint64_t slept = clock.sleptTotal();
    EXPECT_EQ(reader->open(5), 6);
    EXPECT_EQ(clock.sleptTotal() - slept, 100u * 25u);
}

TEST_F(ManikinReaderTest, unframedRecordsAreReadEveryTick)
{
    state.linkTypeAfterOpen = 1;
    state.linkType = 1;
    auto reader = makeReader();
    fake->arrive(record(0x0C, 5, 40));
    ASSERT_EQ(reader->open(5), 10);
    reader->start(); // discards what came before the session
    fake->arrive(join({Bytes{0x55}, record(0x0C, 5, 40), record(0xCC, 6, 41), Bytes{0x0C}}));
    EXPECT_TRUE(reader->update());
    EXPECT_EQ(reader->popSample(), (ManikinSample{40, 5, 0x0C, 0}));
    EXPECT_EQ(reader->popSample(), (ManikinSample{41, 6, 0xCC, 0}));
    EXPECT_FALSE(reader->hasSample());
    EXPECT_EQ(reader->popSample(), ManikinSample{}) << "an empty queue gives four zeros";
}

TEST_F(ManikinReaderTest, framesAreReadOnlyWhileRunning)
{
    auto reader = runningFramedReader();
    reader->stop();
    while (reader->hasSample())
        reader->popSample();
    fake->arrive(com(26, {1, 2, 3}));
    EXPECT_TRUE(reader->update());
    EXPECT_FALSE(reader->hasSample());
    EXPECT_TRUE(state.readData.empty()) << "input while stopped is discarded";

    reader->start();
    fake->arrive(join({com(26, {1, 2, 3}), com(21, {3})}));
    EXPECT_TRUE(reader->update());
    EXPECT_EQ(reader->queuedSamples(), 1u);
    EXPECT_EQ(reader->popSample(), (ManikinSample{2, 1, 0, 3}));
    EXPECT_EQ(state.batteryLevel, 3);
}

TEST_F(ManikinReaderTest, stopReadsWhatArrivedLast)
{
    auto reader = runningFramedReader();
    fake->arrive(com(26, {1, 2, 3}));
    reader->stop();
    EXPECT_EQ(reader->popSample(), (ManikinSample{2, 1, 0, 3}));
    EXPECT_FALSE(reader->isRunning());
}

TEST_F(ManikinReaderTest, startNeedsAConnectedLink)
{
    state.connected = false;
    auto reader = makeReader();
    reader->start();
    EXPECT_FALSE(reader->isRunning());
}

TEST_F(ManikinReaderTest, measuredRateReplacesTheNominalOneAfter50Samples)
{
    auto reader = runningFramedReader();
    EXPECT_DOUBLE_EQ(reader->currentRate(), 50.0);
    reader->restartTimers();
    // 40 samples per second: two frames every 50 ms.
    for (int tick = 0; tick < 30; ++tick) {
        clock.advance(50);
        fake->arrive(join({com(1, {1}), com(1, {2})}));
        reader->update();
        if (tick < 24) {
            EXPECT_DOUBLE_EQ(reader->currentRate(), 50.0) << "tick " << tick;
        }
    }
    EXPECT_DOUBLE_EQ(reader->currentRate(), 60 * 1000.0 / 1500.0);

    // Paused time does not count, nor a last read that found nothing.
    reader->stop();
    clock.advance(10000);
    reader->start();
    clock.advance(50);
    fake->arrive(join({com(1, {1}), com(1, {2})}));
    reader->update();
    EXPECT_DOUBLE_EQ(reader->currentRate(), 62 * 1000.0 / 1550.0);
}

TEST_F(ManikinReaderTest, aReaderOpenedAgainStartsAfreshAndAsksForTheStreams)
{
    auto reader = runningFramedReader();
    reader->restartTimers();
    // 40 samples a second until the link is lost.
    for (int tick = 0; tick < 30; ++tick) {
        clock.advance(50);
        fake->arrive(join({com(26, {1, 2, 3}), com(26, {1, 2, 3})}));
        reader->update();
    }
    ASSERT_DOUBLE_EQ(reader->currentRate(), 40.0);
    reader->stop();
    while (reader->hasSample())
        reader->popSample();
    const int requests = state.streamRequests;

    // A manikin back on the link that sends nothing: the values held from
    // before are no data of it.
    EXPECT_EQ(reader->open(5), 6);
    EXPECT_EQ(state.streamRequests, requests + 100);
    EXPECT_FALSE(reader->hasSample());

    // One that streams when asked: its samples alone are queued, and the
    // rate is theirs, 50 a second, not a mixture with the old one.
    state.streamAnswer = com(26, {7, 8, 9});
    EXPECT_EQ(reader->open(5), 10);
    state.streamAnswer.clear();
    EXPECT_DOUBLE_EQ(reader->currentRate(), 50.0);
    reader->start();
    for (int tick = 0; tick < 60; ++tick) {
        clock.advance(20);
        fake->arrive(com(26, {7, 8, static_cast<std::uint8_t>(tick)}));
        reader->update();
    }
    EXPECT_EQ(reader->queuedSamples(), 61u);
    EXPECT_EQ(reader->popSample(), (ManikinSample{8, 7, 0, 9}));
    EXPECT_EQ(reader->popSample(), (ManikinSample{8, 7, 0, 0}));
    EXPECT_DOUBLE_EQ(reader->currentRate(), 61 * 1000.0 / 1200.0);
}

TEST_F(ManikinReaderTest, silentNewerManikinIsLostAfter10SecondsOfCollecting)
{
    state.kindIs3or4 = true;
    auto reader = runningFramedReader();
    clock.advance(10000);
    EXPECT_TRUE(reader->update());
    clock.advance(1);
    EXPECT_FALSE(reader->update());
    EXPECT_EQ(state.linkType, 5);
    EXPECT_EQ(state.identifies, 0);

    // A pause is no silence: the ten seconds count from the start.
    state.linkType = 3;
    reader->stop();
    clock.advance(20000);
    reader->start();
    EXPECT_TRUE(reader->update());
    EXPECT_EQ(state.linkType, 3);
    clock.advance(10001);
    EXPECT_FALSE(reader->update());
}

TEST_F(ManikinReaderTest, silentOlderManikinIsIdentifiedAgainAStepATickAndAskedForItsStreams)
{
    auto reader = runningFramedReader();
    clock.advance(9000);
    fake->arrive(com(26, {1, 2, 3}));
    EXPECT_TRUE(reader->update()) << "a frame restarts the idle time";
    reader->popSample();
    clock.advance(9000);
    EXPECT_TRUE(reader->update());
    EXPECT_EQ(state.identifies, 0);
    EXPECT_FALSE(reader->hasSample()) << "silence gives no sample";

    // A handshake of three steps 275 ms apart: each runs on the first tick
    // after its wait, and no tick waits.
    const int requests = state.streamRequests;
    const int sleeps = clock.sleeps();
    state.identifyWaits = {275, 275};
    state.identifyResult = 8;
    clock.advance(1001);
    EXPECT_TRUE(reader->update());
    EXPECT_TRUE(reader->isIdentifyingAgain());
    EXPECT_EQ(state.identifySteps, 1);
    clock.advance(260);
    EXPECT_TRUE(reader->update());
    EXPECT_EQ(state.identifySteps, 1);
    clock.advance(20);
    EXPECT_TRUE(reader->update());
    EXPECT_EQ(state.identifySteps, 2);
    clock.advance(280);
    EXPECT_FALSE(reader->update()) << "not identified";
    EXPECT_EQ(state.identifySteps, 3);
    EXPECT_FALSE(reader->isIdentifyingAgain());
    EXPECT_EQ(state.streamRequests, requests);
    EXPECT_EQ(clock.sleeps(), sleeps);

    // Identified the next time: the streams are asked for again, and a new
    // stream starts from no value held before it.
    state.identifyWaits.clear();
    state.identifyResult = 10;
    clock.advance(10001);
    EXPECT_TRUE(reader->update());
    EXPECT_EQ(state.identifies, 2);
    EXPECT_EQ(state.streamRequests, requests + 1);
    EXPECT_TRUE(reader->isIdentifyingAgain());
    clock.advance(100);
    EXPECT_TRUE(reader->update());
    EXPECT_FALSE(reader->isIdentifyingAgain());
    EXPECT_EQ(reader->currentSample(), (ManikinSample{-1, -1, 0, 0}));
    EXPECT_EQ(state.linkType, 3);
    EXPECT_EQ(clock.sleeps(), sleeps);
    fake->arrive(com(2, {6}));
    clock.advance(20);
    reader->update();
    EXPECT_EQ(reader->popSample(), (ManikinSample{-1, 6, 0, 0}));
    EXPECT_FALSE(reader->hasSample());
}

TEST_F(ManikinReaderTest, offsetsBelowTheNoiseBecomeZero)
{
    state.compressionOffset = 20;
    state.ventilationOffset = 10;
    auto reader = makeReader();
    EXPECT_EQ(reader->applyOffsets({27, 17, 12, 5}), (ManikinSample{0, 0, 12, 5}));
    EXPECT_EQ(reader->applyOffsets({28, 18, 12, 5}), (ManikinSample{8, 8, 12, 5}));
    EXPECT_EQ(reader->applyOffsets({3, 2, 0, 0}), (ManikinSample{0, 0, 0, 0}));
}

struct ConversionCase {
    int linkType;
    bool kindIs3or4;
    bool recorded;
    double depthPerCount;
    double volumePerCount;
};

TEST_F(ManikinReaderTest, conversionFactorsOfEachLink)
{
    const std::vector<ConversionCase> cases{
        {3, false, false, 0.3184713375796178 * 1.25, 0.012195121951219513 * 0.6},
        {3, true, false, 0.29411764705882354 * 1.25, 0.013 * 0.6},
        {4, true, false, 0.29411764705882354 * 1.25, 0.013 * 0.6},
        {1, false, false, 0.24752475247524752 * 1.25, 0.008928571428571428 * 0.6},
        {0, false, true, 0.24752475247524752, 0.008928571428571428},
    };
    for (const ConversionCase& c : cases) {
        state.linkType = c.linkType;
        state.kindIs3or4 = c.kindIs3or4;
        state.recorded = c.recorded;
        auto reader = makeReader();
        const Measurement m = reader->convert({100, 50, 0, 7});
        EXPECT_DOUBLE_EQ(m.depth, 100 * c.depthPerCount) << "link " << c.linkType;
        EXPECT_DOUBLE_EQ(m.volume, 50 * c.volumePerCount) << "link " << c.linkType;
        EXPECT_EQ(m.ecg, 7);
    }
}

TEST_F(ManikinReaderTest, conversionSetsTheStatusFlags)
{
    struct Flags {
        int status;
        int stomach, hand, error66;
    };
    const std::vector<Flags> cases{
        {0, 0, 0, 0},   {12, 1, 0, 0},  {28, 1, 0, 0},  {140, 1, 1, 0}, {156, 1, 1, 0},
        {204, 0, 1, 0}, {220, 0, 1, 0}, {66, 0, 0, 1},  {76, 0, 0, 0},
    };
    auto reader = makeReader();
    for (const Flags& c : cases) {
        const Measurement m = reader->convert({10, 10, c.status, 0});
        EXPECT_EQ(m.stomachInflation, c.stomach) << c.status;
        EXPECT_EQ(m.wrongHandPosition, c.hand) << c.status;
        EXPECT_EQ(m.error66, c.error66) << c.status;
        EXPECT_EQ(m.compressionMark, 0);
        EXPECT_EQ(m.ventilationMark, 0);
    }
}

namespace {

Bytes restRecords(int count, int compression, int ventilation, int compressionJitter = 0, int ventilationJitter = 0)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
        const Bytes one = record(0x0C, static_cast<std::uint8_t>(ventilation + (i % 2) * ventilationJitter),
                                 static_cast<std::uint8_t>(compression + (i % 2) * compressionJitter));
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

} // namespace

TEST_F(ManikinReaderTest, calibrationOfAnUnframedManikin)
{
    struct Case {
        const char* name;
        Bytes rest;
        int status;
        int compressionOffset, ventilationOffset;
    };
    const std::vector<Case> cases{
        {"steady", restRecords(30, 20, 30, 1, 3), 6, 20, 31},
        {"tooFewBytes", restRecords(29, 20, 30), 4, 0, 0},
        {"ventilationMoved", restRecords(30, 20, 30, 9, 9), 2, 0, 0},
        {"compressionMoved", restRecords(30, 20, 30, 9, 8), 3, 0, 0},
        {"spreadOf8IsRest", restRecords(30, 20, 30, 8, 8), 6, 24, 34},
    };
    for (const Case& c : cases) {
        state = {};
        state.linkType = 1;
        state.linkTypeAfterOpen = 1;
        auto reader = makeReader();
        fake->arrive(record(0x0C, 1, 1));
        ASSERT_EQ(reader->open(5), 10) << c.name;
        reader->startCalibration();
        fake->arrive(c.rest);
        clock.advance(2199);
        EXPECT_EQ(reader->getCalibrationStatus(), 5) << c.name;
        clock.advance(1);
        EXPECT_EQ(reader->getCalibrationStatus(), c.status) << c.name;
        EXPECT_EQ(state.compressionOffset, c.compressionOffset) << c.name;
        EXPECT_EQ(state.ventilationOffset, c.ventilationOffset) << c.name;
        EXPECT_EQ(reader->compressionOffset(), c.compressionOffset) << c.name;
        if (c.status == 6) {
            EXPECT_EQ(reader->applyOffsets({c.compressionOffset + 10, c.ventilationOffset + 10, 0, 0}),
                      (ManikinSample{10, 10, 0, 0}));
        }
    }
}

TEST_F(ManikinReaderTest, calibrationOfAFramedManikinIgnoresEarlierSamples)
{
    auto reader = runningFramedReader();
    reader->stop();
    fake->arrive(com(26, {200, 200, 0})); // discarded by the start of the measurement
    reader->startCalibration();
    EXPECT_EQ(state.streamRequests, 1 + 2);
    fake->arrive(join({com(26, {30, 20, 0}), com(26, {31, 21, 0}), com(26, {30, 21, 0})}));
    clock.advance(2200);
    EXPECT_EQ(reader->getCalibrationStatus(), 6);
    EXPECT_EQ(state.compressionOffset, 20);
    EXPECT_EQ(state.ventilationOffset, 30);
}

TEST_F(ManikinReaderTest, calibrationWithoutASampleFailsInsteadOfDividingByZero)
{
    // Wireless frames give no sample to a final pass: nothing to average.
    state.linkTypeAfterOpen = 4;
    state.linkType = 4;
    state.streamAnswer = wireless(26, {30, 20, 0});
    auto reader = makeReader();
    ASSERT_EQ(reader->open(300), 10);
    while (reader->hasSample())
        reader->popSample();
    reader->startCalibration();
    Bytes frames;
    for (int i = 0; i < 40; ++i) {
        const Bytes one = wireless(26, {30, 20, 0});
        frames.insert(frames.end(), one.begin(), one.end());
    }
    fake->arrive(frames);
    clock.advance(2200);
    EXPECT_EQ(reader->getCalibrationStatus(), 4);
    EXPECT_EQ(state.compressionOffset, 0);
}

TEST_F(ManikinReaderTest, calibrationOfOtherPorts)
{
    state.connected = false;
    auto closed = makeReader();
    closed->startCalibration();
    clock.advance(5000);
    EXPECT_EQ(closed->getCalibrationStatus(), 0);

    state.recorded = true;
    state.recording = {{12, 34, 0, 0}, {50, 60, 0, 0}};
    auto recorded = makeReader();
    recorded->startCalibration();
    EXPECT_EQ(recorded->getCalibrationStatus(), 6) << "recorded data needs no waiting";
    EXPECT_EQ(state.compressionOffset, 12);
    EXPECT_EQ(state.ventilationOffset, 34);
}
