// Speed of the debriefing over a 60-minute session at 50 samples per second,
// performed by the manikin simulator's performance generator: the measurement
// store's evaluation alone, and the evaluation with every row's texts and
// marker as a refresh of the debriefing computes them. Prints the ratio.

#include "HourOfPerformance.h"
#include "RatioReporter.h"
#include "SimulatedManikin.h"
#include "app/debriefing/DebriefEvaluation.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace hourofperformance;

const AlgorithmRecord& algorithm()
{
    static const AlgorithmRecord record;
    return record;
}

// The whole session in one measurement store, fed through a real reader on
// a manikin that stays attached, as a live session's does.
struct PerformedSession {
    SimulatedManikin manikin{plan()};
    CommSession session;

    PerformedSession()
    {
        session.setAlgorithm(&algorithm());
        session.attach(manikin.reader());
        session.manData.reserve(SESSION_SAMPLES);
        while (session.manData.size() < SESSION_SAMPLES) {
            if (!manikin.tick())
                std::abort();
            session.processNewSamples();
        }
    }
};

CommSession& session()
{
    static PerformedSession performed;
    return performed.session;
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

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter;
    if (!reporter.run(argc, argv))
        return 1;

    const double evaluate = reporter.seconds("BM_Evaluate");
    if (evaluate > 0)
        std::printf("evaluate with the row texts / evaluate: %.3f (target at most 1.1)\n",
                    reporter.seconds("BM_EvaluateWithRowTexts") / evaluate);
    return 0;
}
