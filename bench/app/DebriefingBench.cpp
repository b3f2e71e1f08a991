// Speed of the debriefing over a 60-minute session at 50 samples per second,
// performed by the manikin simulator's performance generator: the measurement
// store's evaluation alone, and the evaluation with every row's texts and
// marker as a refresh of the debriefing computes them. Prints the ratio.

#include "app/DebriefEvaluation.h"
#include "comm/CommSession.h"
#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"
#include "manikin-sim/PerformanceGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int SAMPLE_RATE = 50;
constexpr std::size_t SESSION_SAMPLES = 60 * 60 * SAMPLE_RATE;

// A trainee with a bit of every fault, so every remark has parts to build.
manikinsim::PerformancePlan plan()
{
    manikinsim::PerformancePlan p;
    p.sampleRate = SAMPLE_RATE;
    p.scale = manikinsim::CountScale::framedKind3or4();
    p.restCompression = p.restVentilation = 0;
    p.shallowEvery = 7;
    p.fastEvery = 5;
    p.leanEvery = 13;
    p.stomachInflationEvery = 9;
    p.wrongHandPositionEvery = 11;
    return p;
}

const AlgorithmRecord& algorithm()
{
    static const AlgorithmRecord record;
    return record;
}

// The whole session in one measurement store, its measurements taken as the
// manikin's counts scaled to millimetres and litres.
std::unique_ptr<CommSession> performedSession()
{
    auto session = std::make_unique<CommSession>();
    session->setAlgorithm(&algorithm());
    session->sampleRate = SAMPLE_RATE;
    const manikinsim::PerformancePlan p = plan();
    manikinsim::PerformanceGenerator generator(p);
    session->manData.reserve(SESSION_SAMPLES);
    for (std::size_t i = 0; i < SESSION_SAMPLES; ++i) {
        const manikinsim::PerformanceSample s = generator.next();
        Measurement m;
        m.depth = s.compression / p.scale.countsPerMm;
        m.volume = s.ventilation / p.scale.countsPerLitre;
        m.ecg = s.ecg;
        m.stomachInflation = s.stomachInflation ? 1 : 0;
        m.wrongHandPosition = s.wrongHandPosition ? 1 : 0;
        session->appendMeasurement(m);
    }
    return session;
}

CommSession& session()
{
    static const std::unique_ptr<CommSession> performed = performedSession();
    return *performed;
}

void BM_Evaluate(benchmark::State& state)
{
    CommSession& s = session();
    for (auto _ : state) {
        s.evaluate();
        benchmark::DoNotOptimize(s.getNrCompressions());
    }
    state.counters["compressions"] = s.getNrCompressions();
    state.counters["ventilations"] = s.getNrVentilations();
}

void BM_EvaluateWithRowTexts(benchmark::State& state)
{
    CommSession& s = session();
    const PropertyModel settings;
    for (auto _ : state) {
        s.evaluate();
        const DebriefEvaluation evaluation = DebriefEvaluation::of(s, settings);
        for (int kind : DebriefEvaluation::shownKinds(s.trainingMode, settings)) {
            std::wstring total = L" ", average = L" ", remark = L" ";
            evaluation.evaluateRow(kind, total, average, remark);
            benchmark::DoNotOptimize(remark.data());
            benchmark::DoNotOptimize(evaluation.marker(kind));
        }
    }
}

BENCHMARK(BM_Evaluate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateWithRowTexts)->Unit(benchmark::kMillisecond);

// Keeps the time of every run so the ratios can be printed.
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
    const double evaluate = time("BM_Evaluate");
    if (evaluate > 0)
        std::printf("evaluate with the row texts / evaluate: %.3f (target at most 1.1)\n",
                    time("BM_EvaluateWithRowTexts") / evaluate);
    return 0;
}
