// One translation through the global catalog, found by hash and by halving,
// and the English fallback of a text the catalog lacks.

#include "gettext/Gettext.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> messageIds()
{
    std::vector<std::string> ids;
    for (int n = 1; n <= 2000; n += 7)
        ids.push_back("c|Message " + std::to_string(n) + " of the station");
    return ids;
}

void translateAll(benchmark::State& state, const char* catalog, const char* suffix)
{
    if (!Gettext::instance().setCatalog(std::string(KOVA_BENCH_CATALOGS) + "/" + catalog)) {
        state.SkipWithError("catalog missing");
        return;
    }
    std::vector<std::string> ids = messageIds();
    for (std::string& id : ids)
        id += suffix;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Gettext::translateString(ids[i]));
        i = (i + 1) % ids.size();
    }
    state.SetItemsProcessed(state.iterations());
    Gettext::instance().setCatalog("");
}

void BM_TranslateHashed(benchmark::State& state) { translateAll(state, "bench-de.mo", ""); }
void BM_TranslateBinarySearch(benchmark::State& state) { translateAll(state, "bench-nohash-de.mo", ""); }
void BM_TranslateMissing(benchmark::State& state) { translateAll(state, "bench-de.mo", " (new)"); }

} // namespace

BENCHMARK(BM_TranslateHashed);
BENCHMARK(BM_TranslateBinarySearch);
BENCHMARK(BM_TranslateMissing);
BENCHMARK_MAIN();
