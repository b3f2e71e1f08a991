// One English debriefing page with every row, with the six icon legends
// and without them. The icon strip is decoded by the first page only, so a
// page with legends costs no more than about twice one without.

#include "CPB/BarGenerator.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/DebriefGenerator.h"
#include "config/PropertyModel.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

void makePage(benchmark::State& state, bool legends)
{
    PropertyModel settings;
    settings.enableLegends = legends;
    settings.iconLegends = {"Compressions", "Ventilations", "Pulse check", "Defibrillator", "Airway", "Help"};
    const BarGenerator bars{AlgorithmRecord()};
    {
        // The first page of the program loads the icons.
        const DebriefGenerator first(settings, 0, bars, "AHA 2010");
        if (settings.enableLegends && CPBIconStrip::forSide(CPBIcon::SMALL_SIDE).count() == 0)
            state.SetLabel("no icon strip in this build: blank pictures");
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        const DebriefGenerator page(settings, 0, bars, "AHA 2010");
        bytes += page.size();
        benchmark::DoNotOptimize(page.getData().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_PageWithoutLegends(benchmark::State& state) { makePage(state, false); }
void BM_PageWithLegends(benchmark::State& state) { makePage(state, true); }

BENCHMARK(BM_PageWithoutLegends);
BENCHMARK(BM_PageWithLegends);

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter;
    if (!reporter.run(argc, argv))
        return 1;

    const double without = reporter.seconds("BM_PageWithoutLegends");
    if (without > 0)
        std::printf("page with legends / page without: %.2f (target at most 2)\n",
                    reporter.seconds("BM_PageWithLegends") / without);
    return 0;
}
