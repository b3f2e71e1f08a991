// Speed and memory of the measurement store over a 60-minute session at 50
// samples per second, synthesised by the manikin simulator's performance
// generator: the live pipeline per sample, loading the session's measurement
// text with its analysis, the evaluation, and a baseline that only converts
// the text's numbers with strtod. Prints the ratios against the baseline.

#include "config/AlgorithmRecord.h"
#include "comm/CommSession.h"
#include "manikin-sim/PerformanceGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int SAMPLE_RATE = 50;
constexpr std::size_t SESSION_SAMPLES = 60 * 60 * SAMPLE_RATE;
// Samples per 20 ms tick at 50 samples per second.
constexpr std::size_t SAMPLES_PER_TICK = 1;

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

const std::vector<ManikinSample>& sessionSamples()
{
    static const std::vector<ManikinSample> samples = [] {
        manikinsim::PerformanceGenerator generator(plan());
        std::vector<ManikinSample> out;
        out.reserve(SESSION_SAMPLES);
        for (std::size_t i = 0; i < SESSION_SAMPLES; ++i) {
            const manikinsim::PerformanceSample s = generator.next();
            const int status = s.stomachInflation ? (s.wrongHandPosition ? 0x8C : 0x0C) : (s.wrongHandPosition ? 0xCC : 0);
            out.push_back(ManikinSample{s.compression, s.ventilation, status, s.ecg});
        }
        return out;
    }();
    return samples;
}

// The recorded performance as a framed kind-3 manikin would deliver it.
class PerformanceSource final : public SampleSource {
public:
    explicit PerformanceSource(const std::vector<ManikinSample>& samples) : samples_(samples) {}

    void deliver(std::size_t count) { available_ = std::min(samples_.size(), available_ + count); }
    bool hasSample() const override { return next_ < available_; }
    ManikinSample popSample() override { return samples_[next_++]; }
    ManikinSample applyOffsets(const ManikinSample& s) const override
    {
        ManikinSample corrected = s;
        corrected.compression = s.compression - restCompression_ < 8 ? 0 : s.compression - restCompression_;
        corrected.ventilation = s.ventilation - restVentilation_ < 8 ? 0 : s.ventilation - restVentilation_;
        return corrected;
    }
    Measurement convert(const ManikinSample& s) const override
    {
        Measurement m;
        m.depth = s.compression * 0.29411764705882354 * 1.25;
        m.volume = s.ventilation * 0.013 * 0.6;
        m.ecg = s.ecg;
        m.stomachInflation = s.error == 0x0C || s.error == 0x8C;
        m.wrongHandPosition = s.error == 0x8C || s.error == 0xCC;
        return m;
    }
    double currentRate() const override { return SAMPLE_RATE; }
    int linkType() const override { return 3; }
    bool done() const { return next_ >= samples_.size(); }

private:
    const std::vector<ManikinSample>& samples_;
    std::size_t next_ = 0;
    std::size_t available_ = 0;
    int restCompression_ = plan().restCompression;
    int restVentilation_ = plan().restVentilation;
};

const AlgorithmRecord& algorithm()
{
    static const AlgorithmRecord record;
    return record;
}

void runLiveSession(CommSession& session, PerformanceSource& source)
{
    session.setAlgorithm(&algorithm());
    session.attach(source);
    while (!source.done()) {
        source.deliver(SAMPLES_PER_TICK);
        session.processNewSamples();
    }
}

const std::string& sessionText()
{
    static const std::string text = [] {
        PerformanceSource source(sessionSamples());
        CommSession session;
        runLiveSession(session, source);
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
    const auto& samples = sessionSamples();
    double bytesPerSample = 0;
    for (auto _ : state) {
        PerformanceSource source(samples);
        CommSession session;
        runLiveSession(session, source);
        benchmark::DoNotOptimize(session.manData.data());
        bytesPerSample = storeBytesPerSample(session);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * samples.size()));
    state.counters["ns_per_sample"] =
        benchmark::Counter(static_cast<double>(samples.size()), benchmark::Counter::kIsIterationInvariantRate |
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

// Keeps the time of every run so the ratios to the baseline can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0)
                seconds[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto time = [&](const char* name) {
        const auto it = reporter.seconds.find(name);
        return it == reporter.seconds.end() ? 0.0 : it->second;
    };
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
