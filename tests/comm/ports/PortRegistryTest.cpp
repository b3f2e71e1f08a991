// The port registry: COM scans over pseudo-terminals with simulated manikins,
// recorded-data ports, calibration of a port, the hand-over to sessions, the
// wireless slots (with a scripted search answering for loopback manikins), the
// port choices and the change signal.

#include "LinkTestSupport.h"

#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "comm/ports/WirelessDiscovery.h"

#include <gtest/gtest.h>

#include <map>

using manikinsim::Handshake;
using manikinsim::ManikinSimulator;
using manikinsim::Misbehaviour;
using manikinsim::SimulatorOptions;

namespace {

using namespace linktest;

// Counts the registry's change signals.
class ChangeCounter : public SlotHolder {
public:
    void onChanged() { ++count; }
    int count = 0;
};

// A search that answers with a fixed list instead of broadcasting.
class ScriptedDiscovery final : public WirelessDiscovery {
public:
    explicit ScriptedDiscovery(std::vector<WirelessReply>& replies)
        : WirelessDiscovery(nullptr), replies_(replies)
    {
    }
    std::vector<WirelessReply> searchWireless() override { return replies_; }

private:
    std::vector<WirelessReply>& replies_;
};

SimulatorOptions framed(std::uint8_t kind)
{
    SimulatorOptions options;
    options.handshake = Handshake::Framed;
    options.kind = kind;
    return options;
}

SimulatorOptions ascii(const std::string& identity)
{
    SimulatorOptions options;
    options.handshake = Handshake::Ascii;
    options.asciiIdentity = identity;
    return options;
}

// A manikin at rest (or moving, as the plan says) for the calibration measurement.
SimulatorOptions olderManikin(double leadInSeconds, double depthMm, double volumeLitres)
{
    SimulatorOptions options = framed(1);
    // An older manikin reports raw counts with its rest values in them.
    options.adjustPerformance = false;
    options.performance.sampleRate = 50;
    options.performance.scale = manikinsim::CountScale::framedKind1();
    options.performance.restCompression = 6;
    options.performance.restVentilation = 4;
    options.performance.leadInSeconds = leadInSeconds;
    options.performance.compressionDepthMm = depthMm;
    options.performance.ventilationVolumeLitres = volumeLitres;
    options.performance.compressionsPerCycle = 30;
    options.performance.jitter = 0.0;
    return options;
}

std::string logText()
{
    LogStream::destroy();
    return kovatest::readFile("errors.txt");
}

class PortRegistry : public ::testing::Test {
protected:
    // Each test keeps its error log in a folder of its own: the tests of this
    // program run side by side in one working folder.
    PortRegistry() { LogStream::destroy(); }
    ~PortRegistry() override { LogStream::destroy(); }

    // Simulators on pseudo-terminals, mapped to the given COM ports.
    void startManikins(const std::map<int, SimulatorOptions>& manikins)
    {
        std::string map;
        for (const auto& [port, options] : manikins) {
            auto simulator = startOnPseudoTerminal(options);
            ASSERT_NE(simulator, nullptr);
            map += (map.empty() ? "" : ",") + std::to_string(port) + "=" + simulator->devicePath();
            simulators[port] = std::move(simulator);
        }
        portMap.reset(); // the old map clears the variable when it goes
        portMap = std::make_unique<ScopedPortMap>(map);
    }

    // Polls a running calibration, as the calibration window does.
    int calibrate(int port)
    {
        return manager.startCalibration(port) ? pollCalibration(port) : -1;
    }
    int pollCalibration(int port)
    {
        int status = ManikinReader::CALIBRATION_MEASURING;
        for (int poll = 0; poll < 100 && status == ManikinReader::CALIBRATION_MEASURING; ++poll) {
            platform::Clock::instance().sleep(250);
            status = manager.getCalibrationStatus(port);
        }
        return status;
    }

    kovatest::TempDir logFolder;
    kovatest::ScopedCwd inLogFolder{logFolder.path()};
    std::map<int, std::unique_ptr<ManikinSimulator>> simulators;
    std::unique_ptr<ScopedPortMap> portMap;
    std::vector<WirelessReply> replies;
    CalibrateManager manager{std::make_unique<ScriptedDiscovery>(replies)};
};

struct PortState {
    int port;
    bool valid;
    bool calibrated;
    bool controller;
};

TEST_F(PortRegistry, comScanRecordsWhatAnsweredOnEachPort)
{
    startManikins({{3, framed(3)}, {4, framed(4)}, {5, framed(1)}, {6, ascii("1a")}, {7, ascii("2c")},
                   {8, [] { SimulatorOptions o = framed(3); o.misbehaviour = Misbehaviour::Silent; return o; }()},
                   {10, framed(3)}});
    // Earlier state: a calibrated older manikin keeps its calibration, a port
    // whose device went away loses it, a port held by a session is left alone.
    manager.setIsCalibrated(true, 5);
    manager.setIsCalibrated(true, 9);
    manager.takePort(10);
    ChangeCounter listener;
    connect(manager.changed, listener, &ChangeCounter::onChanged);

    manager.scanComPorts();

    const PortState expected[] = {
        {3, true, true, false},  {4, true, true, false},  {5, true, true, false}, {6, true, false, false},
        {7, true, false, true},  {8, true, false, false}, {9, false, false, false}, {1, false, false, false},
        {10, false, false, false}, {256, false, false, false},
    };
    for (const PortState& state : expected) {
        SCOPED_TRACE("COM " + std::to_string(state.port));
        EXPECT_EQ(manager.getIsValid(state.port), state.valid);
        EXPECT_EQ(manager.getIsCalibrated(state.port), state.calibrated);
        EXPECT_EQ(manager.getIsCPB(state.port), state.controller);
        EXPECT_FALSE(manager.getSerPort(state.port)->isConnected());
    }
    EXPECT_EQ(simulators[10]->challengesAnswered(), 0);
    EXPECT_FALSE(manager.getIsAvailable(10));
    EXPECT_EQ(listener.count, 1);
    EXPECT_EQ(manager.countCPB(), 1);
    EXPECT_EQ(manager.getCPBList(), std::vector<int>{7});
    // 3, 4 and 5 are valid, available and calibrated manikins; 7 is a controller.
    EXPECT_EQ(manager.countReadyManikins(), 3);
}

TEST_F(PortRegistry, recordedDataPortsAreValidButCalibratedOnlyByTheirMeasurement)
{
    DemoState demo;
    startManikins({{250, framed(3)}});
    manager.setIsCalibrated(true, 247);
    manager.scanComPorts();

    for (int port = 247; port <= 256; ++port) {
        EXPECT_TRUE(manager.getIsValid(port)) << port;
        EXPECT_FALSE(manager.getIsCalibrated(port)) << port;
        EXPECT_FALSE(manager.getIsCPB(port)) << port;
        EXPECT_TRUE(manager.getSerPort(port)->getKindIs3or4()) << port;
        EXPECT_TRUE(manager.getSerPort(port)->getKindIs3()) << port;
    }
    // The pseudo-terminal behind 250 is never opened while it replays recorded data.
    EXPECT_EQ(simulators[250]->challengesAnswered(), 0);
    EXPECT_FALSE(manager.getIsValid(246));

    ASSERT_TRUE(manager.startCalibration(250));
    EXPECT_EQ(manager.getCalibrationStatus(250), ManikinReader::CALIBRATION_DONE);
}

TEST_F(PortRegistry, calibrationOfAnOlderManikinMeasuresItsRestOffsetsAndClosesTheLink)
{
    startManikins({{5, olderManikin(30.0, 55.0, 0.6)}});
    manager.scanComPorts();
    ASSERT_TRUE(manager.getIsValid(5));
    ASSERT_FALSE(manager.getIsCalibrated(5));

    EXPECT_EQ(calibrate(5), ManikinReader::CALIBRATION_DONE);
    SerialPort* link = manager.getSerPort(5);
    EXPECT_EQ(link->getCompressionOffset(), 6);
    EXPECT_EQ(link->getVentilationOffset(), 4);
    EXPECT_FALSE(link->isConnected());
    // Marking the port is the calibration window's part.
    EXPECT_FALSE(manager.getIsCalibrated(5));

    // The measurement is over: there is no reader left to ask.
    EXPECT_EQ(manager.getCalibrationStatus(5), ManikinReader::CALIBRATION_NOT_CONNECTED);
    EXPECT_NE(logText().find("commList[port] != 0"), std::string::npos);
}

TEST_F(PortRegistry, aManikinMovedDuringCalibrationIsReportedAndItsPortStaysUsable)
{
    struct Case {
        const char* what;
        double depthMm;
        double volumeLitres;
        int compressionsPerCycle;
        int status;
    };
    const Case cases[] = {
        {"compressions", 55.0, 0.0, 30, ManikinReader::CALIBRATION_COMPRESSION_MOVED},
        {"ventilations", 0.0, 0.8, 1, ManikinReader::CALIBRATION_VENTILATION_MOVED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatorOptions options = olderManikin(0.0, c.depthMm, c.volumeLitres);
        options.performance.compressionsPerCycle = c.compressionsPerCycle;
        options.performance.pauseSeconds = 0.1;
        simulators.clear();
        startManikins({{5, options}});
        manager.scanComPorts();
        manager.setIsCalibrated(true, 5);

        ASSERT_TRUE(manager.getIsValid(5));
        EXPECT_EQ(calibrate(5), c.status) << manager.getSerPort(5)->getLastOpenResult();
        // A failed measurement leaves the link closed, so a session can open it.
        EXPECT_FALSE(manager.getSerPort(5)->isConnected());
        EXPECT_TRUE(manager.getIsCalibrated(5));
    }
}

TEST_F(PortRegistry, calibrationIsRefusedForPortsThatCannotBeMeasured)
{
    startManikins({{3, framed(3)}, {7, ascii("2c")}, {8, olderManikin(30.0, 55.0, 0.6)}});
    manager.scanComPorts();
    manager.takePort(3);
    simulators[8]->setMisbehaviour(Misbehaviour::Silent);

    EXPECT_FALSE(manager.startCalibration(1)) << "no device";
    EXPECT_FALSE(manager.startCalibration(3)) << "held by a session";
    EXPECT_FALSE(manager.startCalibration(7)) << "a controller";
    EXPECT_FALSE(manager.startCalibration(0)) << "no port number";
    EXPECT_FALSE(manager.startCalibration(513)) << "beyond the last port";
    // The manikin fell silent since the scan: the open fails and the link is not left open.
    EXPECT_FALSE(manager.startCalibration(8));
    EXPECT_FALSE(manager.getSerPort(8)->isConnected());
    EXPECT_EQ(manager.getCalibrationStatus(8), ManikinReader::CALIBRATION_NOT_CONNECTED);
    EXPECT_NE(logText().find("port>0 && port <= COM_PORTS"), std::string::npos);
}

TEST_F(PortRegistry, listenersHearOfEveryChangeAndOnlyOfChanges)
{
    ChangeCounter listener;
    connect(manager.changed, listener, &ChangeCounter::onChanged);
    manager.setIsCalibrated(true, 12);
    manager.setIsCalibrated(true, 12);
    EXPECT_EQ(listener.count, 1) << "the same value again is no change";
    manager.takePort(12);
    EXPECT_EQ(listener.count, 2);
    EXPECT_FALSE(manager.getIsAvailable(12));
    manager.releasePort(12);
    EXPECT_EQ(listener.count, 3);
    EXPECT_TRUE(manager.getIsAvailable(12));
    manager.scanWireless();
    EXPECT_EQ(listener.count, 4);

    // Releasing a port nobody took is reported and changes nothing.
    manager.releasePort(12);
    EXPECT_TRUE(manager.getIsAvailable(12));
    EXPECT_NE(logText().find("portInformation[port].isAvailable==false"), std::string::npos);
}

TEST_F(PortRegistry, theStationsRegistryLivesFromFirstUseUntilItIsDestroyed)
{
    CalibrateManager& registry = CalibrateManager::get();
    EXPECT_EQ(&CalibrateManager::get(), &registry);
    ChangeCounter listener;
    connect(registry.changed, listener, &ChangeCounter::onChanged);
    std::vector<WirelessReply> none;
    registry.setWirelessDiscovery(std::make_unique<ScriptedDiscovery>(none));
    registry.scanWireless();
    registry.takePort(20);
    EXPECT_EQ(listener.count, 2);

    // A new registry after the old one's end starts from the beginning, and
    // the old one's listeners are gone with it.
    CalibrateManager::destroy();
    CalibrateManager& fresh = CalibrateManager::get();
    EXPECT_TRUE(fresh.getIsAvailable(20));
    EXPECT_TRUE(fresh.changed.empty());
    CalibrateManager::destroy();
}

TEST_F(PortRegistry, portChoicesOfferTheReadyPortsInAscendingOrder)
{
    EXPECT_TRUE(manager.usbChoices().empty());
    EXPECT_EQ(manager.getFirstReadyPort(), 1);
    EXPECT_EQ(manager.getFirstReadyPortText(), " ");

    manager.setIsCalibrated(true, 300);
    manager.getSerPort(300)->setInfo(WirelessReply::fromText("Resus Kit 7", 0).name.data());
    manager.setIsCalibrated(true, 14);
    manager.setIsCalibrated(true, 9);
    manager.takePort(9);
    manager.setIsCalibrated(true, 500);
    manager.takePort(500);

    EXPECT_EQ(manager.usbChoices(), (std::vector<PortChoice>{{14, "USB 14"}, {300, "Resus Kit 7"}}));
    EXPECT_EQ(manager.portChoices(), (std::vector<PortChoice>{{14, "14 - USB"}, {300, "300 - Resus Kit 7"}}));
    EXPECT_EQ(manager.getFirstReadyPort(), 14);
    EXPECT_EQ(manager.getFirstReadyPortText(), "14 - USB");

    const std::pair<const char*, int> texts[] = {
        {"300 - Resus Kit 7", 300}, {"9 - USB", 9}, {"512", 512}, {"1", 1},
        {"0", 14}, {"513", 14}, {"-4", 14}, {"USB 14", 14}, {"", 14}, {"99999999999999999999", 14},
    };
    for (const auto& [text, port] : texts)
        EXPECT_EQ(manager.findPort(text), port) << '"' << text << '"';
}

// Wireless manikins on loopback addresses of their own, found by a scripted search.
class WirelessSlots : public PortRegistry {
protected:
    std::uint32_t startWirelessManikin(const std::string& name)
    {
        std::uint32_t address = 0;
        auto simulator = startWireless(framed(4), address);
        EXPECT_NE(simulator, nullptr);
        wireless[address] = std::move(simulator);
        names[address] = name;
        return address;
    }
    WirelessReply reply(std::uint32_t address) { return WirelessReply::fromText(names[address], address); }

    std::map<std::uint32_t, std::unique_ptr<ManikinSimulator>> wireless;
    std::map<std::uint32_t, std::string> names;
};

TEST_F(WirelessSlots, answeringManikinsTakeTheLowestFreeSlots)
{
    const std::uint32_t first = startWirelessManikin("Resus Kit 1");
    const std::uint32_t second = startWirelessManikin("Resus Kit 2 with a name longer than its record");
    // Nothing listens here: something answered the search but not the link.
    const std::uint32_t silent = second + htonl(100);
    names[silent] = "Ghost";
    replies = {reply(first), reply(second), reply(first), reply(silent)};

    manager.scanWireless();

    EXPECT_EQ(manager.getSerPort(257)->getIpAddress(), first);
    EXPECT_EQ(manager.getSerPort(258)->getIpAddress(), second);
    EXPECT_EQ(manager.getSerPort(259)->getIpAddress(), silent);
    EXPECT_EQ(manager.getSerPort(260)->getIpAddress(), 0u) << "one slot per manikin";
    EXPECT_STREQ(manager.getSerPort(258)->getManikinName(), "Resus Kit 2 with a name longer t");
    for (int port : {257, 258}) {
        EXPECT_TRUE(manager.getIsValid(port));
        EXPECT_TRUE(manager.getIsCalibrated(port));
        EXPECT_TRUE(manager.getIsAvailable(port));
        EXPECT_FALSE(manager.getSerPort(port)->isConnected());
    }
    EXPECT_TRUE(manager.getIsValid(259));
    EXPECT_FALSE(manager.getIsCalibrated(259));
    EXPECT_EQ(manager.usbChoices(),
              (std::vector<PortChoice>{{257, "Resus Kit 1"}, {258, "Resus Kit 2 with a name longer t"}}));
}

TEST_F(WirelessSlots, aSlotHeldBySessionKeepsItsManikinAndAVanishedOneIsNoLongerOffered)
{
    const std::uint32_t held = startWirelessManikin("Held");
    const std::uint32_t leaving = startWirelessManikin("Leaving");
    replies = {reply(held), reply(leaving)};
    manager.scanWireless();
    ASSERT_TRUE(manager.getIsCalibrated(258));

    // A session takes 257 and opens its link.
    manager.takePort(257);
    ManikinReader session(*manager.getSerPort(257));
    ASSERT_EQ(session.open(257), ManikinReader::OPEN_SUCCESS);
    const int connectionsBefore = wireless[held]->connections();

    const std::uint32_t newcomer = startWirelessManikin("Newcomer");
    replies = {reply(newcomer), reply(held)};
    manager.scanWireless();

    EXPECT_EQ(manager.getSerPort(257)->getIpAddress(), held);
    EXPECT_TRUE(manager.getSerPort(257)->isConnected());
    EXPECT_EQ(wireless[held]->connections(), connectionsBefore) << "a held slot is not opened again";
    EXPECT_EQ(manager.getSerPort(258)->getIpAddress(), newcomer);
    EXPECT_STREQ(manager.getSerPort(258)->getManikinName(), "Newcomer");
    EXPECT_FALSE(manager.getIsValid(259));
    EXPECT_FALSE(manager.getIsCalibrated(259));
    EXPECT_EQ(manager.usbChoices(), (std::vector<PortChoice>{{258, "Newcomer"}}));
    manager.getSerPort(257)->close();
}

TEST_F(WirelessSlots, aManikinThatFallsSilentDuringCalibrationDeliveredTooLittle)
{
    const std::uint32_t address = startWirelessManikin("Resus Kit 1");
    replies = {reply(address)};
    manager.scanWireless();
    ASSERT_TRUE(manager.startCalibration(257));
    wireless[address]->setMisbehaviour(Misbehaviour::Silent);
    EXPECT_EQ(pollCalibration(257), ManikinReader::CALIBRATION_TOO_LITTLE_DATA);
    EXPECT_FALSE(manager.getSerPort(257)->isConnected());
}

TEST_F(WirelessSlots, manikinsBeyondTheLastSlotAreLeftOut)
{
    // Addresses where nothing listens: each link is refused at once.
    for (std::uint32_t i = 0; i < 260; ++i)
        replies.push_back(WirelessReply::fromText("M", htonl(0x7F630000u + 1 + i)));
    manager.scanWireless();
    EXPECT_EQ(manager.getSerPort(COM_PORTS)->getIpAddress(), htonl(0x7F630000u + 256));
    EXPECT_NE(logText().find("No free wireless port for the manikin at 127.99.1.1"), std::string::npos);
}

} // namespace
