#include "FrameBytes.h"
#include "comm/reader/FrameParser.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

using namespace framebytes;

namespace {

std::deque<std::uint8_t> queueOf(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// Runs one tick's pass over the bytes and returns the samples it queued.
std::vector<ManikinSample> comTick(FrameParser& parser, std::deque<std::uint8_t>& queue, const Bytes& arrived)
{
    queue.insert(queue.end(), arrived.begin(), arrived.end());
    parser.setPassPending();
    while (parser.comPass(queue, false)) {
    }
    std::vector<ManikinSample> samples(parser.sampleQueue().begin(), parser.sampleQueue().end());
    parser.sampleQueue().clear();
    return samples;
}

std::vector<ManikinSample> wirelessTick(FrameParser& parser, std::deque<std::uint8_t>& queue, const Bytes& arrived)
{
    queue.insert(queue.end(), arrived.begin(), arrived.end());
    parser.setPassPending();
    while (parser.wirelessPass(queue, false)) {
    }
    std::vector<ManikinSample> samples(parser.sampleQueue().begin(), parser.sampleQueue().end());
    parser.sampleQueue().clear();
    return samples;
}

// Three frames carrying the data byte 0x7E in every position it can take.
const Bytes STUFFED_STREAM = join({
    com(26, {10, 20, 5}),
    com(26, {0x7E, 21, 6}),
    com(26, {11, 0x7E, 0x7E}),
    com(26, {12, 22, 7}),
});
const std::vector<ManikinSample> STUFFED_SAMPLES{
    {20, 10, 0, 5}, {21, 0x7E, 0, 6}, {0x7E, 11, 0, 0x7E}, {22, 12, 0, 7},
};

} // namespace

struct ComCase {
    std::string name;
    Bytes bytes;
    std::vector<ManikinSample> samples; // as queued by one pass
    bool result;
};

class ComFrames : public testing::TestWithParam<ComCase> {};

TEST_P(ComFrames, becomeSamples)
{
    const ComCase& c = GetParam();
    FrameParser parser;
    auto queue = queueOf(c.bytes);
    EXPECT_EQ(parser.comPass(queue, false), c.result);
    const std::vector<ManikinSample> queued(parser.sampleQueue().begin(), parser.sampleQueue().end());
    EXPECT_EQ(queued, c.samples);
    EXPECT_EQ(parser.receivedCount(), static_cast<int>(c.samples.size()));
}

INSTANTIATE_TEST_SUITE_P(
    FrameParser, ComFrames,
    testing::Values(
        ComCase{"nothingReceivedQueuesNothing", {}, {}, false},
        ComCase{"compressionAloneKeepsVentilationUnknown", com(1, {40}), {{40, -1, 0, 0}}, false},
        ComCase{"separateChannels", join({com(1, {40}), com(2, {9})}), {{40, -1, 0, 0}, {40, 9, 0, 0}}, true},
        ComCase{"allChannels", com(26, {9, 40, 31}), {{40, 9, 0, 31}}, true},
        ComCase{"stuffedDataByte", join({com(26, {0x7E, 0x7E, 0x7E})}), {{0x7E, 0x7E, 0, 0x7E}}, true},
        ComCase{"garbageBetweenFrames", join({Bytes{1, 2, 3}, com(1, {40}), Bytes{0xFF, 0x00}, com(2, {9})}),
                {{40, -1, 0, 0}, {40, 9, 0, 0}}, true},
        // A stuffed pair right after junk is a data byte of a frame we joined late.
        ComCase{"stuffedPairAfterJunkIsNoStart", join({Bytes{5, 0x7E, 0x7E, 1, 0, 1}, com(26, {1, 2, 3})}),
                {{2, 1, 0, 3}}, true},
        // A frame cut short by a new start byte is given up, not misread.
        ComCase{"cutFrameGivesWayToNextStart", join({Bytes{0x7E, 26, 0, 3, 9}, com(26, {1, 2, 3})}),
                {{2, 1, 0, 3}}, true},
        // An unknown command's payload is skipped whole, 0x7E 0x7E included.
        ComCase{"unknownCommandSkippedWhole", join({com(99, {0x7E, 1, 0, 1, 50}), com(26, {1, 2, 3})}),
                {{2, 1, 0, 3}}, true},
        ComCase{"shortPayloadIsIgnored", join({com(26, {1, 2}), com(26, {4, 5, 6})}), {{5, 4, 0, 6}}, true},
        ComCase{"ecgOnComIsTheByte", join({com(26, {1, 2, 3}), com(25, {31})}), {{2, 1, 0, 3}, {2, 1, 0, 31}},
                true}),
    [](const testing::TestParamInfo<ComCase>& info) { return info.param.name; });

TEST(FrameParser, comFrameSplitAtEveryPositionIsKeptUntilComplete)
{
    for (std::size_t split = 0; split <= STUFFED_STREAM.size(); ++split) {
        FrameParser parser;
        std::deque<std::uint8_t> queue;
        std::vector<ManikinSample> all = comTick(parser, queue, Bytes(STUFFED_STREAM.begin(), STUFFED_STREAM.begin() + split));
        const auto second = comTick(parser, queue, Bytes(STUFFED_STREAM.begin() + split, STUFFED_STREAM.end()));
        all.insert(all.end(), second.begin(), second.end());
        // Each frame once, and nothing for the tick that had none whole.
        EXPECT_EQ(all, STUFFED_SAMPLES) << "split at " << split;
        EXPECT_TRUE(queue.empty()) << "split at " << split;
    }
}

TEST(FrameParser, comPassRunsOncePerTickAndStoresOnlyWhatTheManikinSent)
{
    FrameParser parser;
    auto queue = queueOf(com(26, {1, 2, 3}));
    EXPECT_TRUE(parser.comPass(queue, false));
    EXPECT_FALSE(parser.passPending());
    EXPECT_FALSE(parser.comPass(queue, false)) << "a second pass in the same tick";
    EXPECT_EQ(parser.sampleQueue().size(), 1u);

    // Ticks with nothing received (a manikin fallen silent) add no sample:
    // the last values are not the manikin's samples of that time.
    for (int tick = 0; tick < 3; ++tick) {
        parser.setPassPending();
        EXPECT_FALSE(parser.comPass(queue, false));
    }
    EXPECT_EQ(parser.sampleQueue().size(), 1u);
    EXPECT_EQ(parser.receivedCount(), 1);
}

TEST(FrameParser, finalPassHandlesOneFrameAndQueuesOneSample)
{
    FrameParser parser;
    auto queue = queueOf(join({com(26, {1, 2, 3}), com(26, {4, 5, 6})}));
    EXPECT_TRUE(parser.comPass(queue, true));
    EXPECT_EQ(parser.sampleQueue().size(), 1u);
    EXPECT_EQ(parser.currentSample(), (ManikinSample{2, 1, 0, 3}));
    EXPECT_TRUE(parser.comPass(queue, true));
    EXPECT_EQ(parser.currentSample(), (ManikinSample{5, 4, 0, 6}));
    EXPECT_FALSE(parser.comPass(queue, true));
    EXPECT_EQ(parser.sampleQueue().size(), 3u);
}

struct StatusCase {
    int before;
    int command;
    bool on;
    int after;
};

TEST(FrameParser, statusTable)
{
    const std::vector<StatusCase> cases{
        {0, 5, true, 0x0C},    {0, 5, false, 0},       {0, 9, true, 0xCC},    {0, 9, false, 0},
        {0x0C, 5, true, 0x0C}, {0x0C, 5, false, 0},    {0x0C, 9, true, 0x8C}, {0x0C, 9, false, 0},
        {0xCC, 5, true, 0x8C}, {0xCC, 5, false, 0xCC}, {0xCC, 9, true, 0xCC}, {0xCC, 9, false, 0},
        // With both conditions present, a repeated report keeps both.
        {0x8C, 5, true, 0x8C}, {0x8C, 5, false, 0xCC}, {0x8C, 9, true, 0x8C}, {0x8C, 9, false, 0x0C},
        {0x42, 5, true, 0x0C}, {0x42, 5, false, 0},    {0x42, 9, true, 0xCC}, {0x42, 9, false, 0},
    };
    for (const StatusCase& c : cases)
        EXPECT_EQ(FrameParser::statusAfter(c.command, c.on, c.before), c.after)
            << "before " << c.before << " command " << c.command << " on " << c.on;
}

TEST(FrameParser, statusFramesBuildTheSampleStatus)
{
    FrameParser parser;
    std::deque<std::uint8_t> queue;
    const auto samples = comTick(parser, queue,
                                 join({com(26, {1, 2, 3}), com(5, {1}), com(9, {7}), com(5, {0}), com(9, {0})}));
    ASSERT_EQ(samples.size(), 5u);
    EXPECT_EQ(samples[1].error, 0x0C);
    EXPECT_EQ(samples[2].error, 0x8C);
    EXPECT_EQ(samples[3].error, 0xCC);
    EXPECT_EQ(samples[4].error, 0);
}

TEST(FrameParser, command29MarksOneSampleOfAKind3Manikin)
{
    for (const bool kindIs3 : {true, false}) {
        FrameParser parser;
        parser.setKindIs3(kindIs3);
        std::deque<std::uint8_t> queue;
        const auto samples = comTick(parser, queue, join({com(26, {1, 2, 3}), com(29, {}), com(1, {4}), com(9, {1})}));
        ASSERT_EQ(samples.size(), 4u);
        EXPECT_EQ(samples[1].error, kindIs3 ? 66 : 0);
        EXPECT_EQ(samples[2].error, 0);
        EXPECT_EQ(samples[3].error, 0xCC);
    }
}

TEST(FrameParser, batteryLevelIsReportedOnceAndIsNoSample)
{
    FrameParser parser;
    std::deque<std::uint8_t> queue;
    const auto samples = comTick(parser, queue, join({com(26, {1, 2, 3}), com(21, {4})}));
    EXPECT_EQ(samples, (std::vector<ManikinSample>{{2, 1, 0, 3}}));
    EXPECT_EQ(parser.takeBatteryLevel(), 4);
    EXPECT_EQ(parser.takeBatteryLevel(), std::nullopt);
    // The answer alone still tells of a manikin that is there.
    parser.setPassPending();
    queue = {};
    const Bytes report = com(21, {2});
    queue.insert(queue.end(), report.begin(), report.end());
    EXPECT_TRUE(parser.comPass(queue, false));
    EXPECT_TRUE(parser.sampleQueue().empty());
}

TEST(FrameParser, ecgOfWirelessManikinsHasABaseOf30)
{
    EXPECT_EQ(FrameParser::ecgValue(31, true), 1);
    EXPECT_EQ(FrameParser::ecgValue(30, true), 0);
    EXPECT_EQ(FrameParser::ecgValue(0, true), 0);
    EXPECT_EQ(FrameParser::ecgValue(31, false), 31);

    FrameParser parser;
    std::deque<std::uint8_t> queue;
    const auto samples = wirelessTick(parser, queue, join({wireless(26, {1, 2, 200}), wireless(25, {31})}));
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].ecg, 170);
    EXPECT_EQ(samples[1].ecg, 1);
}

TEST(FrameParser, wirelessFrameIsConsumedWhole)
{
    // The payload holds what looks like a complete compression frame.
    FrameParser parser;
    std::deque<std::uint8_t> queue;
    const auto samples = wirelessTick(parser, queue, join({wireless(26, {0x7E, 1, 0}), wireless(99, {0x7E, 1, 0, 1, 77}),
                                                          wireless(1, {50})}));
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0], (ManikinSample{1, 0x7E, 0, 0}));
    EXPECT_EQ(samples[1], (ManikinSample{50, 0x7E, 0, 0}));
    EXPECT_TRUE(queue.empty());
}

TEST(FrameParser, wirelessFrameSplitAtEveryPositionIsKeptUntilComplete)
{
    const Bytes stream = join({Bytes{0x11}, wireless(26, {10, 0x7E, 5}), wireless(21, {3}), wireless(26, {11, 21, 6})});
    const std::vector<ManikinSample> expected{{0x7E, 10, 0, 0}, {21, 11, 0, 0}};
    for (std::size_t split = 0; split <= stream.size(); ++split) {
        FrameParser parser;
        std::deque<std::uint8_t> queue;
        auto all = wirelessTick(parser, queue, Bytes(stream.begin(), stream.begin() + split));
        const auto second = wirelessTick(parser, queue, Bytes(stream.begin() + split, stream.end()));
        all.insert(all.end(), second.begin(), second.end());
        EXPECT_EQ(all, expected) << "split at " << split;
        EXPECT_TRUE(queue.empty()) << "split at " << split;
    }
}

TEST(FrameParser, wirelessPassNeedsBothValuesAndQueuesNothingWhenFinal)
{
    FrameParser parser;
    auto queue = queueOf(wireless(1, {40}));
    EXPECT_FALSE(parser.wirelessPass(queue, false));
    EXPECT_TRUE(parser.passPending());

    queue = queueOf(join({wireless(2, {9}), wireless(1, {41})}));
    EXPECT_TRUE(parser.wirelessPass(queue, true));
    EXPECT_EQ(parser.currentSample(), (ManikinSample{40, 9, 0, 0}));
    EXPECT_TRUE(parser.wirelessPass(queue, true));
    EXPECT_FALSE(parser.wirelessPass(queue, true));
    EXPECT_EQ(parser.sampleQueue().size(), 1u) << "only the first, non-final pass queued";
}

struct RecordCase {
    std::string name;
    Bytes bytes;
    std::vector<ManikinSample> samples;
    std::size_t left;
};

class UnframedRecords : public testing::TestWithParam<RecordCase> {};

TEST_P(UnframedRecords, becomeSamples)
{
    const RecordCase& c = GetParam();
    FrameParser parser;
    auto queue = queueOf(c.bytes);
    for (;;) {
        const FrameParser::RecordStep step = parser.takeRecord(queue);
        if (step == FrameParser::RecordStep::TooFew)
            break;
        if (step == FrameParser::RecordStep::OutOfStep)
            while (FrameParser::syncStep(queue) == FrameParser::SyncStep::Dropped) {
            }
    }
    const std::vector<ManikinSample> queued(parser.sampleQueue().begin(), parser.sampleQueue().end());
    EXPECT_EQ(queued, c.samples);
    EXPECT_EQ(queue.size(), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    FrameParser, UnframedRecords,
    testing::Values(
        RecordCase{"records", join({record(0x0C, 5, 40), record(0xDC, 6, 41)}), {{40, 5, 0x0C, 0}, {41, 6, 0xDC, 0}}, 0},
        RecordCase{"everyValidStatus",
                   join({record(0x1C, 0, 0), record(0x4C, 0, 0), record(0x8C, 0, 0), record(0x9C, 0, 0),
                         record(0xCC, 0, 0)}),
                   {{0, 0, 0x1C, 0}, {0, 0, 0x4C, 0}, {0, 0, 0x8C, 0}, {0, 0, 0x9C, 0}, {0, 0, 0xCC, 0}}, 0},
        RecordCase{"startsMidRecord", join({Bytes{40, 0x0D}, record(0x0C, 5, 41), record(0x0C, 6, 42)}),
                   {{41, 5, 0x0C, 0}, {42, 6, 0x0C, 0}}, 0},
        // A status-like byte in the middle of a record does not swallow the next one.
        RecordCase{"statusLikeValueBeforeRecord", join({Bytes{0x0C, 0x0D}, record(0x0C, 5, 41)}), {{41, 5, 0x0C, 0}}, 0},
        RecordCase{"invalidStatusIsDropped", join({record(0x42, 5, 40), record(0x0C, 6, 41)}), {{41, 6, 0x0C, 0}}, 0},
        RecordCase{"partialRecordWaits", join({record(0x0C, 5, 40), Bytes{0x0C, 6}}), {{40, 5, 0x0C, 0}}, 2}),
    [](const testing::TestParamInfo<RecordCase>& info) { return info.param.name; });
