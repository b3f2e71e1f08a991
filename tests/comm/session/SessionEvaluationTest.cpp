#include "SessionTestSupport.h"

#include "config/AlgorithmRecord.h"
#include "Rodezir/LogStream.h"
#include "comm/session/ConfigurationAnalysisSettings.h"
#include "config/Configuration.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <sstream>

using namespace sessiontest;

namespace {

constexpr int PERIOD = 30; // 100 compressions per minute at 50 samples per second
constexpr int HOLD = 5;

// Fifteen compressions of the given depth, one every PERIOD samples from `start`.
void seriesAt(CommSession& session, std::size_t start, int count = 15, double depth = 45.0, int period = PERIOD,
              int hold = HOLD)
{
    for (int k = 0; k < count; ++k)
        compressionAt(session, start + static_cast<std::size_t>(k * period), depth, false, hold);
}

// Two rescue breaths, then 15:2 twice, then rest: 1301 samples.
//   ventilations 110, 120 | series 200..627 | ventilations 660, 670 |
//   series 700..1127 | ventilations 1160, 1170 | rest to 1300
void standardSession(CommSession& session)
{
    ventilationAt(session, 110);
    ventilationAt(session, 120);
    seriesAt(session, 200);
    ventilationAt(session, 660);
    ventilationAt(session, 670);
    seriesAt(session, 700);
    ventilationAt(session, 1160);
    ventilationAt(session, 1170);
    restUntil(session, 1301);
}

class Evaluation : public ::testing::Test {
protected:
    AlgorithmRecord algorithm;
    CommSession session;

    void SetUp() override { session.setAlgorithm(&algorithm); }
};

TEST_F(Evaluation, singlePersonSessionFigures)
{
    standardSession(session);
    session.trainingMode = 0;
    session.evaluate();

    EXPECT_EQ(session.getFirstActionTime(), 2); // first ventilation peak at 111
    EXPECT_EQ(session.getNrInitialVentilations(), 2);
    EXPECT_EQ(session.getNrVentilations(), 6);
    EXPECT_DOUBLE_EQ(session.getVentVolumeAverage(), 0.5);
    EXPECT_DOUBLE_EQ(session.getVentFreqAverage(), 6 * 50.0 * 60 / 1300);
    EXPECT_EQ(session.getVentVolumeOK(), 6);

    EXPECT_EQ(session.getNrCompressions(), 30);
    EXPECT_EQ(session.getNrCompGroups(), 2);
    EXPECT_DOUBLE_EQ(session.getCompFreqAverage(), 100.0);
    EXPECT_EQ(session.getCompFreqOK(), 2);
    EXPECT_DOUBLE_EQ(session.getCompDepthAverage(), 45.0);
    EXPECT_EQ(session.getCompDepthOK(), 30);
    EXPECT_EQ(session.getPauseOK(), 1);
    EXPECT_EQ(session.getPauseLong(), 0);
    EXPECT_EQ(session.getPauseAverage(), 1); // 80 samples
    // 14 complete cycles of 7 pressing samples in 30 in each series: the
    // closed first one and the second, which the session ended in.
    EXPECT_DOUBLE_EQ(session.getCompRelaxRatio(), (98.0 + 98.0) / (420 + 420));
    // 15 x 0.03 l over the 500 samples from the first series' start to the
    // next series, and 14 x 0.03 l over the 420 samples of the second's
    // complete cycles.
    EXPECT_DOUBLE_EQ(session.getCardiacOutput(), (0.45 + 0.42) * 50 * 60 / (500 + 420));
    EXPECT_EQ(session.getNrCycles(), 2);
    EXPECT_EQ(session.getCyclesOK(), 2);
    EXPECT_DOUBLE_EQ(session.getCompPerCycleAverage(), 15.0);
    EXPECT_DOUBLE_EQ(session.getVentPerCycleAverage(), 2.0);
}

TEST_F(Evaluation, runningLastSeriesIsNoSpuriousLowCardiacOutput)
{
    standardSession(session);
    session.evaluate();
    EXPECT_EQ(session.getCardiacOutputOK(), 2);
    EXPECT_EQ(session.getCardiacOutputLow(), 0);
    EXPECT_EQ(session.getCardiacOutputHigh(), 0);
    EXPECT_EQ(session.compressionSeries().back().getCardiacOutput(session.sampleRate), 0.0);
}

TEST_F(Evaluation, trainingModesEvaluateTheirOwnParts)
{
    const struct {
        int mode;
        int ventilations;
        int initial;
        int compressions;
        int cycles;
        int cyclesOK;
    } cases[] = {
        {0, 6, 2, 30, 2, 2},
        // 5:1 does not match 15:2; the last series' two breaths are not one breath.
        {1, 6, 2, 30, 1, 0},
        {2, 6, 2, 0, 0, 0},
        {3, 0, 0, 30, 0, 0},
    };
    for (const auto& c : cases) {
        CommSession fresh;
        fresh.setAlgorithm(&algorithm);
        standardSession(fresh);
        fresh.trainingMode = c.mode;
        fresh.evaluate();
        EXPECT_EQ(fresh.getNrVentilations(), c.ventilations) << "mode " << c.mode;
        EXPECT_EQ(fresh.getNrInitialVentilations(), c.initial) << "mode " << c.mode;
        EXPECT_EQ(fresh.getNrCompressions(), c.compressions) << "mode " << c.mode;
        EXPECT_EQ(fresh.getNrCompGroups(), c.compressions ? 2 : 0) << "mode " << c.mode;
        EXPECT_EQ(fresh.getNrCycles(), c.cycles) << "mode " << c.mode;
        EXPECT_EQ(fresh.getCyclesOK(), c.cyclesOK) << "mode " << c.mode;
    }
}

TEST_F(Evaluation, judgementsAgainstTheAlgorithm)
{
    // Series one: 110 per minute at the limit, depths 35/40/50/55; series two:
    // 75 per minute, 12 s after the first; breaths 0.3, 0.4, 0.6, 0.7 l.
    compressionAt(session, 100, 35, false, HOLD);
    compressionAt(session, 127, 40, false, HOLD);
    compressionAt(session, 154, 50, false, HOLD);
    compressionAt(session, 181, 55, false, HOLD);
    seriesAt(session, 800, 3, 45, 40, 15);
    ventilationAt(session, 1100, 0.3);
    ventilationAt(session, 1110, 0.4);
    ventilationAt(session, 1120, 0.6);
    ventilationAt(session, 1130, 0.7);
    restUntil(session, 1201);
    session.trainingMode = 0;
    session.evaluate();

    EXPECT_EQ(session.getCompDepthLow(), 1);
    EXPECT_EQ(session.getCompDepthOK(), 5);
    EXPECT_EQ(session.getCompDepthHigh(), 1);
    EXPECT_EQ(session.getNrCompGroups(), 2);
    EXPECT_EQ(session.getCompFreqOK(), 0);
    EXPECT_EQ(session.getCompFreqHigh(), 1); // 3 per 81 samples = 111 per minute
    EXPECT_EQ(session.getCompFreqLow(), 1);
    EXPECT_EQ(session.getCompFreqOK() + session.getCompFreqLow() + session.getCompFreqHigh(), session.getNrCompGroups());
    EXPECT_EQ(session.getPauseLong(), 1); // 801 - 182 = 619 samples, 12.4 s
    EXPECT_EQ(session.getPauseAverage(), 12);
    EXPECT_EQ(session.getVentVolumeLow(), 1);
    EXPECT_EQ(session.getVentVolumeOK(), 2);
    EXPECT_EQ(session.getVentVolumeHigh(), 1);
    // No series before the breaths: every breath counts as initial.
    EXPECT_EQ(session.getNrInitialVentilations(), 0);
}

TEST_F(Evaluation, aVolumeInsideAnInvertedWindowIsTooHigh)
{
    // The algorithm editor can store a low limit above the high one; a
    // volume is judged within, above the high limit, then below the low one.
    algorithm.vVolLow = 0.6;
    algorithm.vVolHigh = 0.4;
    session.trainingMode = 2;
    appendVolumes(session, {0, 0.2, 0.5, 0.45, 0.2, 0, 0});
    session.evaluate();
    EXPECT_EQ(session.getNrVentilations(), 1);
    EXPECT_EQ(session.getVentVolumeHigh(), 1);
    EXPECT_EQ(session.getVentVolumeLow(), 0);
    EXPECT_EQ(session.getVentVolumeOK(), 0);

    const struct {
        double peak;
        int low, ok, high;
    } cases[] = {{0.3, 1, 0, 0}, {0.4, 1, 0, 0}, {0.6, 0, 0, 1}, {0.7, 0, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.peak);
        CommSession fresh;
        fresh.setAlgorithm(&algorithm);
        fresh.trainingMode = 2;
        ventilationAt(fresh, 10, c.peak);
        restUntil(fresh, 100);
        fresh.evaluate();
        EXPECT_EQ(fresh.getVentVolumeLow(), c.low);
        EXPECT_EQ(fresh.getVentVolumeOK(), c.ok);
        EXPECT_EQ(fresh.getVentVolumeHigh(), c.high);
    }

    // Compression depths keep the order below low, above high.
    algorithm.compDepthLow = 50;
    algorithm.compDepthHigh = 40;
    CommSession compressions;
    compressions.setAlgorithm(&algorithm);
    compressions.trainingMode = 3;
    compressionAt(compressions, 10, 45);
    restUntil(compressions, 100);
    compressions.evaluate();
    EXPECT_EQ(compressions.getCompDepthLow(), 1);
}

TEST_F(Evaluation, stationSettingsJudgeThePauseAndTheCardiacOutput)
{
    struct StrictSettings final : AnalysisSettingsSource {
        AnalysisSettings analysisSettings() const override
        {
            AnalysisSettings s;
            s.maxPauseBetweenCompressions = 1;
            s.cardiacOutputLow = 3.0;
            return s;
        }
    } strict;
    CommSession strictSession(&strict);
    strictSession.setAlgorithm(&algorithm);
    standardSession(strictSession);
    strictSession.evaluate();
    EXPECT_EQ(strictSession.getPauseLong(), 1);   // 1.6 s
    EXPECT_EQ(strictSession.getCardiacOutputLow(), 1); // 2.7 L/min
    EXPECT_EQ(strictSession.getCardiacOutputOK(), 1);
}

TEST_F(Evaluation, liveSettingsAreReadWhenTheEvaluationRuns)
{
    LogStream::instance(); // the log stays in the test's own folder
    kovatest::TempDir folder;
    kovatest::ScopedCwd cwd(folder.path());
    CommSession configured(&ConfigurationAnalysisSettings::instance());
    configured.setAlgorithm(&algorithm);
    standardSession(configured);
    configured.evaluate();
    EXPECT_EQ(configured.getPauseOK(), 1);

    Configuration::instance().getPropertyModel().maxPauseBetweenCompressions = 1;
    configured.evaluate();
    EXPECT_EQ(configured.getPauseLong(), 1);
    Configuration::destroy();
}

TEST_F(Evaluation, oneSeriesHasNoPauses)
{
    seriesAt(session, 100);
    restUntil(session, 700);
    session.evaluate();
    EXPECT_EQ(session.getNrCompGroups(), 1);
    EXPECT_EQ(session.getPauseAverage(), 0);
    EXPECT_EQ(session.getPauseOK(), 0);
    EXPECT_EQ(session.getPauseLong(), 0);
    // The series the session ended in still has its 14 complete cycles.
    EXPECT_DOUBLE_EQ(session.getCompRelaxRatio(), 98.0 / 420);
    EXPECT_DOUBLE_EQ(session.getCardiacOutput(), 0.42 * 50 * 60 / 420);
}

// The series a session ends in is never closed; its complete cycles (each
// compression a later one of the series follows) count in the ratio and the
// output, wherever the session ends. The closed series keep their figures
// and their summaries. Series A (closed, 15 compressions from 100) presses
// 7 samples of every 30; the last series presses 13 of every 30.
TEST(LastSeries, itsCompleteCyclesCountWhereverTheSessionEnds)
{
    constexpr int HOLD_LONG = 11;
    constexpr double A_VOLUME = 15 * 0.03;
    constexpr int A_DURATION = 649 - 99; // to the next series' start
    constexpr double RATE = 50.0;
    const auto output = [](double litres, double samples) { return litres * RATE * 60 / samples; };
    const auto seriesA = [](CommSession& s) {
        seriesAt(s, 100);
        ventilationAt(s, 560);
        ventilationAt(s, 570);
    };
    struct Case {
        const char* name;
        int mode;
        std::function<void(CommSession&)> perform;
        bool ratioMeasured;
        double ratio;
        bool outputMeasured;
        double cardiacOutput;
        int outputOK;
    };
    const Case cases[] = {
        {"inside a series: 8 of its compressions, the ninth still pressing", 0,
         [&](CommSession& s) {
             seriesA(s);
             seriesAt(s, 650, 8, 45.0, PERIOD, HOLD_LONG);
             appendDepths(s, {20, 45});
         },
         true, (14 * 7 + 7 * 13) / (14 * 30.0 + 7 * 30), true,
         output(A_VOLUME + 7 * 0.03, A_DURATION + 7 * 30), 2},
        {"inside the breaths after it", 0,
         [&](CommSession& s) {
             seriesA(s);
             seriesAt(s, 650, 15, 45.0, PERIOD, HOLD_LONG);
             ventilationAt(s, 1110);
             appendVolumes(s, {0.2, 0.5});
         },
         true, (14 * 7 + 14 * 13) / (14 * 30.0 + 14 * 30), true,
         output(A_VOLUME + 14 * 0.03, A_DURATION + 14 * 30), 2},
        {"right after a series closed: one compression of the next", 0,
         [&](CommSession& s) {
             seriesA(s);
             compressionAt(s, 650, 45.0, false, HOLD_LONG);
             restUntil(s, 700);
         },
         true, 98.0 / 420, true, output(A_VOLUME, A_DURATION), 1},
        {"compressions only, one series", 3,
         [&](CommSession& s) {
             seriesAt(s, 100, 20, 45.0, PERIOD, HOLD_LONG);
             restUntil(s, 800);
         },
         true, 13.0 / 30, true, output(19 * 0.03, 19 * 30), 1},
        {"a single compression", 3,
         [&](CommSession& s) {
             compressionAt(s, 100);
             restUntil(s, 300);
         },
         false, 0.0, false, 0.0, 0},
        {"no compression at all", 0,
         [&](CommSession& s) {
             ventilationAt(s, 100);
             ventilationAt(s, 110);
             restUntil(s, 300);
         },
         false, 0.0, false, 0.0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlgorithmRecord algorithm;
        CommSession session;
        session.setAlgorithm(&algorithm);
        session.trainingMode = c.mode;
        c.perform(session);
        session.evaluate();
        const CompressionResults& r = session.results().compression;
        EXPECT_EQ(r.compRelaxMeasured(), c.ratioMeasured);
        EXPECT_DOUBLE_EQ(session.getCompRelaxRatio(), c.ratio);
        EXPECT_EQ(r.cardiacOutputMeasured(), c.outputMeasured);
        EXPECT_DOUBLE_EQ(session.getCardiacOutput(), c.cardiacOutput);
        EXPECT_EQ(session.getCardiacOutputOK(), c.outputOK);
        EXPECT_EQ(session.getCardiacOutputLow() + session.getCardiacOutputHigh(), 0);

        // Only closed series have a summary, with the figures they always had.
        const auto& series = session.compressionSeries();
        ASSERT_EQ(session.seriesSummaries().size(), series.empty() ? 0u : series.size() - 1);
        for (const auto& [key, summary] : session.seriesSummaries()) {
            EXPECT_EQ(summary.compressionPercent, 23); // 7 of 30
            EXPECT_DOUBLE_EQ(summary.cardiacOutput, output(A_VOLUME, A_DURATION));
        }
        if (!series.empty()) {
            EXPECT_EQ(series.back().duration, 0) << "the analyser's own last series stays open";
        }
    }
}

TEST_F(Evaluation, firstActionTime)
{
    EXPECT_EQ(session.getFirstActionTime(), -1);
    ventilationAt(session, 160);
    restUntil(session, 300);
    session.evaluate();
    EXPECT_EQ(session.getFirstActionTime(), 3); // peak at 161
    compressionAt(session, 400);
    session.evaluate();
    EXPECT_EQ(session.getFirstActionTime(), 3);

    CommSession compressionsFirst;
    compressionsFirst.setAlgorithm(&algorithm);
    compressionAt(compressionsFirst, 120); // peak 121
    ventilationAt(compressionsFirst, 200);
    compressionsFirst.evaluate();
    EXPECT_EQ(compressionsFirst.getFirstActionTime(), 2);
}

TEST_F(Evaluation, skippedEvaluationsKeepTheirResults)
{
    standardSession(session);
    session.trainingMode = 0;
    session.evaluate();
    session.trainingMode = 2;
    session.evaluate();
    EXPECT_EQ(session.getNrCompressions(), 30);
    EXPECT_EQ(session.getNrCycles(), 2);
}

TEST_F(Evaluation, evaluationRepeatsTheAnalysisExactly)
{
    standardSession(session);
    const std::vector<CompressionSeries> series = session.compressionSeries();
    const std::vector<VentilationGroup> groups = session.ventilationGroups();
    session.evaluate();
    session.evaluate();
    ASSERT_EQ(session.compressionSeries().size(), series.size());
    for (std::size_t i = 0; i < series.size(); ++i)
        EXPECT_EQ(session.compressionSeries()[i].records, series[i].records);
    ASSERT_EQ(session.ventilationGroups().size(), groups.size());
    for (std::size_t i = 0; i < groups.size(); ++i)
        EXPECT_EQ(session.ventilationGroups()[i].records, groups[i].records);
    EXPECT_EQ(session.seriesSummaries().size(), 1u);
}

TEST_F(Evaluation, damagedLimitsGiveNoUndefinedFigures)
{
    // A stored session judged by a broken algorithm.
    CommSession live;
    standardSession(live);
    std::ostringstream text;
    ASSERT_TRUE(live.save(text));
    std::istringstream in(text.str());
    ASSERT_TRUE(session.load(in, 50.0));
    algorithm.ventCompRatioSingleComp = std::numeric_limits<double>::quiet_NaN();
    algorithm.ventCompRatioSingleVent = 1e300;
    session.evaluate();
    EXPECT_EQ(session.getNrCompressions(), 30);
    EXPECT_EQ(session.getFirstActionTime(), 2);
    EXPECT_EQ(session.getNrCycles(), 1); // no ventilation count matches the broken ratio but the first series counts
    EXPECT_EQ(session.getCyclesOK(), 0);
}

TEST(EvaluationWithoutAlgorithm, logsAndSkipsTheJudgements)
{
    CommSession session;
    standardSession(session);
    session.evaluate();
    EXPECT_EQ(session.getNrCompressions(), 0);
    EXPECT_EQ(session.getNrVentilations(), 0);
    EXPECT_EQ(session.getFirstActionTime(), 2);
    EXPECT_NE(kovatest::readFile(LogStream::instance().path()).find("algor != 0"), std::string::npos);
}

TEST(EvaluationDump, writesTheFilterHistoriesWhenAsked)
{
    EXPECT_TRUE(CommSession::commandLineWantsDump("KOVA_CPR demo dumpdata lang:de"));
    EXPECT_FALSE(CommSession::commandLineWantsDump("KOVA_CPR demo"));

    kovatest::TempDir folder;
    kovatest::ScopedCwd cwd(folder.path());
    AlgorithmRecord algorithm;
    PushSource source;
    CommSession session;
    session.setAlgorithm(&algorithm);
    session.attach(source);
    for (int i = 0; i < 14; ++i)
        source.push(ManikinSample{10 * i, 20 + i, 0, 0});
    session.processNewSamples();

    session.evaluate();
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    session.setDumpData(true);
    session.evaluate();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files[0].filename().string();
    EXPECT_EQ(name.rfind("dumped data ", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 4), ".txt");
    const std::string text = kovatest::readFile(files[0]);
    // 11 raw and repaired samples remain, and 12 filtered ones.
    std::istringstream lines(text);
    std::string first;
    std::getline(lines, first);
    std::ostringstream expected;
    expected << 30 << '\t' << 30 << '\t' << session.filteredHistory[0].compression << '\t' << 23 << '\t' << 23 << '\t'
             << session.filteredHistory[0].ventilation;
    EXPECT_EQ(first, expected.str());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
}

} // namespace
