// recorded-data: writes the twelve channels of the three recorded
// demonstration performances (good, mediocre, poor) as files named by their
// resource id into the given folder. The same bytes come out on every run.
//
// A replay wraps each channel on its own, so a channel must hold whole
// cycles: the pause between compressions and ventilations is fitted (within
// a few tenths of a second of the plan's) so that the plan's cycles take the
// channel's length to the sample, and the channel is cut in the middle of the
// rest after the last ventilations. Played in a loop, the trainee then goes
// on with the first cycle after the same rest as between any two cycles.

#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"
#include "recorded-data/RecordedPerformances.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using recordeddata::CHANNEL_SAMPLES;

// The samples the plan takes until its cycles are done, or none when it
// takes more than `limit`.
std::optional<std::size_t> planLength(const manikinsim::PerformancePlan& plan, std::size_t limit)
{
    manikinsim::PerformanceGenerator generator(plan);
    for (std::size_t i = 1; i <= limit; ++i) {
        generator.next();
        if (generator.finished())
            return i;
    }
    return std::nullopt;
}

// The plan with its pause fitted so its cycles take exactly `samples`: the
// pause lengthens every cycle smoothly, so bisection finds it. None when it
// would have to move further than half the plan's pause either way.
std::optional<manikinsim::PerformancePlan> fittedPlan(manikinsim::PerformancePlan plan, std::size_t samples)
{
    const auto tooLong = [&](double pause) {
        plan.pauseSeconds = pause;
        return !planLength(plan, samples).has_value();
    };
    double low = 0.5 * plan.pauseSeconds;
    double high = 1.5 * plan.pauseSeconds;
    if (tooLong(low) || !tooLong(high))
        return std::nullopt;
    for (int step = 0; step < 60; ++step) {
        const double middle = 0.5 * (low + high);
        plan.pauseSeconds = middle;
        const std::optional<std::size_t> length = planLength(plan, samples);
        if (length == samples)
            return plan;
        (length ? low : high) = middle;
    }
    return std::nullopt;
}

bool writeChannel(const std::filesystem::path& folder, int id, const std::vector<unsigned char>& bytes)
{
    const std::filesystem::path target = folder / std::to_string(id);
    const std::filesystem::path temporary = folder / (std::to_string(id) + ".tmp");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    return !error;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: recorded-data OUTPUT-FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const recordeddata::RecordedPerformance& performance : recordeddata::recordedPerformances()) {
        const std::optional<manikinsim::PerformancePlan> plan = fittedPlan(performance.plan, CHANNEL_SAMPLES);
        if (!plan) {
            std::fprintf(stderr, "recorded-data: the cycles of %d do not fit %zu samples\n", performance.ids[0],
                         CHANNEL_SAMPLES);
            return 1;
        }
        // The plan ends with the rest after its last ventilations; the
        // channel begins with the second half of that rest.
        const auto restAtStart = static_cast<std::size_t>(std::lround(0.5 * plan->pauseSeconds * plan->sampleRate));
        manikinsim::PerformanceGenerator generator(*plan);
        std::array<std::vector<unsigned char>, 4> channels;
        for (auto& channel : channels)
            channel.resize(std::max(CHANNEL_SAMPLES, performance.ecgSamples));
        const std::size_t samples = std::max(CHANNEL_SAMPLES, performance.ecgSamples);
        for (std::size_t i = 0; i < samples; ++i) {
            const manikinsim::PerformanceSample sample = generator.next();
            if (i < CHANNEL_SAMPLES) {
                const std::size_t at = (i + restAtStart) % CHANNEL_SAMPLES;
                channels[0][at] = static_cast<unsigned char>(sample.compression);
                channels[1][at] = static_cast<unsigned char>(sample.ventilation);
                channels[2][at] = manikinsim::recordedStatus(sample);
            }
            // The heart beats on its own, whatever the hands do.
            channels[3][i] = static_cast<unsigned char>(sample.ecg);
        }
        for (std::size_t channel = 0; channel < 3; ++channel)
            channels[channel].resize(CHANNEL_SAMPLES);
        channels[3].resize(performance.ecgSamples);
        for (std::size_t channel = 0; channel < channels.size(); ++channel) {
            if (!writeChannel(folder, performance.ids[channel], channels[channel])) {
                std::fprintf(stderr, "recorded-data: cannot write %d into %s\n", performance.ids[channel],
                             folder.string().c_str());
                return 1;
            }
        }
    }
    return 0;
}
