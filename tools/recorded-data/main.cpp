// recorded-data: writes the twelve channels of the three recorded
// demonstration performances (good, mediocre, poor) as files named by their
// resource id into the given folder. The same bytes come out on every run.

#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t CHANNEL_SAMPLES = 1275;
constexpr int SAMPLE_RATE = 20;

struct RecordedSet {
    std::array<int, 4> ids;  // compression, ventilation, error, ECG
    std::size_t ecgSamples;
    manikinsim::PerformancePlan plan;
};

manikinsim::PerformancePlan basePlan()
{
    manikinsim::PerformancePlan plan;
    plan.sampleRate = SAMPLE_RATE;
    plan.scale = manikinsim::CountScale::recorded();
    plan.restCompression = 6;
    plan.restVentilation = 4;
    plan.leadInSeconds = 1.5;
    return plan;
}

std::vector<RecordedSet> recordedSets()
{
    // A trainee who keeps to the guideline.
    manikinsim::PerformancePlan good = basePlan();
    good.compressionRate = 108.0;
    good.compressionDepthMm = 54.0;
    good.ventilationVolumeLitres = 0.55;
    good.jitter = 0.03;
    good.wrongHandPositionEvery = 70;
    good.heartRate = 72.0;
    good.seed = 0x1F2E3D4Cu;

    // Too fast now and then, often shallow, leaning now and then, big ventilations.
    manikinsim::PerformancePlan mediocre = basePlan();
    mediocre.compressionRate = 118.0;
    mediocre.compressionDepthMm = 47.0;
    mediocre.ventilationVolumeLitres = 0.8;
    mediocre.jitter = 0.07;
    mediocre.shallowEvery = 4;
    mediocre.fastEvery = 2;
    mediocre.stomachInflationEvery = 3;
    mediocre.wrongHandPositionEvery = 23;
    mediocre.leanEvery = 9;
    mediocre.pauseSeconds = 1.2;
    mediocre.heartRate = 88.0;
    mediocre.seed = 0x5A17C0DEu;

    // Slow and shallow, hands misplaced and leaning, stomach inflated, long pauses.
    manikinsim::PerformancePlan poor = basePlan();
    poor.compressionRate = 92.0;
    poor.compressionDepthMm = 38.0;
    poor.ventilationVolumeLitres = 1.05;
    poor.jitter = 0.12;
    poor.shallowEvery = 2;
    poor.fastEvery = 3;
    poor.stomachInflationEvery = 2;
    poor.wrongHandPositionEvery = 6;
    poor.leanEvery = 4;
    poor.pauseSeconds = 2.5;
    poor.inflationSeconds = 1.4;
    poor.heartRate = 130.0;
    poor.seed = 0x0BADF00Du;

    return {
        {{169, 170, 171, 308}, 1148, good},
        {{177, 174, 173, 309}, 1276, mediocre},
        {{175, 172, 176, 310}, 1276, poor},
    };
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
    for (const RecordedSet& set : recordedSets()) {
        manikinsim::PerformanceGenerator generator(set.plan);
        std::array<std::vector<unsigned char>, 4> channels;
        const std::size_t samples = std::max(CHANNEL_SAMPLES, set.ecgSamples);
        for (std::size_t i = 0; i < samples; ++i) {
            const manikinsim::PerformanceSample sample = generator.next();
            if (i < CHANNEL_SAMPLES) {
                channels[0].push_back(static_cast<unsigned char>(sample.compression));
                channels[1].push_back(static_cast<unsigned char>(sample.ventilation));
                channels[2].push_back(manikinsim::recordedStatus(sample));
            }
            if (i < set.ecgSamples)
                channels[3].push_back(static_cast<unsigned char>(sample.ecg));
        }
        for (std::size_t channel = 0; channel < channels.size(); ++channel) {
            if (!writeChannel(folder, set.ids[channel], channels[channel])) {
                std::fprintf(stderr, "recorded-data: cannot write %d into %s\n", set.ids[channel],
                             folder.string().c_str());
                return 1;
            }
        }
    }
    return 0;
}
