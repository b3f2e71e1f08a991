// The reader end to end: the station's link on a pseudo-terminal or a loopback
// TCP connection, with the simulated manikin on the other side streaming a
// scripted performance in real time.

#include "comm/session/CommSession.h"
#include "comm/reader/ManikinReader.h"
#include "comm/reader/Measurement.h"
#include "comm/link/SerialPort.h"
#include "config/AlgorithmRecord.h"
#include "manikin-sim/ManikinSimulator.h"
#include "platform/Clock.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"
#include "platform/SystemClock.h"

#include <arpa/inet.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using manikinsim::Handshake;
using manikinsim::ManikinSimulator;
using manikinsim::Misbehaviour;
using manikinsim::SimulatorOptions;
using manikinsim::Transport;

namespace {

constexpr int COM_PORT = 5;
constexpr int WIRELESS_SLOT = 300;

// Wireless manikins listen on the fixed port 2000, so each test process takes a
// loopback address drawn from its process id: two runs of the suite on one
// machine (or two cases at once) never meet each other's simulator.
std::string ownLoopbackAddress(int host)
{
    const unsigned pid = static_cast<unsigned>(::getpid());
    return "127." + std::to_string(84 + (pid >> 16) % 100) + "." + std::to_string((pid >> 8) & 0xFF) + "." +
           std::to_string(1 + (pid & 0xFF) % 200 + host);
}

struct Collected {
    std::vector<ManikinSample> samples;
    double maxDepth = 0.0;
    double maxVolume = 0.0;
};

// Ticks the reader every 20 ms, as the session timer does, for the given time.
Collected collect(ManikinReader& reader, int milliseconds)
{
    Collected result;
    for (int elapsed = 0; elapsed < milliseconds; elapsed += 20) {
        reader.update();
        while (reader.hasSample()) {
            const ManikinSample sample = reader.popSample();
            result.samples.push_back(sample);
            const Measurement measurement = reader.convert(reader.applyOffsets(sample));
            result.maxDepth = std::max(result.maxDepth, measurement.depth);
            result.maxVolume = std::max(result.maxVolume, measurement.volume);
        }
        platform::Clock::instance().sleep(20);
    }
    return result;
}

bool everyValueIsAByte(const std::vector<ManikinSample>& samples)
{
    return std::all_of(samples.begin(), samples.end(), [](const ManikinSample& s) {
        return s.compression >= 0 && s.compression <= 255 && s.ventilation >= 0 && s.ventilation <= 255;
    });
}

SimulatorOptions framedManikin(std::uint8_t kind)
{
    SimulatorOptions options;
    options.handshake = Handshake::Framed;
    options.kind = kind;
    options.performance.leadInSeconds = 0.2;
    options.performance.compressionsPerCycle = 2;
    options.performance.jitter = 0.0;
    return options;
}

class ReaderSimulatorTest : public testing::Test {
protected:
    void startSimulator(SimulatorOptions options)
    {
        simulator = std::make_unique<ManikinSimulator>(std::move(options));
        std::string error;
        ASSERT_TRUE(simulator->start(&error)) << error;
        if (simulator->options().transport == Transport::PseudoTerminal) {
            const std::string map = std::to_string(COM_PORT) + "=" + simulator->devicePath();
            ::setenv("KOVA_PORT_MAP", map.c_str(), 1);
        }
    }

    void TearDown() override
    {
        port.close();
        if (simulator)
            simulator->stop();
        ::unsetenv("KOVA_PORT_MAP");
    }

    std::unique_ptr<ManikinSimulator> simulator;
    SerialPort port;
};

} // namespace

TEST_F(ReaderSimulatorTest, framedManikinOnAComPortStreamsCompressions)
{
    startSimulator(framedManikin(3));
    ManikinReader reader(port);
    ASSERT_EQ(reader.open(COM_PORT), 10);
    EXPECT_EQ(reader.linkType(), 3);
    reader.restartTimers();
    reader.start();
    const Collected collected = collect(reader, 2500);

    // 55 mm compressions, measured through the kind-3 factors.
    EXPECT_NEAR(collected.maxDepth, 55.0, 3.0);
    EXPECT_TRUE(everyValueIsAByte(collected.samples));
    // About 50 samples a second; a loaded machine may stretch the ticks.
    EXPECT_GT(reader.currentRate(), 25.0);
    EXPECT_LT(reader.currentRate(), 100.0);

    port.requestBatteryLevel();
    collect(reader, 200);
    EXPECT_EQ(port.getBatteryLevel(), 3);
    reader.stop();
}

TEST_F(ReaderSimulatorTest, silentNewerManikinIsLostAfter10Seconds)
{
    startSimulator(framedManikin(3));
    ASSERT_EQ(port.open(COM_PORT), 10);
    // From here the reader's time is ours; the link is already identified.
    platform::ManualClock clock;
    platform::ScopedClock scopedClock(clock);
    ManikinReader reader(port);
    port.requestDataStreams();
    reader.start();
    for (int tick = 0; tick < 200 && reader.currentSample().compression == -1; ++tick) {
        platform::SystemClock().sleep(20);
        clock.advance(20);
        reader.update();
    }
    ASSERT_NE(reader.currentSample().compression, -1) << "the manikin never streamed";

    simulator->setMisbehaviour(Misbehaviour::Silent);
    platform::SystemClock().sleep(100);
    reader.update(); // what was still on its way
    clock.advance(10000);
    EXPECT_TRUE(reader.update());
    EXPECT_EQ(port.getLinkType(), 3);
    clock.advance(1);
    EXPECT_FALSE(reader.update());
    EXPECT_EQ(port.getLinkType(), 5);
}

TEST_F(ReaderSimulatorTest, garbageBetweenFramesIsSkipped)
{
    // A noisy manikin from the start: its noise comes between the frames,
    // never before the handshake reply, which no station could read.
    SimulatorOptions options = framedManikin(4);
    options.misbehaviour = Misbehaviour::Garbage;
    startSimulator(options);
    ManikinReader reader(port);
    ASSERT_EQ(reader.open(COM_PORT), 10);
    reader.start();
    const Collected collected = collect(reader, 2500);
    EXPECT_NEAR(collected.maxDepth, 55.0, 3.0);
    EXPECT_TRUE(everyValueIsAByte(collected.samples));
    reader.stop();
}

TEST_F(ReaderSimulatorTest, unframedManikinStreamsRecords)
{
    SimulatorOptions options = framedManikin(1);
    options.handshake = Handshake::Ascii;
    startSimulator(options);
    ManikinReader reader(port);
    ASSERT_EQ(reader.open(COM_PORT), 10);
    EXPECT_EQ(reader.linkType(), 1);
    reader.start();
    const Collected collected = collect(reader, 2500);
    ASSERT_FALSE(collected.samples.empty());
    EXPECT_NEAR(collected.maxDepth, 55.0, 3.0);
    for (const ManikinSample& sample : collected.samples)
        EXPECT_NE(sample.error, 0) << "every record carries its status byte";
    EXPECT_LT(reader.currentRate(), 40.0) << "records come at about 20 a second";
    reader.stop();
}

TEST_F(ReaderSimulatorTest, wirelessManikinOverLoopbackTcp)
{
    SimulatorOptions options = framedManikin(4);
    options.transport = Transport::Tcp;
    options.tcpAddress = ownLoopbackAddress(0);
    options.performance.ventilationVolumeLitres = 0.6;
    startSimulator(options);
    in_addr address{};
    ASSERT_EQ(::inet_pton(AF_INET, options.tcpAddress.c_str(), &address), 1);
    port.setIpAddress(address.s_addr);

    ManikinReader reader(port);
    ASSERT_EQ(reader.open(WIRELESS_SLOT), 10);
    EXPECT_EQ(reader.linkType(), 4);
    reader.start();
    // Lead-in, two compressions, the pause and the first inflation.
    const Collected collected = collect(reader, 3800);
    EXPECT_NEAR(collected.maxDepth, 55.0, 3.0);
    EXPECT_NEAR(collected.maxVolume, 0.6, 0.05);
    reader.stop();
}

TEST_F(ReaderSimulatorTest, wirelessManikinStreamsOnceIdentifiedWithoutBeingAsked)
{
    SimulatorOptions options = framedManikin(3);
    options.transport = Transport::Tcp;
    options.tcpAddress = ownLoopbackAddress(1);
    startSimulator(options);
    in_addr address{};
    ASSERT_EQ(::inet_pton(AF_INET, options.tcpAddress.c_str(), &address), 1);
    port.setIpAddress(address.s_addr);
    // The link's own open only, and a reader that never asks for the streams.
    ASSERT_EQ(port.openWireless(WIRELESS_SLOT), 10);
    ManikinReader reader(port);
    reader.start();
    const Collected collected = collect(reader, 1500);
    EXPECT_GT(collected.samples.size(), 30u);
    EXPECT_NEAR(collected.maxDepth, 55.0, 3.0);
    for (const manikinsim::ReceivedFrame& frame : simulator->receivedFrames())
        EXPECT_NE(frame.command, manikinsim::CMD_REQUEST);
    reader.stop();
}

TEST_F(ReaderSimulatorTest, olderFramedManikinIsCalibratedAtRest)
{
    SimulatorOptions options = framedManikin(1);
    options.adjustPerformance = false;
    options.performance.sampleRate = 50;
    options.performance.scale = manikinsim::CountScale::framedKind1();
    options.performance.restCompression = 6;
    options.performance.restVentilation = 4;
    options.performance.leadInSeconds = 30.0;
    startSimulator(options);
    ManikinReader reader(port);
    ASSERT_EQ(reader.open(COM_PORT), 10);
    reader.startCalibration();
    int status = ManikinReader::CALIBRATION_MEASURING;
    for (int poll = 0; poll < 100 && status == ManikinReader::CALIBRATION_MEASURING; ++poll) {
        platform::Clock::instance().sleep(100);
        status = reader.getCalibrationStatus();
    }
    EXPECT_EQ(status, ManikinReader::CALIBRATION_DONE);
    EXPECT_EQ(port.getCompressionOffset(), 6);
    EXPECT_EQ(port.getVentilationOffset(), 4);
}


namespace {

// One simulated manikin on its own COM port with the station's reader and
// measurement store on it.
struct SimulatedSession {
    std::unique_ptr<ManikinSimulator> simulator;
    SerialPort port;
    std::unique_ptr<ManikinReader> reader;
    CommSession session;
};

} // namespace

TEST(ReaderSimulatorSession, countsEveryStrokeMadeAt20And50SamplesASecond)
{
    // One cycle of 15 compressions and two ventilations, then rest, from an
    // older manikin (records at 20 a second) and a framed one (50 a second)
    // at once.
    manikinsim::PerformancePlan plan;
    plan.cycles = 1;
    plan.compressionsPerCycle = 15;
    plan.ventilationsPerCycle = 2;
    plan.inflationSeconds = 0.6;
    plan.exhalationSeconds = 0.9;
    plan.pauseSeconds = 0.6;
    plan.leadInSeconds = 1.5;
    AlgorithmRecord algorithm;
    std::vector<std::unique_ptr<SimulatedSession>> links;
    std::string map;
    for (const Handshake handshake : {Handshake::Ascii, Handshake::Framed}) {
        SimulatorOptions options;
        options.handshake = handshake;
        options.performance = plan;
        auto link = std::make_unique<SimulatedSession>();
        link->simulator = std::make_unique<ManikinSimulator>(options);
        std::string error;
        ASSERT_TRUE(link->simulator->start(&error)) << error;
        map += (map.empty() ? "" : ",") + std::to_string(COM_PORT + static_cast<int>(links.size())) + "="
            + link->simulator->devicePath();
        links.push_back(std::move(link));
    }
    ::setenv("KOVA_PORT_MAP", map.c_str(), 1);
    for (std::size_t i = 0; i < links.size(); ++i) {
        SimulatedSession& link = *links[i];
        // The older manikin rests at 6 and 4 counts, as its calibration found.
        if (i == 0)
            link.port.setCalibrationOffsets(6, 4);
        link.reader = std::make_unique<ManikinReader>(link.port);
        ASSERT_EQ(link.reader->open(COM_PORT + static_cast<int>(i)), 10);
        link.reader->restartTimers();
        link.reader->start();
        link.session.setAlgorithm(&algorithm);
        link.session.attach(*link.reader);
    }
    ::unsetenv("KOVA_PORT_MAP");

    // Session ticks every 20 ms until both have finished and rested a second.
    int restTicks = 50;
    for (int tick = 0; tick < 2500 && restTicks > 0; ++tick) {
        for (auto& link : links) {
            link->reader->update();
            link->session.processNewSamples();
        }
        if (links[0]->simulator->performanceFinished() && links[1]->simulator->performanceFinished())
            --restTicks;
        platform::Clock::instance().sleep(20);
    }
    ASSERT_EQ(restTicks, 0) << "the performance never ended";

    const double rates[] = {20.0, 50.0};
    for (std::size_t i = 0; i < links.size(); ++i) {
        SCOPED_TRACE(rates[i]);
        SimulatedSession& link = *links[i];
        link.reader->stop();
        link.session.processNewSamples();
        link.session.evaluate();
        EXPECT_NEAR(link.session.sampleRate, rates[i], 0.3 * rates[i]);
        EXPECT_EQ(link.session.getNrCompressions(), 15);
        EXPECT_EQ(link.session.getNrCompGroups(), 1);
        EXPECT_EQ(link.session.getNrLeanings(), 0);
        EXPECT_EQ(link.session.getNrVentilations(), 2);
        EXPECT_NEAR(link.session.getCompDepthAverage(), 55.0, 3.0);
        EXPECT_NEAR(link.session.getVentVolumeAverage(), 0.6, 0.05);
        link.port.close();
        link.simulator->stop();
    }
}
