#include "SessionTestSupport.h"

#include "config/AlgorithmRecord.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sessiontest;

namespace {

// ---- compressions ----

struct CompressionCase {
    const char* name;
    std::vector<double> depths;
    std::vector<CompressionRecord> records;
};

void PrintTo(const CompressionCase& c, std::ostream* os)
{
    *os << c.name;
}

CompressionRecord compression(int start, int end, int peak, double depth, int peakEnd, bool incomplete = false)
{
    CompressionRecord r;
    r.indexStart = start;
    r.indexEnd = end;
    r.indexPeak = peak;
    r.peakDepth = depth;
    r.incompleteRelease = incomplete ? 1 : 0;
    r.indexPeakEnd = peakEnd;
    return r;
}

std::vector<CompressionRecord> allCompressions(const CommSession& session)
{
    std::vector<CompressionRecord> records;
    for (const CompressionSeries& s : session.compressionSeries())
        records.insert(records.end(), s.records.begin(), s.records.end());
    return records;
}

class CompressionDetection : public ::testing::TestWithParam<CompressionCase> {};

TEST_P(CompressionDetection, findsStartPeakAndEnd)
{
    CommSession session;
    appendDepths(session, GetParam().depths);
    EXPECT_EQ(allCompressions(session), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, CompressionDetection,
    ::testing::Values(
        CompressionCase{"FullRelease", {0, 20, 35, 48, 40, 30, 10, 0}, {compression(0, 6, 3, 48, 3)}},
        CompressionCase{"StartIsLastRestSample", {0, 0, 0, 20, 35, 48, 40, 30, 10, 0}, {compression(2, 8, 5, 48, 5)}},
        CompressionCase{"RiseWithoutFullRelease",
                        {0, 40, 45, 30, 20, 26, 40, 0, 0},
                        {compression(0, 4, 2, 45, 2, true), compression(4, 7, 6, 40, 6)}},
        CompressionCase{"RepeatedMaximumKeepsTheFirst", {0, 30, 48, 48, 47, 40, 0}, {compression(0, 5, 2, 48, 4)}},
        CompressionCase{"ShallowWobbleNeverCompletes", {0, 20, 30, 26, 29, 27, 28, 30}, {}},
        CompressionCase{"RiseUnderHysteresisIsNoNewCompression",
                        {0, 40, 45, 30, 20, 24, 0},
                        {compression(0, 5, 2, 45, 2)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompressionSeries, gapOf24JoinsAnd25StartsANewSeries)
{
    const struct {
        int gap;
        std::size_t seriesCount;
    } cases[] = {{24, 1}, {25, 2}};
    for (const auto& c : cases) {
        CommSession session;
        compressionAt(session, 1); // record 0..3, end at 3
        // The next record starts at the rest sample before its rise.
        compressionAt(session, static_cast<std::size_t>(3 + c.gap + 1));
        ASSERT_EQ(session.compressionSeries().size(), c.seriesCount) << "gap " << c.gap;
        EXPECT_EQ(session.compressionSeries().back().records.back().indexStart - 3, c.gap);
    }
}

TEST(CompressionSeries, statisticsOfASeries)
{
    CompressionSeries s;
    s.add(compression(10, 14, 12, 45, 12));
    EXPECT_EQ(s.peakFrequency, 0.0);
    CompressionRecord second = compression(16, 20, 18, 50, 19, true);
    second.wrongHandPosition = 1;
    s.add(second);
    s.add(compression(22, 26, 24, 41, 23));
    EXPECT_EQ(s.firstStart, 10);
    EXPECT_EQ(s.firstPeak, 12);
    EXPECT_EQ(s.lastEnd, 26);
    EXPECT_EQ(s.lastPeak, 24);
    EXPECT_DOUBLE_EQ(s.peakFrequency, 2.0 / 12);
    EXPECT_EQ(s.wrongHandCount, 1);
    EXPECT_EQ(s.incompleteReleaseCount, 1);

    s.computeDurations();
    // compression 12-10, 19-16; relaxation 16-12, 22-19; the last has no times
    EXPECT_EQ(s.records[0].compressionTime, 2);
    EXPECT_EQ(s.records[0].relaxationTime, 4);
    EXPECT_EQ(s.records[1].compressionTime, 3);
    EXPECT_EQ(s.records[1].relaxationTime, 3);
    EXPECT_EQ(s.records[2].compressionTime, 0);
    EXPECT_EQ(s.compressionTimeSum, 5);
    EXPECT_EQ(s.cycleTimeSum, 12);
    EXPECT_EQ(s.compressionPercent(), 41);
}

TEST(CompressionSeries, cardiacOutputCountsCorrectDepthsOnly)
{
    AlgorithmRecord algorithm; // correct depth 40..50 mm
    CompressionSeries s(&algorithm);
    s.add(compression(0, 4, 2, 45, 2));
    s.add(compression(5, 9, 7, 40, 7));
    s.add(compression(10, 14, 12, 50, 12));
    s.add(compression(15, 19, 17, 39.9, 17));                 // too shallow
    s.add(compression(20, 24, 22, 50.1, 22));                 // too deep
    s.add(compression(25, 29, 27, 45, 27, true));             // leaning
    CompressionRecord wrongHand = compression(30, 34, 32, 45, 32);
    wrongHand.wrongHandPosition = 1;
    s.add(wrongHand);

    AnalysisSettings settings;
    s.computeCardiacOutput(50, settings);
    EXPECT_EQ(s.duration, 50);
    EXPECT_DOUBLE_EQ(s.cardiacOutputVolume, 3 * 0.03 + 1 * 0.01);
    EXPECT_DOUBLE_EQ(s.getCardiacOutput(50.0), 50.0 * 0.1 * 60 / 50);

    // The station's own window replaces the algorithm's when it is switched on.
    settings.overrideCompressionDepth = true;
    settings.compressionDepthLow = 30;
    settings.compressionDepthHigh = 52;
    s.computeCardiacOutput(50, settings);
    EXPECT_DOUBLE_EQ(s.cardiacOutputVolume, 5 * 0.03 + 1 * 0.01);
}

TEST(CompressionSeries, neverClosedSeriesShowsNoOutputInsteadOfNaN)
{
    AlgorithmRecord algorithm;
    CompressionSeries s(&algorithm);
    s.add(compression(0, 4, 2, 45, 2));
    EXPECT_EQ(s.getCardiacOutput(50.0), 0.0);
    EXPECT_FALSE(std::isnan(s.getCardiacOutput(50.0)));
}

TEST(CompressionAnalyser, closedSeriesPublishesItsSummary)
{
    AlgorithmRecord algorithm;
    CommSession session;
    session.setAlgorithm(&algorithm);
    IndexListener listener;
    connect(session.seriesSummaryAdded, listener, &IndexListener::onIndex);

    // Series one: three compressions 10 samples apart; each presses 2 of its 10 samples.
    compressionAt(session, 10);
    compressionAt(session, 20);
    compressionAt(session, 30);
    // Series two, far away, closes series one; a single compression publishes nothing.
    compressionAt(session, 100);
    compressionAt(session, 200);

    ASSERT_EQ(session.compressionSeries().size(), 3u);
    ASSERT_EQ(session.seriesSummaries().size(), 1u);
    const auto& [key, summary] = *session.seriesSummaries().begin();
    EXPECT_EQ(summary.firstStart, 9);
    EXPECT_EQ(summary.lastEnd, 32);
    EXPECT_EQ(summary.nextStart, 99);
    EXPECT_EQ(summary.compressionPercent, 20);
    // 3 correct compressions of 0.03 l over 90 samples at 50 per second.
    EXPECT_DOUBLE_EQ(summary.cardiacOutput, 50.0 * 0.09 * 60 / 90);
    EXPECT_EQ(key, (9 + 32) / 2);
    EXPECT_EQ(listener.indexes, std::vector<int>{key});
    EXPECT_EQ(session.seriesSummaryAt(50), &summary);
    EXPECT_EQ(session.seriesSummaryAt(99), nullptr);
}

TEST(CompressionAnalyser, liveRateNeedsTwoPeaksOfOneSeriesAndExpires)
{
    CommSession session;
    // Long compressions so that peaks 30 samples apart stay in one series.
    compressionAt(session, 10, 45, false, 10);
    EXPECT_EQ(session.getCompressionRate(), -1.0);
    compressionAt(session, 40, 45, false, 10);
    EXPECT_DOUBLE_EQ(session.getCompressionRate(), 100.0);
    // Newest peak at 41: still valid at 91, gone at 92.
    restUntil(session, 92);
    EXPECT_DOUBLE_EQ(session.getCompressionRate(), 100.0);
    session.appendMeasurement(Measurement{});
    EXPECT_EQ(session.getCompressionRate(), -1.0);
}

TEST(CompressionAnalyser, rateWindowHoldsTheLastFourPeaks)
{
    CommSession session;
    compressionAt(session, 10, 45, false, 10); // peak 11
    compressionAt(session, 30, 45, false, 10); // 31
    compressionAt(session, 60, 45, false, 10); // 61
    compressionAt(session, 90, 45, false, 10); // 91
    EXPECT_DOUBLE_EQ(session.getCompressionRate(), 3 * 50.0 * 60 / 80);
    compressionAt(session, 120, 45, false, 10); // 121; 11 leaves the window
    EXPECT_DOUBLE_EQ(session.getCompressionRate(), 3 * 50.0 * 60 / 90);
}

TEST(CompressionAnalyser, wrongHandPositionMarksThePeak)
{
    CommSession session;
    IndexListener listener;
    connect(session.compressionMarked, listener, &IndexListener::onIndex);
    compressionAt(session, 10, 45, true);
    EXPECT_EQ(listener.indexes, std::vector<int>{11});
    EXPECT_EQ(session.manData[11].compressionMark, 1);
    EXPECT_EQ(session.compressionSeries().front().wrongHandCount, 1);
}

// ---- ventilations ----

struct VentilationCase {
    const char* name;
    std::vector<double> volumes;
    std::vector<VentilationRecord> records;
};

void PrintTo(const VentilationCase& c, std::ostream* os)
{
    *os << c.name;
}

VentilationRecord ventilation(int start, int end, int peak, double volume, bool stomach = false)
{
    return VentilationRecord{start, end, peak, volume, static_cast<std::uint8_t>(stomach ? 1 : 0)};
}

std::vector<VentilationRecord> allVentilations(const CommSession& session)
{
    std::vector<VentilationRecord> records;
    for (const VentilationGroup& g : session.ventilationGroups())
        records.insert(records.end(), g.records.begin(), g.records.end());
    return records;
}

class VentilationDetection : public ::testing::TestWithParam<VentilationCase> {};

TEST_P(VentilationDetection, findsStartPeakAndEnd)
{
    CommSession session;
    appendVolumes(session, GetParam().volumes);
    EXPECT_EQ(allVentilations(session), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, VentilationDetection,
    ::testing::Values(
        VentilationCase{"FullRelease", {0, 0.2, 0.5, 0.45, 0.2, 0}, {ventilation(1, 5, 2, 0.5)}},
        VentilationCase{"RiseFromTheTroughStartsTheNext",
                        {0, 0.2, 0.5, 0.4, 0.3, 0.38, 0.5, 0.3, 0},
                        {ventilation(1, 5, 2, 0.5), ventilation(5, 8, 6, 0.5)}},
        VentilationCase{"SmallDropNeverCompletes", {0, 0.2, 0.5, 0.44, 0.46, 0.44, 0.45}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VentilationAnalyser, gapOf19SharesAGroupAnd20StartsANewOne)
{
    const struct {
        int gap;
        std::size_t groups;
    } cases[] = {{19, 1}, {20, 2}};
    for (const auto& c : cases) {
        CommSession session;
        ventilationAt(session, 1); // ends at 4
        ventilationAt(session, static_cast<std::size_t>(4 + c.gap));
        EXPECT_EQ(session.ventilationGroups().size(), c.groups) << "gap " << c.gap;
        EXPECT_EQ(session.ventilationAnalyser().count(), 2);
    }
}

TEST(VentilationAnalyser, stomachInflationCountsOncePerEpisode)
{
    CommSession session;
    IndexListener listener;
    connect(session.ventilationMarked, listener, &IndexListener::onIndex);
    restUntil(session, 1);
    // Flag on every sample from the first rise to the end of the second breath.
    for (double v : {0.2, 0.6, 0.2, 0.0, 0.0, 0.2, 0.6, 0.2, 0.0})
        session.appendMeasurement(volumeOf(v, true));
    // A clean sample re-arms the count; a third inflation counts again.
    session.appendMeasurement(volumeOf(0));
    ventilationAt(session, 15, 0.6, true);

    ASSERT_EQ(session.ventilationGroups().size(), 1u);
    const VentilationGroup& group = session.ventilationGroups().front();
    ASSERT_EQ(group.records.size(), 3u);
    EXPECT_EQ(group.records[0].stomachInflation, 1);
    EXPECT_EQ(group.records[1].stomachInflation, 0);
    EXPECT_EQ(group.records[2].stomachInflation, 1);
    EXPECT_EQ(group.stomachInflationCount, 2);
    EXPECT_EQ(listener.indexes, (std::vector<int>{2, 16}));
    EXPECT_EQ(session.manData[2].ventilationMark, 1);
    EXPECT_EQ(session.manData[7].ventilationMark, 0);
}

TEST(VentilationAnalyser, averageAndMinuteVolume)
{
    CommSession session;
    EXPECT_EQ(session.ventilationAnalyser().getMinuteVolume(), 0.0);
    ventilationAt(session, 10, 0.4);
    ventilationAt(session, 20, 0.6);
    restUntil(session, 101);
    EXPECT_DOUBLE_EQ(session.ventilationAnalyser().getVolumeAverage(), 0.5);
    // 1.0 l over 100 sample intervals at 50 per second.
    EXPECT_DOUBLE_EQ(session.ventilationAnalyser().getMinuteVolume(), 1.0 * 50 * 60 / 100);
}

} // namespace
