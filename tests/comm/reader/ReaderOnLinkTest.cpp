// The reader on the station's real manikin link: recorded demonstration ports.

#include "comm/link/CollectedDataSet.h"
#include "comm/link/LinkEnvironment.h"
#include "comm/reader/ManikinReader.h"
#include "comm/reader/Measurement.h"
#include "comm/link/SerialPort.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

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

TEST(ReaderOnLink, recordedPortReplaysItsSetAtTwentySamplesASecondOfTheClock)
{
    DemoEnvironment demo;
    platform::ManualClock clock;
    platform::ScopedClock installed(clock);
    SerialPort port;
    ManikinReader reader(port);
    ASSERT_EQ(reader.open(250), 10); // 250 % 3 = 1
    EXPECT_DOUBLE_EQ(reader.currentRate(), 20.0);
    clock.advance(1000);
    reader.update();
    EXPECT_FALSE(reader.hasSample()) << "nothing is replayed before the start";

    // Ticks of 20 ms: a sample every 50 ms, none ahead of its time.
    reader.start();
    std::vector<std::size_t> queuedAfterTick;
    for (int tick = 0; tick < 15; ++tick) {
        clock.advance(20);
        reader.update();
        queuedAfterTick.push_back(reader.queuedSamples());
    }
    EXPECT_EQ(queuedAfterTick, (std::vector<std::size_t>{0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 4, 4, 5, 5, 6}));
    std::vector<ManikinSample> samples;
    while (reader.hasSample())
        samples.push_back(reader.popSample());
    // Channels of 5 bytes, an ECG channel of 3 that wraps on its own, and the
    // ECG value never below the compression.
    const std::vector<ManikinSample> expected{
        {30, 110, 12, 200}, {31, 111, 13, 31}, {32, 112, 14, 32},
        {33, 113, 15, 200}, {34, 114, 16, 34}, {30, 110, 12, 30},
    };
    EXPECT_EQ(samples, expected);

    // A tick that comes a second late catches up with what that second holds.
    clock.advance(1000);
    reader.update();
    EXPECT_EQ(reader.queuedSamples(), 20u);
    while (reader.hasSample())
        reader.popSample();

    // Paused time holds nothing back for later.
    reader.stop();
    clock.advance(5000);
    reader.update();
    reader.start();
    clock.advance(49);
    reader.update();
    EXPECT_FALSE(reader.hasSample());
    clock.advance(1);
    reader.update();
    EXPECT_EQ(reader.queuedSamples(), 1u);
    EXPECT_DOUBLE_EQ(reader.currentRate(), 20.0);
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
