#include "manikin-sim/ManikinSimulator.h"

#include "pseudo-terminal/PseudoTerminal.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace manikinsim {

namespace {

constexpr std::uint8_t QUESTION = '?';
const std::vector<std::uint8_t> NOISE = {0x00, 0x05, 0x13};

std::int64_t nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int baudOf(speed_t speed)
{
    switch (speed) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool fail(std::string* error, const std::string& what)
{
    if (error != nullptr)
        *error = what + ": " + std::strerror(errno);
    return false;
}

} // namespace

ManikinSimulator::ManikinSimulator(SimulatorOptions options)
    : options_(std::move(options))
    , misbehaviour_(options_.misbehaviour)
{
    if (options_.adjustPerformance) {
        PerformancePlan& plan = options_.performance;
        if (options_.transport == Transport::PseudoTerminal && options_.handshake == Handshake::Ascii) {
            plan.sampleRate = 20;
            plan.scale = CountScale::unframed();
        } else {
            plan.sampleRate = 50;
            plan.scale = options_.kind == 1 ? CountScale::framedKind1() : CountScale::framedKind3or4();
            // The newer manikins report counts from zero at rest.
            plan.restCompression = 0;
            plan.restVentilation = 0;
        }
    }
}

ManikinSimulator::~ManikinSimulator()
{
    stop();
}

bool ManikinSimulator::start(std::string* error)
{
    if (thread_.joinable())
        return true;
    if (options_.transport == Transport::PseudoTerminal) {
        simtools::PseudoTerminalEnds ends;
        if (!simtools::openPseudoTerminal(ends, error))
            return false;
        masterFd_ = ends.device;
        slaveFd_ = ends.terminal;
        devicePath_ = ends.path;
    } else {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (listenFd_ < 0)
            return fail(error, "socket");
        const int yes = 1;
        ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(options_.tcpPort);
        if (::inet_pton(AF_INET, options_.tcpAddress.c_str(), &address.sin_addr) != 1) {
            closeFd(listenFd_);
            errno = EINVAL;
            return fail(error, "address " + options_.tcpAddress);
        }
        // Only loopback: a simulated manikin never shows itself on a network.
        if ((ntohl(address.sin_addr.s_addr) >> 24) != 127) {
            closeFd(listenFd_);
            errno = EADDRNOTAVAIL;
            return fail(error, "not a loopback address " + options_.tcpAddress);
        }
        if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
            || ::listen(listenFd_, 2) != 0) {
            const int saved = errno;
            closeFd(listenFd_);
            errno = saved;
            return fail(error, "listen on " + options_.tcpAddress);
        }
    }
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void ManikinSimulator::stop()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    closeFd(clientFd_);
    closeFd(listenFd_);
    closeFd(masterFd_);
    closeFd(slaveFd_);
}

void ManikinSimulator::run()
{
    while (!stopping_) {
        int fd = -1;
        {
            std::lock_guard lock(mutex_);
            if (dropRequested_) {
                closeLink();
                dropRequested_ = false;
            }
            fd = options_.transport == Transport::PseudoTerminal ? masterFd_ : clientFd_;
        }
        if (options_.transport == Transport::Tcp)
            acceptClient();
        if (fd >= 0) {
            pollfd entry{fd, POLLIN, 0};
            ::poll(&entry, 1, 1);
            readInput();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::lock_guard lock(mutex_);
        sendDelayedReply();
        stream();
        flushOutgoing();
    }
}

void ManikinSimulator::sendDelayedReply()
{
    if (delayedReply_.empty() || nowUs() < delayedReplyAtUs_)
        return;
    outgoing_.insert(outgoing_.end(), delayedReply_.begin(), delayedReply_.end());
    delayedReply_.clear();
}

void ManikinSimulator::acceptClient()
{
    if (listenFd_ < 0)
        return;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    std::lock_guard lock(mutex_);
    closeFd(clientFd_);
    clientFd_ = fd;
    ++connections_;
    state_ = State::Idle;
    streaming_ = false;
    frameBytes_.clear();
    outgoing_.clear();
}

void ManikinSimulator::readInput()
{
    std::uint8_t buffer[512];
    std::lock_guard lock(mutex_);
    const int fd = options_.transport == Transport::PseudoTerminal ? masterFd_ : clientFd_;
    if (fd < 0)
        return;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0 && options_.transport == Transport::Tcp) {
        // The station closed the connection.
        closeFd(clientFd_);
        streaming_ = false;
        state_ = State::Idle;
        return;
    }
    for (ssize_t i = 0; i < n; ++i) {
        received_.push_back(buffer[i]);
        handleByte(buffer[i]);
    }
}

void ManikinSimulator::handleByte(std::uint8_t byte)
{
    const bool ascii = options_.transport == Transport::PseudoTerminal && options_.handshake == Handshake::Ascii;
    if (state_ == State::AwaitingAnswer && ascii && answer_.empty() && byte != 0x20) {
        // Not an answer: the station refused our reply and goes on asking.
        state_ = State::Idle;
    }
    if (state_ == State::AwaitingAnswer) {
        answer_.push_back(byte);
        if (answer_.size() == answerLength_)
            handleAnswer();
        return;
    }
    if (!frameBytes_.empty() || byte == 0x7E) {
        frameBytes_.push_back(byte);
        if (frameBytes_.size() >= 4 && frameBytes_.size() == 4u + frameBytes_[3]) {
            const int command = frameBytes_[1] | (frameBytes_[2] << 8);
            handleFrame(command, std::vector<std::uint8_t>(frameBytes_.begin() + 4, frameBytes_.end()));
            frameBytes_.clear();
        }
        return;
    }
    if (byte == QUESTION)
        handleQuestion();
}

int ManikinSimulator::currentBaudRate() const
{
    if (slaveFd_ < 0)
        return 0;
    termios settings{};
    if (::tcgetattr(slaveFd_, &settings) != 0)
        return 0;
    return baudOf(::cfgetispeed(&settings));
}

std::vector<std::uint8_t> ManikinSimulator::expectedAsciiAnswer() const
{
    const std::uint8_t digit = static_cast<std::uint8_t>(options_.asciiIdentity.at(0));
    const std::uint8_t letter = static_cast<std::uint8_t>(options_.asciiIdentity.at(1));
    const std::uint8_t e = digit == '1' ? static_cast<std::uint8_t>(letter + 0x31) : letter;
    if (digit == '2' && letter == 'c')
        return {0x20, static_cast<std::uint8_t>(e - 0x20)};
    return {0x20, static_cast<std::uint8_t>(0xFF - challenge_), static_cast<std::uint8_t>(e - 0x20)};
}

void ManikinSimulator::handleQuestion()
{
    if (misbehaviour_ == Misbehaviour::Silent)
        return;
    const int baud = currentBaudRate();
    const bool ascii = options_.transport == Transport::PseudoTerminal && options_.handshake == Handshake::Ascii;
    if (options_.checkBaudRate && baud != 0 && baud != (ascii ? 9600 : 19200))
        return;
    questionBauds_.push_back(baud);
    challenge_ = static_cast<std::uint8_t>(options_.asciiChallenge + (options_.freshChallenges ? challenges_ : 0));
    ++challenges_;
    streaming_ = false;
    std::vector<std::uint8_t> reply;
    if (options_.garbageBeforeReply)
        reply = NOISE;
    if (!options_.replyOverride.empty()) {
        reply.insert(reply.end(), options_.replyOverride.begin(), options_.replyOverride.end());
    } else if (ascii) {
        reply.insert(reply.end(), {static_cast<std::uint8_t>(options_.asciiIdentity.at(0)),
                                   static_cast<std::uint8_t>(options_.asciiIdentity.at(1)), challenge_, 0x0D, 0x0A});
    } else {
        reply.insert(reply.end(), {options_.kind, options_.framedChallenge, 0x0D, 0x0A});
    }
    if (challenges_ == 1 && options_.firstReplyDelayMs > 0) {
        delayedReply_ = reply;
        delayedReplyAtUs_ = nowUs() + std::int64_t{options_.firstReplyDelayMs} * 1000;
    } else {
        outgoing_.insert(outgoing_.end(), reply.begin(), reply.end());
    }
    answer_.clear();
    answerLength_ = ascii ? expectedAsciiAnswer().size() : 2;
    state_ = State::AwaitingAnswer;
}

void ManikinSimulator::handleAnswer()
{
    lastAnswer_ = answer_;
    const bool ascii = options_.transport == Transport::PseudoTerminal && options_.handshake == Handshake::Ascii;
    if (ascii)
        accepted_ = answer_ == expectedAsciiAnswer();
    else
        accepted_ = static_cast<std::uint8_t>(answer_[0] + answer_[1]) == options_.framedChallenge
            && answer_[0] <= options_.framedChallenge;
    state_ = accepted_ ? State::Identified : State::Idle;
    if (!accepted_)
        return;
    if (ascii) {
        // The older manikins stream their records as soon as they know the station.
        if (options_.asciiIdentity != "2c") {
            streaming_ = true;
            nextSampleAtUs_ = nowUs();
        }
        return;
    }
    // The framed manikins on a cable acknowledge the answer and wait to be
    // asked for their data; a wireless manikin streams at once.
    if (options_.transport == Transport::PseudoTerminal) {
        outgoing_.insert(outgoing_.end(), {0x06, options_.kind, 0x0D, 0x0A});
        return;
    }
    streaming_ = true;
    nextSampleAtUs_ = nowUs();
}

void ManikinSimulator::handleFrame(int command, const std::vector<std::uint8_t>& payload)
{
    frames_.push_back({command, payload});
    const bool stuffed = options_.transport == Transport::PseudoTerminal;
    switch (command) {
    case CMD_OPEN_CLOSE:
        // The station's greeting before a handshake and its farewell on close.
        streaming_ = false;
        state_ = State::Idle;
        break;
    case CMD_REQUEST:
        if (payload.size() < 1 || misbehaviour_ == Misbehaviour::Silent)
            break;
        if (payload[0] == CMD_BATTERY_LEVEL) {
            const auto frame = encodeFrame(CMD_BATTERY_LEVEL, {static_cast<std::uint8_t>(options_.batteryLevel)}, stuffed);
            outgoing_.insert(outgoing_.end(), frame.begin(), frame.end());
        } else if ((payload[0] == 1 || payload[0] == 2) && state_ == State::Identified && !streaming_) {
            streaming_ = true;
            nextSampleAtUs_ = nowUs();
        }
        break;
    default:
        break;
    }
}

void ManikinSimulator::stream()
{
    if (!streaming_ || misbehaviour_ == Misbehaviour::Silent || misbehaviour_ == Misbehaviour::Mute)
        return;
    if (!generator_) {
        generator_ = std::make_unique<PerformanceGenerator>(options_.performance);
        encoder_ = std::make_unique<FrameEncoder>(options_.transport == Transport::Tcp);
    }
    const bool records = options_.transport == Transport::PseudoTerminal && options_.handshake == Handshake::Ascii;
    const std::int64_t intervalUs = 1000000 / std::max(1, options_.performance.sampleRate);
    const std::int64_t now = nowUs();
    while (streaming_ && nextSampleAtUs_ <= now) {
        const PerformanceSample sample = generator_->next();
        const auto bytes = records ? encodeRecord(sample) : encoder_->encode(sample);
        outgoing_.insert(outgoing_.end(), bytes.begin(), bytes.end());
        ++samplesSent_;
        nextSampleAtUs_ += intervalUs;
        if (misbehaviour_ == Misbehaviour::Garbage && samplesSent_ % 10 == 0)
            outgoing_.insert(outgoing_.end(), NOISE.begin(), NOISE.end());
        if (misbehaviour_ == Misbehaviour::DropLink && samplesSent_ >= options_.dropAfterSamples) {
            flushOutgoing();
            closeLink();
            return;
        }
    }
}

void ManikinSimulator::flushOutgoing()
{
    if (outgoing_.empty())
        return;
    writeOut(outgoing_);
    outgoing_.clear();
}

void ManikinSimulator::writeOut(const std::vector<std::uint8_t>& bytes)
{
    const int fd = options_.transport == Transport::PseudoTerminal ? masterFd_ : clientFd_;
    if (fd < 0)
        return;
    std::size_t written = 0;
    for (int tries = 0; written < bytes.size() && tries < 1000; ++tries) {
        const ssize_t n = options_.transport == Transport::Tcp
            ? ::send(fd, bytes.data() + written, bytes.size() - written, MSG_NOSIGNAL)
            : ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
}

void ManikinSimulator::closeLink()
{
    streaming_ = false;
    state_ = State::Idle;
    if (options_.transport == Transport::PseudoTerminal) {
        closeFd(masterFd_);
        closeFd(slaveFd_);
    } else {
        closeFd(clientFd_);
        closeFd(listenFd_);
    }
}

std::vector<std::uint8_t> ManikinSimulator::receivedBytes() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<ReceivedFrame> ManikinSimulator::receivedFrames() const
{
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<std::uint8_t> ManikinSimulator::lastAnswer() const
{
    std::lock_guard lock(mutex_);
    return lastAnswer_;
}

bool ManikinSimulator::answerAccepted() const
{
    std::lock_guard lock(mutex_);
    return accepted_;
}

int ManikinSimulator::challengesAnswered() const
{
    std::lock_guard lock(mutex_);
    return challenges_;
}

std::vector<int> ManikinSimulator::questionBaudRates() const
{
    std::lock_guard lock(mutex_);
    return questionBauds_;
}

int ManikinSimulator::samplesSent() const
{
    std::lock_guard lock(mutex_);
    return samplesSent_;
}

bool ManikinSimulator::performanceFinished() const
{
    std::lock_guard lock(mutex_);
    return generator_ && generator_->finished();
}

bool ManikinSimulator::isStreaming() const
{
    std::lock_guard lock(mutex_);
    return streaming_;
}

int ManikinSimulator::connections() const
{
    std::lock_guard lock(mutex_);
    return connections_;
}

void ManikinSimulator::send(const std::vector<std::uint8_t>& bytes)
{
    std::lock_guard lock(mutex_);
    outgoing_.insert(outgoing_.end(), bytes.begin(), bytes.end());
}

void ManikinSimulator::setMisbehaviour(Misbehaviour misbehaviour)
{
    std::lock_guard lock(mutex_);
    misbehaviour_ = misbehaviour;
}

void ManikinSimulator::dropLink()
{
    {
        std::lock_guard lock(mutex_);
        dropRequested_ = true;
    }
    waitUntil([this] {
        std::lock_guard lock(mutex_);
        return !dropRequested_;
    }, 1000);
}

void ManikinSimulator::stopStreaming()
{
    std::lock_guard lock(mutex_);
    streaming_ = false;
}

bool ManikinSimulator::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace manikinsim
