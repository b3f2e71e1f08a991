// One English debriefing page with every row, with the six icon legends
// and without them. The icon strip is decoded by the first page only, so a
// page with legends costs no more than about twice one without.

#include "CPB/BarGenerator.h"
#include "CPB/CPBIconStrip.h"
#include "CPB/DebriefGenerator.h"
#include "config/PropertyModel.h"

#include <benchmark/benchmark.h>

namespace {

void debriefPage(benchmark::State& state)
{
    PropertyModel settings;
    settings.enableLegends = state.range(0) != 0;
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

} // namespace

BENCHMARK(debriefPage)->ArgName("legends")->Arg(0)->Arg(1);

BENCHMARK_MAIN();
