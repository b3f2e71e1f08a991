// The reader on the station's real manikin link: recorded demonstration ports.

#include "comm/CollectedDataSet.h"
#include "comm/LinkEnvironment.h"
#include "comm/ManikinReader.h"
#include "comm/Measurement.h"
#include "comm/SerialPort.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

// A channel whose byte i is base + i, wrapping after size bytes.
CollectedData channel(int base, std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(base + i);
    return CollectedData(std::move(bytes));
}

class DemoEnvironment final : public LinkEnvironment {
public:
    DemoEnvironment()
    {
        for (int set = 0; set < 3; ++set)
            sets_[set] = std::make_unique<CollectedDataSet>(channel(10 * set + 20, 5), channel(10 * set + 100, 5),
                                                            channel(12, 5),
                                                            CollectedData({200, 0, 0}));
        setInstance(this);
    }
    ~DemoEnvironment() override { setInstance(nullptr); }

    bool demoMode() const override { return true; }
    int commDelay() const override { return 0; }
    const CollectedDataSet* collectedDataSet(int index) const override { return sets_[index].get(); }

private:
    std::array<std::unique_ptr<CollectedDataSet>, 3> sets_;
};

} // namespace

TEST(ReaderOnLink, recordedPortReplaysItsSetOneSamplePerTick)
{
    DemoEnvironment demo;
    SerialPort port;
    ManikinReader reader(port);
    ASSERT_EQ(reader.open(250), 10); // 250 % 3 = 1
    EXPECT_DOUBLE_EQ(reader.currentRate(), 20.0);
    reader.update();
    EXPECT_FALSE(reader.hasSample()) << "nothing is replayed before the start";

    reader.start();
    std::vector<ManikinSample> samples;
    for (int tick = 0; tick < 6; ++tick) {
        reader.update();
        samples.push_back(reader.popSample());
    }
    // Channels of 5 bytes, an ECG channel of 3 that wraps on its own, and the
    // ECG value never below the compression.
    const std::vector<ManikinSample> expected{
        {30, 110, 12, 200}, {31, 111, 13, 31}, {32, 112, 14, 32},
        {33, 113, 15, 200}, {34, 114, 16, 34}, {30, 110, 12, 30},
    };
    EXPECT_EQ(samples, expected);

    reader.stop();
    reader.update();
    EXPECT_FALSE(reader.hasSample());
}

TEST(ReaderOnLink, recordedPortCalibratesAtOnceAndConvertsWithoutTheLiveCorrection)
{
    DemoEnvironment demo;
    SerialPort port;
    ManikinReader reader(port);
    ASSERT_EQ(reader.open(249), 10); // set 0
    reader.startCalibration();
    EXPECT_EQ(reader.getCalibrationStatus(), 6);
    EXPECT_EQ(port.getCompressionOffset(), 20);
    EXPECT_EQ(port.getVentilationOffset(), 100);

    const Measurement measurement = reader.convert(reader.applyOffsets({60, 212, 204, 9}));
    EXPECT_DOUBLE_EQ(measurement.depth, 40 / 4.04);
    EXPECT_DOUBLE_EQ(measurement.volume, 112 / 112.0);
    EXPECT_EQ(measurement.wrongHandPosition, 1);
    EXPECT_EQ(measurement.ecg, 9);
}
