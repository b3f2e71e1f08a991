// What the foundation costs where it runs often: a signal emitted on every
// sample, texts narrowed for every label, and a registry lookup, which reads
// the hive file afresh each time.
#include "Rodezir/Signal.h"
#include "Rodezir/SlotHolder.h"
#include "Rodezir/gstringUtil.h"
#include "platform/RegistryStore.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

class Listener : public SlotHolder {
public:
    void onSample(int index) { total += index; }
    long total = 0;
};

void signalEmission(benchmark::State& state)
{
    Signal<int> sampleAdded;
    std::vector<std::unique_ptr<Listener>> listeners;
    for (int i = 0; i < state.range(0); ++i) {
        listeners.push_back(std::make_unique<Listener>());
        connect(sampleAdded, *listeners.back(), &Listener::onSample);
    }
    int index = 0;
    for (auto _ : state)
        sampleAdded.notify(++index);
    benchmark::DoNotOptimize(listeners.front()->total);
}
BENCHMARK(signalEmission)->Arg(1)->Arg(10);

void narrowToAnsi(benchmark::State& state)
{
    const std::wstring text = L"Compression depth 45 mm \u00e9\u20ac, ventilation 0.5 l";
    for (auto _ : state)
        benchmark::DoNotOptimize(toCString(text));
}
BENCHMARK(narrowToAnsi);

void narrowToCodePage1252(benchmark::State& state)
{
    const std::wstring text = L"Compression depth 45 mm \u00e9\u20ac, ventilation 0.5 l";
    for (auto _ : state)
        benchmark::DoNotOptimize(toCString(text, 1252));
}
BENCHMARK(narrowToCodePage1252);

void registryLookup(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kova-bench-registry-" + std::to_string(::getpid()));
    platform::RegistryStore store(folder);
    for (int port = 1; port <= 32; ++port)
        store.setString(platform::RegistryRoot::User, "Software\\KOVA\\Ports", std::to_string(port), "/dev/ttyUSB" + std::to_string(port));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.getString(platform::RegistryRoot::User, "Software\\KOVA\\Ports", "17"));
    std::filesystem::remove_all(folder);
}
BENCHMARK(registryLookup);

} // namespace

BENCHMARK_MAIN();
