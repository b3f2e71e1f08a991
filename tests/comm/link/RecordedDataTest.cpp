// The recorded demonstration data: the generated channels compiled into the
// program, their replay through CollectedData, and the recorded-data ports.

#include "LinkTestSupport.h"

#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "comm/link/CollectedDataSet.h"
#include "comm/session/CommSession.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "config/AlgorithmRecord.h"
#include "platform/ManualClock.h"
#include "platform/Resources.h"
#include "platform/ScopedClock.h"
#include "recorded-data/RecordedPerformances.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using namespace linktest;

struct Channel {
    int id;
    std::size_t size;
};

const Channel CHANNELS[] = {
    {169, 1275}, {170, 1275}, {171, 1275}, {308, 1148}, {177, 1275}, {174, 1275},
    {173, 1275}, {309, 1276}, {175, 1275}, {172, 1275}, {176, 1275}, {310, 1276},
};

constexpr double COUNTS_PER_MM = 4.04;

// Peaks of the compression channel: the depth (mm above rest) and the sample
// index of every local maximum above 20 mm.
struct Peak {
    std::size_t index;
    double depth;
};

std::vector<Peak> compressionPeaks(const CollectedData& compression)
{
    std::vector<Peak> peaks;
    const int rest = compression.get(0);
    for (std::size_t i = 1; i + 1 < compression.size(); ++i) {
        const int value = compression.get(i);
        const double depth = (value - rest) / COUNTS_PER_MM;
        if (depth > 20.0 && value > compression.get(i - 1) && value >= compression.get(i + 1))
            peaks.push_back({i, depth});
    }
    return peaks;
}

double meanDepth(const std::vector<Peak>& peaks)
{
    double sum = 0.0;
    for (const Peak& peak : peaks)
        sum += peak.depth;
    return peaks.empty() ? 0.0 : sum / static_cast<double>(peaks.size());
}

// The median rate within cycles: gaps of more than two seconds are pauses.
double medianRate(const std::vector<Peak>& peaks)
{
    std::vector<double> rates;
    for (std::size_t i = 1; i < peaks.size(); ++i) {
        const double seconds = static_cast<double>(peaks[i].index - peaks[i - 1].index) / 20.0;
        if (seconds < 2.0)
            rates.push_back(60.0 / seconds);
    }
    std::sort(rates.begin(), rates.end());
    return rates.empty() ? 0.0 : rates[rates.size() / 2];
}

int runGenerator(const std::filesystem::path& folder)
{
    const std::string program = KOVA_RECORDED_DATA_GENERATOR;
    const std::string target = folder.string();
    char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(target.c_str()), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RecordedData, everyChannelIsCompiledInWithItsLength)
{
    for (const Channel& channel : CHANNELS) {
        SCOPED_TRACE(channel.id);
        const auto bytes = platform::loadResource(platform::ResourceType::Bin, channel.id);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(bytes->size(), channel.size);
    }
}

TEST(RecordedData, theGeneratorWritesTheSameBytesOnEveryRun)
{
    kovatest::TempDir first;
    kovatest::TempDir second;
    ASSERT_EQ(runGenerator(first.path()), 0);
    ASSERT_EQ(runGenerator(second.path()), 0);
    for (const Channel& channel : CHANNELS) {
        SCOPED_TRACE(channel.id);
        const std::string bytes = kovatest::readFile(first.path() / std::to_string(channel.id));
        EXPECT_EQ(bytes, kovatest::readFile(second.path() / std::to_string(channel.id)));
        const auto compiled = platform::loadResource(platform::ResourceType::Bin, channel.id);
        ASSERT_TRUE(compiled.has_value());
        EXPECT_EQ(bytes, std::string(compiled->begin(), compiled->end()));
    }
}

TEST(RecordedData, theSetsLookLikeGoodMediocreAndPoorTraining)
{
    const CollectedDataSet good(0);
    const CollectedDataSet mediocre(1);
    const CollectedDataSet poor(2);

    // Every recording starts with the chest at rest: the calibration takes
    // the first values as offsets.
    for (const CollectedDataSet* set : {&good, &mediocre, &poor}) {
        EXPECT_LT(set->compression().get(0), 12);
        EXPECT_LT(set->ventilation().get(0), 12);
    }

    const auto goodPeaks = compressionPeaks(good.compression());
    const auto mediocrePeaks = compressionPeaks(mediocre.compression());
    const auto poorPeaks = compressionPeaks(poor.compression());
    EXPECT_GT(goodPeaks.size(), 60u);
    EXPECT_NEAR(meanDepth(goodPeaks), 54.0, 3.0);
    EXPECT_GE(medianRate(goodPeaks), 100.0);
    EXPECT_LE(medianRate(goodPeaks), 120.0);
    EXPECT_LT(meanDepth(mediocrePeaks), meanDepth(goodPeaks) - 5.0);
    EXPECT_LT(meanDepth(poorPeaks), meanDepth(mediocrePeaks) - 5.0);
    // Some compressions of the weaker sets are shallow (below 40 mm).
    EXPECT_TRUE(std::any_of(mediocrePeaks.begin(), mediocrePeaks.end(), [](const Peak& p) { return p.depth < 40.0; }));

    // Ventilations rise well above rest between the cycles.
    const auto& ventilation = good.ventilation().bytes();
    EXPECT_GT(*std::max_element(ventilation.begin(), ventilation.end()), ventilation.front() + 40);

    // Status codes: normal, stomach inflation and wrong hand position only;
    // the weaker sets show both faults.
    const std::set<int> known = {92, 12, 204, 140};
    for (const CollectedDataSet* set : {&good, &mediocre, &poor})
        for (std::uint8_t status : set->error().bytes())
            EXPECT_TRUE(known.count(status)) << int(status);
    for (const CollectedDataSet* set : {&mediocre, &poor}) {
        const auto& status = set->error().bytes();
        EXPECT_NE(std::find(status.begin(), status.end(), 12), status.end());
        EXPECT_NE(std::find(status.begin(), status.end(), 204), status.end());
    }
}

// A demonstration session on a recorded-data port: the station's reader,
// calibrated as before a session, and its measurement store, over one pass
// of the recording, which ends in the rest after its last ventilations.
struct DemoSession {
    int compressions = 0;
    int leanings = 0;
    double averageDepth = 0.0;
    std::size_t strokes = 0; // compression peaks in the channel
};

DemoSession replayOnTheStation(int recordedPort, const CollectedData& compression)
{
    // Ticks 50 ms apart: a recorded sample each.
    platform::ManualClock clock;
    platform::ScopedClock installed(clock);
    SerialPort port;
    EXPECT_EQ(port.open(recordedPort), SerialPort::OPEN_SUCCESS);
    ManikinReader reader(port);
    reader.startCalibration();
    EXPECT_EQ(reader.getCalibrationStatus(), ManikinReader::CALIBRATION_DONE);
    reader.start();
    AlgorithmRecord algorithm;
    CommSession session;
    session.setAlgorithm(&algorithm);
    session.attach(reader);
    for (std::size_t tick = 0; tick < compression.size(); ++tick) {
        clock.advance(50);
        reader.update();
        session.processNewSamples();
    }
    session.evaluate();

    DemoSession result;
    result.compressions = session.getNrCompressions();
    result.leanings = session.getNrLeanings();
    result.averageDepth = session.getCompDepthAverage();
    // A stroke is a peak over 10 mm deep that rose 5 mm or more out of the
    // trough before it. The recording wraps to the rest it starts with.
    const int rest = compression.get(0);
    int trough = rest;
    for (std::size_t i = 1; i < compression.size(); ++i) {
        const int value = compression.get(i);
        const int next = i + 1 < compression.size() ? compression.get(i + 1) : rest;
        trough = std::min(trough, value);
        if ((value - rest) / COUNTS_PER_MM > 10.0 && (value - trough) / COUNTS_PER_MM >= 5.0
            && value > compression.get(i - 1) && value >= next) {
            ++result.strokes;
            trough = value;
        }
    }
    return result;
}

TEST(RecordedData, theStationCountsEveryRecordedStroke)
{
    DemoState demo;
    // Ports 249, 247 and 248 replay the good, mediocre and poor sets.
    const DemoSession good = replayOnTheStation(249, demo.state().collectedDataSet(0)->compression());
    const DemoSession mediocre = replayOnTheStation(247, demo.state().collectedDataSet(1)->compression());
    const DemoSession poor = replayOnTheStation(248, demo.state().collectedDataSet(2)->compression());
    for (const DemoSession* set : {&good, &mediocre, &poor}) {
        EXPECT_GT(set->strokes, 40u);
        EXPECT_EQ(static_cast<std::size_t>(set->compressions), set->strokes);
    }
    // The good trainee releases every stroke; the weaker ones lean, the poor one most.
    EXPECT_EQ(good.leanings, 0);
    EXPECT_GT(mediocre.leanings, 0);
    EXPECT_GT(poor.leanings, mediocre.leanings);
    EXPECT_NEAR(good.averageDepth, 54.0, 3.0);
    EXPECT_LT(poor.averageDepth, mediocre.averageDepth);
}

// Ten minutes on each recorded-data port, as the station's analysers see
// them: the recording wraps nine times, and at every seam the trainee goes
// on with the next whole cycle. Each series holds the plan's compressions at
// the plan's rate (a fast cycle's where the plan has one) and is followed by
// the plan's ventilations; the last may be cut short by the session's end.
TEST(RecordedData, aLoopedPerformanceGoesOnCycleByCycle)
{
    DemoState demo;
    constexpr std::size_t TEN_MINUTES = 10 * 60 * recordeddata::SAMPLE_RATE;
    const std::vector<recordeddata::RecordedPerformance> performances = recordeddata::recordedPerformances();
    // Ports 249, 247 and 248 replay sets 0, 1 and 2.
    const int ports[] = {249, 247, 248};
    for (std::size_t set = 0; set < performances.size(); ++set) {
        const manikinsim::PerformancePlan& plan = performances[set].plan;
        SCOPED_TRACE(ports[set]);
        platform::ManualClock clock;
        platform::ScopedClock installed(clock);
        SerialPort port;
        ASSERT_EQ(port.open(ports[set]), SerialPort::OPEN_SUCCESS);
        ManikinReader reader(port);
        reader.startCalibration();
        reader.start();
        AlgorithmRecord algorithm;
        algorithm.ventCompRatioSingleComp = plan.compressionsPerCycle;
        algorithm.ventCompRatioSingleVent = plan.ventilationsPerCycle;
        CommSession session;
        session.setAlgorithm(&algorithm);
        session.trainingMode = 0;
        session.attach(reader);
        for (std::size_t tick = 0; tick < TEN_MINUTES; ++tick) {
            clock.advance(1000 / recordeddata::SAMPLE_RATE);
            reader.update();
            session.processNewSamples();
        }
        session.evaluate();
        ASSERT_EQ(session.manData.size(), TEN_MINUTES);

        const std::vector<CompressionSeries>& series = session.compressionSeries();
        const std::size_t loops = TEN_MINUTES / recordeddata::CHANNEL_SAMPLES;
        const auto cyclesPerLoop = static_cast<std::size_t>(plan.cycles);
        EXPECT_GE(series.size(), loops * cyclesPerLoop);
        EXPECT_LE(series.size(), (loops + 1) * cyclesPerLoop);
        for (std::size_t i = 0; i < series.size(); ++i) {
            SCOPED_TRACE("series " + std::to_string(i) + " from sample " + std::to_string(series[i].firstStart));
            const std::size_t count = series[i].records.size();
            if (i + 1 < series.size())
                EXPECT_EQ(count, static_cast<std::size_t>(plan.compressionsPerCycle));
            else
                EXPECT_LE(count, static_cast<std::size_t>(plan.compressionsPerCycle));
            if (count < 10)
                continue;
            // The loop plays the plan's cycles in their order, again and again.
            const int cycle = static_cast<int>(i % cyclesPerLoop) + 1;
            const bool fast = plan.fastEvery > 0 && cycle % plan.fastEvery == 0;
            const double planned = plan.compressionRate * (fast ? 1.4 : 1.0);
            EXPECT_NEAR(series[i].peakFrequency * recordeddata::SAMPLE_RATE * 60, planned, 0.06 * planned);
        }
        // Every series but perhaps the last is a cycle of the plan's ratio.
        EXPECT_GE(static_cast<std::size_t>(session.getNrCycles()) + 1, series.size());
        EXPECT_EQ(session.getCyclesOK(), session.getNrCycles());
    }
}

TEST(RecordedData, channelsWrapOnTheirOwn)
{
    const CollectedDataSet set(0);
    EXPECT_EQ(set.ecg().get(1148), set.ecg().get(0));
    EXPECT_EQ(set.ecg().get(1148 + 7), set.ecg().get(7));
    EXPECT_EQ(set.compression().get(1275 + 40), set.compression().get(40));
    // After the first wrap the channels drift apart: sample 1148 pairs ECG 0
    // with compression 1148.
    const ManikinSample sample = set.sample(1148);
    EXPECT_EQ(sample.compression, set.compression().get(1148));
    EXPECT_EQ(sample.ecg, std::max(set.ecg().get(0), set.compression().get(1148)));
    EXPECT_EQ(sample.error, set.error().get(1148));
}

TEST(RecordedData, theEcgCarriesTheCompressionsAsArtefact)
{
    const CollectedDataSet set(1);
    for (std::size_t i = 0; i < 1300; ++i) {
        const ManikinSample sample = set.sample(i);
        ASSERT_EQ(sample.ecg, std::max<int>(set.ecg().get(i), set.compression().get(i))) << i;
        ASSERT_EQ(sample.ventilation, set.ventilation().get(i));
    }
}

TEST(RecordedData, aMissingResourceIsLoggedAndReadsSilence)
{
    const CollectedData missing(4242);
    EXPECT_EQ(missing.size(), 0u);
    EXPECT_EQ(missing.get(0), 0);
    EXPECT_EQ(missing.get(12345), 0);
    const std::string log = kovatest::readFile(LogStream::instance().path());
    EXPECT_NE(log.find("CollectedData.cpp"), std::string::npos);
}

TEST(RecordedDataPorts, replaySetPortNumberModuloThree)
{
    DemoState demo;
    const struct {
        int port;
        int set;
    } cases[] = {{247, 1}, {248, 2}, {249, 0}, {250, 1}, {256, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        SerialPort port;
        ASSERT_EQ(port.open(c.port), SerialPort::OPEN_SUCCESS);
        EXPECT_TRUE(port.isRecordedDataPort());
        EXPECT_TRUE(port.isConnected());
        EXPECT_TRUE(port.isAlive());
        EXPECT_EQ(port.getRecordedData(), demo.state().collectedDataSet(c.set));
        EXPECT_EQ(port.readPending(), 0);
        // Closing a replay touches nothing; it opens again at once.
        EXPECT_TRUE(port.close());
        EXPECT_EQ(port.open(-1), SerialPort::OPEN_SUCCESS);
    }
}

TEST(RecordedDataPorts, withoutDemonstrationTheyAreComPorts)
{
    DemoState plain("");
    ScopedPortMap map("");
    SerialPort port;
    EXPECT_FALSE(plain.state().demoMode());
    EXPECT_EQ(port.open(250), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    EXPECT_FALSE(port.isRecordedDataPort());
    EXPECT_EQ(port.getRecordedData(), nullptr);
}

TEST(RecordedDataPorts, anImpossibleSelectionFallsBackToTheFirstSet)
{
    DemoState demo;
    SerialPort port;
    port.selectRecordedData(-4);
    EXPECT_EQ(port.getRecordedData(), demo.state().collectedDataSet(0));
}

} // namespace
