// The manikin link on COM ports: a simulated manikin on the other side of a
// pseudo-terminal, reached through the port map as COM 5.

#include "LinkTestSupport.h"

#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <dirent.h>

using manikinsim::Handshake;
using manikinsim::ManikinSimulator;
using manikinsim::Misbehaviour;
using manikinsim::SimulatorOptions;
using Bytes = std::vector<std::uint8_t>;

namespace {

using namespace linktest;

const Bytes FAREWELL = {0x7E, 0x07, 0x80, 0x00};

SimulatorOptions asciiManikin(const std::string& identity = "1a")
{
    SimulatorOptions options;
    options.handshake = Handshake::Ascii;
    options.asciiIdentity = identity;
    return options;
}

SimulatorOptions framedManikin(std::uint8_t kind, std::uint8_t challenge = 200)
{
    SimulatorOptions options;
    options.handshake = Handshake::Framed;
    options.kind = kind;
    options.framedChallenge = challenge;
    return options;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

int openDescriptors()
{
    int count = 0;
    if (DIR* folder = ::opendir("/proc/self/fd")) {
        while (::readdir(folder) != nullptr)
            ++count;
        ::closedir(folder);
    }
    return count;
}

class ComLink : public ::testing::Test {
protected:
    void startManikin(SimulatorOptions options)
    {
        portMap.reset();
        simulator.reset();
        simulator = startOnPseudoTerminal(std::move(options));
        ASSERT_NE(simulator, nullptr);
        portMap = std::make_unique<ScopedPortMap>("5=" + simulator->devicePath());
    }

    // Waits until the manikin has received at least count bytes.
    Bytes receivedAtLeast(std::size_t count)
    {
        ManikinSimulator::waitUntil([&] { return simulator->receivedBytes().size() >= count; }, 2000);
        return simulator->receivedBytes();
    }

    std::unique_ptr<ManikinSimulator> simulator;
    std::unique_ptr<ScopedPortMap> portMap;
    SerialPort port;
};

TEST_F(ComLink, asciiManikinIsAnsweredAndStreamsRecords)
{
    startManikin(asciiManikin("1a"));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_UNFRAMED);
    EXPECT_TRUE(port.isConnected());
    EXPECT_EQ(port.getPortNumber(), SIM_COM_PORT);

    // '?' once at 9600 baud; the answer 0x20, 0xFF - challenge, 'a' + 0x31 - 0x20.
    EXPECT_EQ(receivedAtLeast(4), (Bytes{'?', 0x20, 0xFF - 0x37, 0x72}));
    EXPECT_EQ(simulator->questionBaudRates(), std::vector<int>{9600});
    EXPECT_TRUE(simulator->answerAccepted());

    // The records flow: status byte, ventilation, compression, CR.
    ASSERT_TRUE(ManikinSimulator::waitUntil([&] { port.readPending(); return port.getBufferSize() >= 8; }, 2000));
    const std::uint8_t status = port.readData[0];
    EXPECT_TRUE(status == 0x4C || status == 0x0C || status == 0xCC || status == 0x8C) << int(status);
    EXPECT_EQ(port.readData[3], 0x0D);
    EXPECT_TRUE(port.isAlive());
}

TEST_F(ComLink, controllerIdentifiesAsLinkTypeTwo)
{
    startManikin(asciiManikin("2c"));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_CONTROLLER);
    EXPECT_EQ(receivedAtLeast(3), (Bytes{'?', 0x20, 0x43}));
}

TEST_F(ComLink, noiseBeforeTheAsciiReplyIsDropped)
{
    SimulatorOptions options = asciiManikin("3b");
    options.garbageBeforeReply = true;
    startManikin(options);
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_UNFRAMED);
    // Not '1': the letter itself goes back.
    EXPECT_EQ(receivedAtLeast(4), (Bytes{'?', 0x20, 0xFF - 0x37, 'b' - 0x20}));
}

TEST_F(ComLink, anAsciiManikinIsAnsweredPastStaleRecordsAndALateReply)
{
    struct Case {
        const char* what;
        int staleRecords;
        int firstReplyDelayMs;
    };
    // Records a streaming manikin left queued (digits among their bytes);
    // a reply to the first question that comes after its wait is over.
    for (const Case& c : {Case{"stale records", 9, 0}, Case{"late first reply", 0, 320}}) {
        SimulatorOptions options = asciiManikin("1a");
        options.freshChallenges = true;
        options.firstReplyDelayMs = c.firstReplyDelayMs;
        startManikin(options);
        for (int i = 0; i < c.staleRecords; ++i)
            simulator->send({0x0C, '5', '7', 0x0D});
        ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS) << c.what;
        EXPECT_EQ(port.getLinkType(), SerialPort::LINK_UNFRAMED) << c.what;
        // The answer is to the last question's challenge, not to one counted twice.
        const int questions = simulator->challengesAnswered();
        EXPECT_EQ(questions, c.firstReplyDelayMs > 0 ? 2 : 1) << c.what;
        EXPECT_TRUE(ManikinSimulator::waitUntil([&] { return simulator->answerAccepted(); }, 1000)) << c.what;
        EXPECT_EQ(simulator->lastAnswer(),
                  (Bytes{0x20, static_cast<std::uint8_t>(0xFF - (0x37 + questions - 1)), 0x72})) << c.what;
        port.close();
    }
}

TEST_F(ComLink, framedManikinGetsTheExactHandshake)
{
    startManikin(framedManikin(3, 200));
    port.setCalibrationOffsets(17, 9);
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_FRAMED_COM);
    EXPECT_TRUE(port.getKindIs3or4());
    EXPECT_TRUE(port.getKindIs3());
    EXPECT_EQ(port.getCompressionOffset(), 0);
    EXPECT_EQ(port.getVentilationOffset(), 0);

    // Four unanswered '?' at 9600, then at 19200 the greeting frame, '?' and
    // the two-part answer to the challenge.
    const Bytes received = receivedAtLeast(11);
    ASSERT_EQ(received.size(), 11u);
    EXPECT_EQ(Bytes(received.begin(), received.begin() + 9), concat({{'?', '?', '?', '?'}, FAREWELL, {'?'}}));
    EXPECT_EQ(received[9] + received[10], 200);
    EXPECT_EQ(simulator->questionBaudRates(), std::vector<int>{19200});
    EXPECT_TRUE(simulator->answerAccepted());
}

TEST_F(ComLink, framedKindsSetTheirFlags)
{
    struct Case {
        std::uint8_t kind;
        bool kindIs3or4;
        bool kindIs3;
    };
    for (const Case& c : {Case{1, false, false}, Case{4, true, false}}) {
        SCOPED_TRACE(int(c.kind));
        startManikin(framedManikin(c.kind, 0));
        SerialPort link;
        link.setCalibrationOffsets(17, 9);
        ASSERT_EQ(link.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
        EXPECT_EQ(link.getKindIs3or4(), c.kindIs3or4);
        EXPECT_EQ(link.getKindIs3(), c.kindIs3);
        // Kind 1 keeps the offsets measured at rest.
        EXPECT_EQ(link.getCompressionOffset(), c.kindIs3or4 ? 0 : 17);
        // A challenge of 0 is answered 00 00.
        const Bytes received = receivedAtLeast(11);
        EXPECT_EQ(Bytes(received.end() - 2, received.end()), (Bytes{0, 0}));
    }
}

TEST_F(ComLink, wrongOrMissingAnswersGiveTheirCodes)
{
    struct Case {
        const char* name;
        SimulatorOptions options;
        int result;
    };
    SimulatorOptions silent = framedManikin(3);
    silent.misbehaviour = Misbehaviour::Silent;
    SimulatorOptions wrongKind = framedManikin(3);
    wrongKind.replyOverride = {2, 5, 0x0D, 0x0A};
    SimulatorOptions swappedEnd = framedManikin(3);
    swappedEnd.replyOverride = {1, 5, 0x0A, 0x0D};
    SimulatorOptions tooShort = framedManikin(3);
    tooShort.replyOverride = {1, 5};
    // Six bytes of ASCII reply are refused; the framed handshake then finds no one.
    SimulatorOptions sixBytes = asciiManikin();
    sixBytes.replyOverride = {'1', 'a', 0x37, 0x0D, 0x0A, 0x0A};
    SimulatorOptions badLetter = asciiManikin();
    badLetter.replyOverride = {'1', 'z', 0x37, 0x0D, 0x0A};

    const Case cases[] = {
        {"silent", silent, SerialPort::OPEN_NO_ANSWER},
        {"kind 2", wrongKind, SerialPort::OPEN_WRONG_ANSWER},
        {"LF CR", swappedEnd, SerialPort::OPEN_WRONG_ANSWER},
        {"two bytes", tooShort, SerialPort::OPEN_NO_ANSWER},
        {"six bytes", sixBytes, SerialPort::OPEN_NO_ANSWER},
        {"letter z", badLetter, SerialPort::OPEN_NO_ANSWER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startManikin(c.options);
        SerialPort link;
        EXPECT_EQ(link.open(SIM_COM_PORT), c.result);
        EXPECT_EQ(link.getLastOpenResult(), c.result);
        EXPECT_FALSE(link.isConnected());
        EXPECT_EQ(link.getLinkType(), SerialPort::LINK_CLOSED);
        // Nothing was answered to a reply that was refused.
        EXPECT_TRUE(simulator->lastAnswer().empty());
    }
}

TEST_F(ComLink, aManikinThatSendsNoDataOpensWithoutData)
{
    ShortSleepClock clock;
    platform::ScopedClock installed(clock);
    SimulatorOptions options = framedManikin(3);
    options.misbehaviour = Misbehaviour::Mute;
    startManikin(options);
    ManikinReader reader(port);
    EXPECT_EQ(reader.open(SIM_COM_PORT), SerialPort::OPEN_NO_DATA);
    EXPECT_TRUE(simulator->answerAccepted());
    // The reader asked for the data streams again and again.
    const auto frames = simulator->receivedFrames();
    EXPECT_GE(std::count(frames.begin(), frames.end(), manikinsim::ReceivedFrame{13, {2, 0}}), 50);
    EXPECT_TRUE(port.close());
}

TEST_F(ComLink, portsThatDoNotExistAreNotAvailable)
{
    kovatest::TempDir folder;
    ScopedPortMap map("7=" + folder.file("no-such-device"));
    EXPECT_EQ(port.open(), SerialPort::OPEN_PORT_NOT_AVAILABLE) << "no port number stored yet";
    EXPECT_EQ(port.open(9), SerialPort::OPEN_PORT_NOT_AVAILABLE) << "not in the port map";
    EXPECT_EQ(port.open(7), SerialPort::OPEN_PORT_NOT_AVAILABLE) << "mapped, but no device";
    EXPECT_EQ(port.getLastOpenResult(), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    EXPECT_EQ(port.getPortNumber(), 7);
}

TEST_F(ComLink, aPortThatFailsPartWayIsReleased)
{
    // A plain file opens like a device but has no terminal settings to read.
    kovatest::TempDir folder;
    const std::string path = folder.file("not-a-terminal");
    kovatest::writeFile(path, "");
    ScopedPortMap map("6=" + path);
    const int before = openDescriptors();
    EXPECT_EQ(port.open(6), SerialPort::OPEN_STATE_FAILED);
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_FALSE(port.isConnected());
    // Not "already open": the failed attempt left nothing behind.
    EXPECT_EQ(port.open(-1), SerialPort::OPEN_STATE_FAILED);
    EXPECT_TRUE(port.close());
}

TEST_F(ComLink, anOpenLinkIsNotOpenedTwice)
{
    startManikin(framedManikin(3));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_ALREADY_OPEN);
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_FRAMED_COM);
}

TEST_F(ComLink, commandsGoOutAsFramesByteForByte)
{
    startManikin(framedManikin(3));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    const std::size_t handshake = receivedAtLeast(11).size();

    port.setEcgRhythms(3, 4);
    port.setDefibrillationEffect(0x20);
    port.sendCommand24(true);
    port.setEcgArtefacts(0x05);
    port.setPulse(true);
    port.sendCommand32(); // wireless links only
    port.requestBatteryLevel();
    const Bytes expected = {0x7E, 0x16, 0x00, 0x02, 0x03, 0x04, 0x7E, 0x17, 0x00, 0x01, 0x20,
                            0x7E, 0x18, 0x00, 0x01, 0x01, 0x7E, 0x1B, 0x00, 0x01, 0x05,
                            0x7E, 0x1C, 0x00, 0x01, 0x01, 0x7E, 0x0D, 0x00, 0x02, 0x15, 0x00};
    const Bytes received = receivedAtLeast(handshake + expected.size());
    EXPECT_EQ(Bytes(received.begin() + static_cast<std::ptrdiff_t>(handshake), received.end()), expected);
    EXPECT_EQ(port.getDefibrillationEffect(), 0x20);
    EXPECT_TRUE(port.getCommand24Flag());

    // The manikin answers the battery request with command 21.
    const Bytes battery = {0x7E, 0x15, 0x00, 0x01, 0x03};
    ASSERT_TRUE(ManikinSimulator::waitUntil([&] { port.readPending(); return port.getBufferSize() >= 9; }, 2000));
    EXPECT_EQ(Bytes(port.readData.end() - 5, port.readData.end()), battery);
}

TEST_F(ComLink, dataStreamsAreRequestedAndArrive)
{
    startManikin(framedManikin(4));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    port.flushInput();
    EXPECT_TRUE(port.requestDataStreams());
    const auto frames = simulator->receivedFrames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[frames.size() - 2], (manikinsim::ReceivedFrame{13, {2, 0}}));
    EXPECT_EQ(frames[frames.size() - 1], (manikinsim::ReceivedFrame{13, {1, 0}}));
    ASSERT_TRUE(ManikinSimulator::waitUntil([&] { port.readPending(); return port.getBufferSize() >= 40; }, 2000));
    EXPECT_EQ(port.peekByte(0), 0x7E);
    EXPECT_TRUE(port.isAlive());
}

TEST_F(ComLink, unframedLinksSendNoFramesButKeepTheEffect)
{
    startManikin(asciiManikin());
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    const std::size_t handshake = receivedAtLeast(4).size();
    port.setDefibrillationEffect(7);
    port.setEcgRhythms(1, 2);
    port.sendCommand24(true);
    EXPECT_EQ(port.getDefibrillationEffect(), 7);
    EXPECT_FALSE(port.getCommand24Flag());
    ASSERT_TRUE(port.close());
    // Only the farewell frame follows the handshake.
    EXPECT_EQ(receivedAtLeast(handshake + 4), concat({Bytes{'?', 0x20, 0xFF - 0x37, 0x72}, FAREWELL}));
}

TEST_F(ComLink, closeTakesLeaveAndReleasesThePort)
{
    startManikin(framedManikin(3));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    const std::size_t handshake = receivedAtLeast(11).size();
    EXPECT_TRUE(port.close());
    EXPECT_FALSE(port.isConnected());
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_CLOSED);
    EXPECT_FALSE(port.isAlive());
    const Bytes received = receivedAtLeast(handshake + 4);
    EXPECT_EQ(Bytes(received.end() - 4, received.end()), FAREWELL);
    // The port can be opened again.
    EXPECT_EQ(port.open(-1), SerialPort::OPEN_SUCCESS);
}

TEST_F(ComLink, closeWithoutConnectionSendsNothing)
{
    EXPECT_TRUE(port.close());
    startManikin(framedManikin(3));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    ASSERT_TRUE(port.close());
    const std::size_t afterClose = receivedAtLeast(15).size();
    EXPECT_TRUE(port.close());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(simulator->receivedBytes().size(), afterClose);
}

TEST_F(ComLink, aVanishedManikinFailsTheFarewellAndIsNotAlive)
{
    startManikin(framedManikin(3));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_TRUE(port.isAlive());
    simulator->dropLink();
    EXPECT_FALSE(port.isAlive());
    // The farewell cannot be written: the link stays open and says so.
    EXPECT_FALSE(port.close());
    EXPECT_TRUE(port.isConnected());
}

TEST_F(ComLink, aFailedReadEndsInAnAttemptToIdentifyAgain)
{
    startManikin(asciiManikin());
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    simulator->dropLink();
    EXPECT_EQ(port.readPending(), -1);
    EXPECT_TRUE(port.getReadError());
    // The device cannot be asked again: the link gives up.
    EXPECT_FALSE(port.isAlive());
    EXPECT_FALSE(port.isConnected());
    EXPECT_EQ(port.readPending(), 0);
    EXPECT_TRUE(port.close());
}

TEST_F(ComLink, peekBeyondTheQueueReadsZeroAndIsLogged)
{
    startManikin(framedManikin(3));
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    port.flushInput();
    simulator->send({0x11, 0x22});
    ASSERT_TRUE(ManikinSimulator::waitUntil([&] { port.readPending(); return port.getBufferSize() == 2; }, 2000));
    EXPECT_EQ(port.peekByte(1), 0x22);
    EXPECT_EQ(port.peekByte(2), 0);
    EXPECT_EQ(port.peekByte(5000), 0);
    EXPECT_EQ(port.getBufferSize(), 2);
    const std::string log = kovatest::readFile(LogStream::instance().path());
    EXPECT_NE(log.find("readData.size() > index"), std::string::npos);
}

TEST_F(ComLink, writingToAClosedLinkFails)
{
    const Bytes bytes = {1, 2, 3};
    EXPECT_FALSE(port.writeSerial(bytes));
    EXPECT_EQ(port.readPending(), 0);
    EXPECT_FALSE(port.isAlive());
}

TEST_F(ComLink, theCommunicationDelayLengthensTheWaits)
{
    startManikin(asciiManikin());
    DemoState state("commdelay:300");
    RecordingClock clock;
    platform::ScopedClock installed(clock);
    ASSERT_EQ(port.open(SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    // The settling wait after the port settings: 400 ms and the delay.
    EXPECT_EQ(clock.sleeps().front(), 700u);
}

} // namespace
