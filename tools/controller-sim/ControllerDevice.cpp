#include "controller-sim/ControllerDevice.h"

#include <algorithm>

namespace controllersim {

namespace {

constexpr std::uint8_t QUESTION = '?';
constexpr std::uint8_t FRAME_START = 0x7E;
constexpr std::uint8_t SYNC = 0x55;
constexpr std::uint8_t WRITE = 1;
constexpr std::uint8_t READ = 2;
constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t DATA = 0x02;
// The station's answer to the identity "2c": a space and "C".
constexpr std::uint8_t ANSWER_FIRST = 0x20;
constexpr std::uint8_t ANSWER_SECOND = 0x43;
constexpr int MAX_LENGTH = 16;
constexpr int PAGE = 64;
const Bytes NOISE = {0x00, 0xFF};

} // namespace

std::uint8_t checksum(const Bytes& bytes, std::size_t count)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < count && i < bytes.size(); ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum);
}

ControllerDevice::ControllerDevice(ControllerOptions options)
    : options_(options)
{
    for (Bytes& bank : banks_)
        bank.assign(BANK_SIZE, 0xFF);
}

std::uint8_t* ControllerDevice::bankMemory(std::uint8_t bank)
{
    if (bank == ICON_BANK)
        return banks_[0].data();
    if (bank == SETUP_BANK)
        return banks_[1].data();
    return nullptr;
}

Bytes ControllerDevice::memory(std::uint8_t bank, std::uint16_t offset, std::size_t length) const
{
    const Bytes* memory = bank == ICON_BANK ? &banks_[0] : bank == SETUP_BANK ? &banks_[1] : nullptr;
    if (memory == nullptr)
        return {};
    const std::size_t end = std::min(BANK_SIZE, std::size_t(offset) + length);
    return Bytes(memory->begin() + offset, memory->begin() + static_cast<std::ptrdiff_t>(end));
}

void ControllerDevice::setMemory(std::uint8_t bank, std::uint16_t offset, const Bytes& bytes)
{
    std::uint8_t* memory = bankMemory(bank);
    if (memory == nullptr)
        return;
    const std::size_t count = std::min(bytes.size(), BANK_SIZE - offset);
    std::copy_n(bytes.begin(), count, memory + offset);
}

int ControllerDevice::servedRequests() const
{
    return static_cast<int>(std::count_if(requests_.begin(), requests_.end(),
                                          [](const ControllerRequest& r) { return r.faults == 0; }));
}

int ControllerDevice::faultyRequests() const
{
    return static_cast<int>(requests_.size()) - servedRequests();
}

Bytes ControllerDevice::receive(const std::uint8_t* bytes, std::size_t count)
{
    Bytes out;
    if (lineCut_)
        return out;
    received_.insert(received_.end(), bytes, bytes + count);
    pending_.insert(pending_.end(), bytes, bytes + count);
    while (!pending_.empty() && !lineCut_ && handleFront(out)) {
    }
    if (lineCut_)
        pending_.clear();
    return out;
}

bool ControllerDevice::handleFront(Bytes& out)
{
    if (awaitingAnswer_) {
        if (pending_.front() == ANSWER_FIRST) {
            if (pending_.size() < 2)
                return false;
            if (pending_[1] == ANSWER_SECOND) {
                pending_.erase(pending_.begin(), pending_.begin() + 2);
                awaitingAnswer_ = false;
                identified_ = true;
                if (options_.greeting)
                    sendPackage({SYNC, ACK, static_cast<std::uint8_t>(SYNC + ACK)}, out);
                return true;
            }
        }
        // Anything else: the station did not take our identity.
        awaitingAnswer_ = false;
    }
    switch (pending_.front()) {
    case QUESTION:
        pending_.erase(pending_.begin());
        ++questions_;
        identified_ = false;
        awaitingAnswer_ = true;
        out.insert(out.end(), {'2', 'c', options_.challenge, 0x0D, 0x0A});
        return true;
    case FRAME_START: {
        // A manikin frame (the station's farewell when it closes the port).
        if (pending_.size() < 4 || pending_.size() < 4u + pending_[3])
            return false;
        pending_.erase(pending_.begin(), pending_.begin() + 4 + pending_[3]);
        ++ignoredFrames_;
        return true;
    }
    case SYNC:
        return handleRequest(out);
    default:
        pending_.erase(pending_.begin());
        return true;
    }
}

bool ControllerDevice::handleRequest(Bytes& out)
{
    if (pending_.size() < 2)
        return false;
    ControllerRequest request;
    request.command = pending_[1];
    if (request.command != WRITE && request.command != READ) {
        request.faults = FAULT_COMMAND;
        requests_.push_back(request);
        pending_.erase(pending_.begin());
        return true;
    }
    if (pending_.size() < 6)
        return false;
    request.bank = pending_[2];
    request.offset = static_cast<std::uint16_t>(pending_[3] * 256 + pending_[4]);
    request.length = pending_[5];
    const std::size_t total = request.command == WRITE ? 8u + pending_[5] : 7u;
    if (pending_.size() < total)
        return false;
    const Bytes package(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
    if (request.command == WRITE)
        request.data.assign(package.begin() + 7, package.end() - 1);

    if (checksum(package, total - 1) != package.back())
        request.faults |= FAULT_CHECKSUM;
    if (request.length == 0 || request.length > MAX_LENGTH)
        request.faults |= FAULT_LENGTH;
    if (request.offset % PAGE + request.length > PAGE)
        request.faults |= FAULT_PAGE;
    if (bankMemory(request.bank) == nullptr)
        request.faults |= FAULT_BANK;
    requests_.push_back(request);

    if (options_.cutAfterRequests >= 0 && static_cast<int>(requests_.size()) > options_.cutAfterRequests) {
        // The line went dead before this request arrived whole.
        lineCut_ = true;
        return true;
    }
    if (request.faults == 0)
        serve(request, out);
    return true;
}

void ControllerDevice::serve(const ControllerRequest& request, Bytes& out)
{
    std::uint8_t* memory = bankMemory(request.bank);
    if (request.command == WRITE)
        std::copy(request.data.begin(), request.data.end(), memory + request.offset);

    if (acknowledgements_++ >= options_.lostAcknowledgements)
        sendPackage({SYNC, ACK, static_cast<std::uint8_t>(SYNC + ACK)}, out);
    if (request.command != READ)
        return;

    const int reply = dataReplies_++;
    int offset = request.offset;
    int length = request.length;
    if (reply < options_.wrongAddressReplies)
        offset = (offset + 1) % static_cast<int>(BANK_SIZE);
    if (reply < options_.wrongLengthReplies)
        ++length;
    Bytes package = {SYNC, DATA, request.bank, static_cast<std::uint8_t>(offset / 256),
                     static_cast<std::uint8_t>(offset % 256), static_cast<std::uint8_t>(length)};
    for (int i = 0; i < length; ++i)
        package.push_back(memory[(request.offset + i) % BANK_SIZE]);
    std::uint8_t sum = checksum(package, package.size());
    if (reply < options_.badChecksumReplies)
        ++sum;
    package.push_back(sum);
    sendPackage(std::move(package), out);
}

void ControllerDevice::sendPackage(Bytes package, Bytes& out)
{
    if (options_.noiseBeforePackages)
        out.insert(out.end(), NOISE.begin(), NOISE.end());
    out.insert(out.end(), package.begin(), package.end());
}

} // namespace controllersim
