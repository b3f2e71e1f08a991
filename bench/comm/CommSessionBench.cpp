// Speed and memory of the measurement store over a 60-minute session at 50
// samples per second, synthesised by the manikin simulator's performance
// generator and sent as a wireless manikin's frames: the live pipeline per
// sample (the reader parsing and converting, the session filtering and
// analysing), loading the session's measurement text with its analysis, the
// evaluation, and a baseline that only converts the text's numbers with
// strtod. Prints the ratios against the baseline.

#include "FakeReaderPort.h"
#include "RatioReporter.h"
#include "comm/session/CommSession.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "config/AlgorithmRecord.h"
#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int SAMPLE_RATE = 50;
constexpr std::size_t SESSION_SAMPLES = 60 * 60 * SAMPLE_RATE;
// One sample arrives in each 20 ms tick at 50 samples per second.
constexpr std::uint32_t TICK_MS = 20;

manikinsim::PerformancePlan plan()
{
    manikinsim::PerformancePlan p;
    p.sampleRate = SAMPLE_RATE;
    p.scale = manikinsim::CountScale::framedKind3or4();
    p.shallowEvery = 7;
    p.fastEvery = 5;
    p.stomachInflationEvery = 9;
    p.wrongHandPositionEvery = 11;
    return p;
}

// The performance as a wireless kind-3 manikin sends it: one frame a sample.
struct SessionFrames {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> ends; // where each sample's frame ends in bytes
};

const SessionFrames& sessionFrames()
{
    static const SessionFrames frames = [] {
        manikinsim::PerformanceGenerator generator(plan());
        manikinsim::FrameEncoder encoder(true);
        SessionFrames out;
        out.ends.reserve(SESSION_SAMPLES);
        for (std::size_t i = 0; i < SESSION_SAMPLES; ++i) {
            const auto frame = encoder.encode(generator.next());
            out.bytes.insert(out.bytes.end(), frame.begin(), frame.end());
            out.ends.push_back(out.bytes.size());
        }
        return out;
    }();
    return frames;
}

// A real reader on a scripted wireless link that delivers the session's
// frames tick by tick on a clock of its own.
class LiveManikin {
public:
    LiveManikin()
        : installed_(clock_)
    {
        state_.portNumber = FIRST_WIRELESS_PORT;
        state_.linkType = SerialPort::LINK_WIRELESS;
        state_.kindIs3or4 = true;
        state_.kindIs3 = true;
        reader_ = std::make_unique<ManikinReader>(std::make_unique<FakeReaderPort>(state_));
        reader_->restartTimers();
        reader_->start();
    }

    ManikinReader& reader() { return *reader_; }
    // One tick: the next sample's frame arrives and the reader drains the link.
    void tick()
    {
        const SessionFrames& frames = sessionFrames();
        const std::size_t begin = next_ == 0 ? 0 : frames.ends[next_ - 1];
        state_.incoming.insert(state_.incoming.end(), frames.bytes.begin() + static_cast<std::ptrdiff_t>(begin),
                               frames.bytes.begin() + static_cast<std::ptrdiff_t>(frames.ends[next_]));
        ++next_;
        clock_.advance(TICK_MS);
        reader_->update();
    }
    bool done() const { return next_ >= sessionFrames().ends.size(); }

private:
    platform::ManualClock clock_;
    platform::ScopedClock installed_;
    FakeReaderPort::State state_;
    std::unique_ptr<ManikinReader> reader_;
    std::size_t next_ = 0;
};

const AlgorithmRecord& algorithm()
{
    static const AlgorithmRecord record;
    return record;
}

void runLiveSession(CommSession& session, LiveManikin& manikin)
{
    session.setAlgorithm(&algorithm());
    session.attach(manikin.reader());
    while (!manikin.done()) {
        manikin.tick();
        session.processNewSamples();
    }
}

const std::string& sessionText()
{
    static const std::string text = [] {
        LiveManikin manikin;
        CommSession session;
        runLiveSession(session, manikin);
        std::ostringstream out;
        if (!session.save(out))
            std::abort();
        return out.str();
    }();
    return text;
}

// Bytes the store holds per sample: the measurements with their spare
// room, the compression and ventilation records and the series summaries.
double storeBytesPerSample(const CommSession& session)
{
    double bytes = static_cast<double>(session.manData.capacity() * sizeof(Measurement));
    for (const CompressionSeries& s : session.compressionSeries())
        bytes += sizeof(CompressionSeries) + s.records.capacity() * sizeof(CompressionRecord);
    for (const VentilationGroup& g : session.ventilationGroups())
        bytes += sizeof(VentilationGroup) + g.records.capacity() * sizeof(VentilationRecord);
    // A map node: the key and value with three pointers and a colour.
    bytes += session.seriesSummaries().size() * (sizeof(std::int32_t) + sizeof(SeriesSummary) + 32);
    return bytes / static_cast<double>(session.manData.size());
}

void BM_ProcessNewSamples(benchmark::State& state)
{
    sessionFrames();
    double bytesPerSample = 0;
    for (auto _ : state) {
        LiveManikin manikin;
        CommSession session;
        runLiveSession(session, manikin);
        if (session.manData.size() != SESSION_SAMPLES)
            state.SkipWithError("the reader lost samples on the way");
        benchmark::DoNotOptimize(session.manData.data());
        bytesPerSample = storeBytesPerSample(session);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * SESSION_SAMPLES));
    state.counters["ns_per_sample"] =
        benchmark::Counter(static_cast<double>(SESSION_SAMPLES), benchmark::Counter::kIsIterationInvariantRate |
                                                                    benchmark::Counter::kInvert);
    state.counters["store_bytes_per_sample"] = bytesPerSample;
}

void BM_LoadMeasurementText(benchmark::State& state)
{
    const std::string& text = sessionText();
    for (auto _ : state) {
        // The text stands for the data file in the page cache: making it is not loading it.
        state.PauseTiming();
        std::istringstream in(text);
        state.ResumeTiming();
        CommSession session;
        session.setAlgorithm(&algorithm());
        if (!session.load(in, SAMPLE_RATE))
            state.SkipWithError("the session text did not load");
        benchmark::DoNotOptimize(session.manData.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Evaluate(benchmark::State& state)
{
    std::istringstream in(sessionText());
    CommSession session;
    session.setAlgorithm(&algorithm());
    session.load(in, SAMPLE_RATE);
    for (auto _ : state) {
        session.evaluate();
        benchmark::DoNotOptimize(session.getNrCompressions());
    }
    state.counters["compressions"] = session.getNrCompressions();
    state.counters["ventilations"] = session.getNrVentilations();
}

void BM_StrtodBaseline(benchmark::State& state)
{
    const std::string& text = sessionText();
    for (auto _ : state) {
        const char* p = text.c_str();
        char* end = nullptr;
        double sum = 0;
        std::size_t numbers = 0;
        for (double v = std::strtod(p, &end); end != p; v = std::strtod(p, &end)) {
            sum += v;
            ++numbers;
            p = end;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(numbers);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_ProcessNewSamples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMeasurementText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Evaluate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrtodBaseline)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter;
    if (!reporter.run(argc, argv))
        return 1;

    const auto time = [&](const char* name) { return reporter.seconds(name); };
    const double baseline = time("BM_StrtodBaseline");
    const double live = time("BM_ProcessNewSamples");
    if (live > 0)
        std::printf("processNewSamples: %.3f us per sample (target under 2 us)\n", live / SESSION_SAMPLES * 1e6);
    if (baseline > 0) {
        std::printf("load / strtod baseline: %.2f (target at most 3)\n", time("BM_LoadMeasurementText") / baseline);
        std::printf("evaluate / strtod baseline: %.2f (target at most 1)\n", time("BM_Evaluate") / baseline);
    }
    return 0;
}
