#pragma once
// A simulated training manikin for tests and for trying the station without
// hardware. It serves a pseudo-terminal (a COM port for the station) or a
// loopback TCP port (a wireless manikin), answers the ASCII, framed or
// wireless handshake as that kind of manikin does, and streams a scripted CPR
// performance: the ASCII and wireless manikins as soon as they are
// identified, the framed ones on a cable once asked. It can also misbehave
// on request.

#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace manikinsim {

enum class Transport { PseudoTerminal, Tcp };
// How a manikin on a pseudo-terminal identifies itself; TCP is always wireless.
enum class Handshake { Ascii, Framed };
enum class Misbehaviour {
    None,
    Silent,   // answers nothing at all
    Mute,     // answers the handshake but never sends data
    Garbage,  // noise between its frames once identified
    DropLink, // goes away after dropAfterSamples streamed samples
};

struct SimulatorOptions {
    Transport transport = Transport::PseudoTerminal;
    Handshake handshake = Handshake::Framed;
    // ASCII handshake: digit and letter of the reply ("2c" is the hand-held
    // controller) and the challenge byte sent with them.
    std::string asciiIdentity = "1a";
    std::uint8_t asciiChallenge = 0x37;
    // Each "?" gets a challenge of its own (the byte above, counted on per
    // question), and only the answer to the latest one is accepted.
    bool freshChallenges = false;
    // The reply to the first "?" comes this much later: a slow manikin.
    int firstReplyDelayMs = 0;
    // Framed and wireless handshakes: the kind byte (1, 3 or 4) and the challenge n.
    std::uint8_t kind = 3;
    std::uint8_t framedChallenge = 200;
    // When not empty, "?" is answered with exactly these bytes.
    std::vector<std::uint8_t> replyOverride;
    Misbehaviour misbehaviour = Misbehaviour::None;
    // Noise before every handshake reply: the ASCII handshake skips it, the
    // framed and wireless ones cannot.
    bool garbageBeforeReply = false;
    int dropAfterSamples = 50;
    int batteryLevel = 3;
    // TCP: the loopback address and port to listen on.
    std::string tcpAddress = "127.0.0.1";
    std::uint16_t tcpPort = 2000;
    // Answer only at the baud rate of the handshake (9600 ASCII, 19200 framed).
    bool checkBaudRate = true;
    // The performance streamed after the data streams are requested (framed
    // on a cable) or after the handshake (ASCII, wireless). Its rate and count
    // scale are set to the manikin's kind when adjustPerformance is on.
    PerformancePlan performance;
    bool adjustPerformance = true;
};

class ManikinSimulator {
public:
    explicit ManikinSimulator(SimulatorOptions options = {});
    ~ManikinSimulator();
    ManikinSimulator(const ManikinSimulator&) = delete;
    ManikinSimulator& operator=(const ManikinSimulator&) = delete;

    // Opens the pseudo-terminal or the listening socket and starts serving.
    bool start(std::string* error = nullptr);
    void stop();

    // The station's side of the pseudo-terminal ("/dev/pts/N").
    const std::string& devicePath() const { return devicePath_; }
    const SimulatorOptions& options() const { return options_; }

    // What the station did, for tests.
    std::vector<std::uint8_t> receivedBytes() const;
    std::vector<ReceivedFrame> receivedFrames() const;
    // The station's answer to the last challenge, and whether it was right.
    std::vector<std::uint8_t> lastAnswer() const;
    bool answerAccepted() const;
    // How often "?" was answered, and the baud rates "?" arrived at (0 on TCP).
    int challengesAnswered() const;
    std::vector<int> questionBaudRates() const;
    int samplesSent() const;
    // Every planned cycle of the performance has been streamed.
    bool performanceFinished() const;
    bool isStreaming() const;
    int connections() const;

    // Sends bytes to the station as they are (frames, noise).
    void send(const std::vector<std::uint8_t>& bytes);
    void setMisbehaviour(Misbehaviour misbehaviour);
    // Goes away at once: closes the pseudo-terminal or the connection.
    void dropLink();
    // Stops streaming as a manikin that was reset does: it stays identified
    // and streams again once asked for its data.
    void stopStreaming();

    // Polls the condition every millisecond until it holds or the time is up.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

private:
    enum class State { Idle, AwaitingAnswer, Identified };

    void run();
    void acceptClient();
    void readInput();
    void handleByte(std::uint8_t byte);
    void handleFrame(int command, const std::vector<std::uint8_t>& payload);
    void handleQuestion();
    void handleAnswer();
    void stream();
    void flushOutgoing();
    void writeOut(const std::vector<std::uint8_t>& bytes);
    void closeLink();
    int currentBaudRate() const;
    std::vector<std::uint8_t> expectedAsciiAnswer() const;
    void sendDelayedReply();

    SimulatorOptions options_;
    std::string devicePath_;
    int masterFd_ = -1;
    int slaveFd_ = -1;
    int listenFd_ = -1;
    int clientFd_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    State state_ = State::Idle;
    std::size_t answerLength_ = 0;
    std::vector<std::uint8_t> answer_;
    std::vector<std::uint8_t> frameBytes_;
    std::vector<std::uint8_t> received_;
    std::vector<ReceivedFrame> frames_;
    std::vector<std::uint8_t> lastAnswer_;
    std::vector<std::uint8_t> outgoing_;
    std::vector<int> questionBauds_;
    bool accepted_ = false;
    bool streaming_ = false;
    bool dropRequested_ = false;
    int challenges_ = 0;
    int samplesSent_ = 0;
    int connections_ = 0;
    Misbehaviour misbehaviour_;
    std::unique_ptr<PerformanceGenerator> generator_;
    std::unique_ptr<FrameEncoder> encoder_;
    std::int64_t nextSampleAtUs_ = 0;
    std::uint8_t challenge_ = 0;
    // A reply held back, and when it goes out.
    std::vector<std::uint8_t> delayedReply_;
    std::int64_t delayedReplyAtUs_ = 0;
};

} // namespace manikinsim
