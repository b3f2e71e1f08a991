#pragma once
// The simulated hand-held controller itself, without any line: bytes from
// the station go in, the controller's answers come out. It identifies itself
// as "2c" to the station's question, greets the station once answered, and
// serves write and read requests on its two memory banks, keeping a log of
// every request and flagging those that break the link's rules. On request
// it misbehaves in the ways a real line or controller can.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace controllersim {

using Bytes = std::vector<std::uint8_t>;

struct ControllerOptions {
    // The challenge byte sent with the identity "2c".
    std::uint8_t challenge = 0x37;
    // Greets the station with an acknowledgement after its answer.
    bool greeting = true;
    // The first k acknowledgements of requests never arrive.
    int lostAcknowledgements = 0;
    // The first k data replies carry a wrong checksum.
    int badChecksumReplies = 0;
    // The first k data replies name another address (offset + 1), or
    // another length (one byte more, with that byte).
    int wrongAddressReplies = 0;
    int wrongLengthReplies = 0;
    // Noise (00 FF) before every package the controller sends.
    bool noiseBeforePackages = false;
    // The line goes dead after this many requests (-1: never).
    int cutAfterRequests = -1;
};

// What a request broke (bits of ControllerRequest::faults).
enum Fault : unsigned {
    FAULT_CHECKSUM = 1,  // its checksum is not the sum of its bytes
    FAULT_LENGTH = 2,    // length 0 or over 16
    FAULT_PAGE = 4,      // crosses the end of a 64-byte page
    FAULT_BANK = 8,      // a bank the controller does not have
    FAULT_COMMAND = 16,  // neither write (1) nor read (2)
};

struct ControllerRequest {
    std::uint8_t command = 0;
    std::uint8_t bank = 0;
    std::uint16_t offset = 0;
    int length = 0;
    Bytes data;           // the data of a write
    unsigned faults = 0;  // a request with faults is not served and not acknowledged
};

class ControllerDevice {
public:
    static constexpr std::uint8_t ICON_BANK = 0x50;
    static constexpr std::uint8_t SETUP_BANK = 0x51;
    static constexpr std::size_t BANK_SIZE = 65536;

    explicit ControllerDevice(ControllerOptions options = {});

    // Takes bytes from the station; what the controller sends back.
    Bytes receive(const std::uint8_t* bytes, std::size_t count);
    Bytes receive(const Bytes& bytes) { return receive(bytes.data(), bytes.size()); }

    // The memory of a bank (0xFF where never written); empty for another bank.
    Bytes memory(std::uint8_t bank, std::uint16_t offset, std::size_t length) const;
    void setMemory(std::uint8_t bank, std::uint16_t offset, const Bytes& bytes);

    // Every byte the station sent while the line was there, and every request in it.
    const Bytes& received() const { return received_; }
    const std::vector<ControllerRequest>& requests() const { return requests_; }
    // Requests with no fault, and those with one.
    int servedRequests() const;
    int faultyRequests() const;
    int questions() const { return questions_; }
    bool identified() const { return identified_; }
    // Frames of the manikin protocol (the station's farewell) passed over.
    int ignoredFrames() const { return ignoredFrames_; }
    bool lineCut() const { return lineCut_; }
    const ControllerOptions& options() const { return options_; }
    ControllerOptions& options() { return options_; }

private:
    // Handles the package at the front of pending_; false when it has not all arrived.
    bool handleFront(Bytes& out);
    bool handleRequest(Bytes& out);
    void serve(const ControllerRequest& request, Bytes& out);
    void sendPackage(Bytes package, Bytes& out);
    std::uint8_t* bankMemory(std::uint8_t bank);

    ControllerOptions options_;
    std::array<Bytes, 2> banks_;
    Bytes pending_;
    Bytes received_;
    std::vector<ControllerRequest> requests_;
    bool awaitingAnswer_ = false;
    bool identified_ = false;
    bool lineCut_ = false;
    int questions_ = 0;
    int ignoredFrames_ = 0;
    int acknowledgements_ = 0;
    int dataReplies_ = 0;
};

// The sum of the bytes modulo 256.
std::uint8_t checksum(const Bytes& bytes, std::size_t count);

} // namespace controllersim
