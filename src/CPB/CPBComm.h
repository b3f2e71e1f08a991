#pragma once
// The packet link to one hand-held controller on its port: opens it and
// waits for the controller's greeting, and reads and writes byte ranges of
// its memory in requests of at most MAXDATA bytes, each inside one 64-byte
// page, acknowledged and retried. Built for one transfer; the port belongs
// to the port registry.

#include "CPB/CPBAdr.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class SerialPort;

// The most data bytes one request carries.
inline constexpr int MAXDATA = 16;
// No request crosses the end of one of these pages of the offset.
inline constexpr int CPB_PAGE_SIZE = 64;

class CPBComm {
public:
    using Bytes = std::vector<std::uint8_t>;

    // Results of open, beside the port's own failure codes.
    static constexpr int OPEN_ANSWERED = 10;
    static constexpr int OPEN_NO_GREETING = 9;

    // Waits of the link, in milliseconds.
    static constexpr std::uint32_t GREETING_DELAY_MS = 50;
    static constexpr std::uint32_t POLL_MS = 30;
    static constexpr int GREETING_POLLS = 10;

    explicit CPBComm(SerialPort& port);
    virtual ~CPBComm();
    CPBComm(const CPBComm&) = delete;
    CPBComm& operator=(const CPBComm&) = delete;

    // Opens the port again under its number and waits for the greeting
    // acknowledgement: OPEN_ANSWERED, OPEN_NO_GREETING, or the port's failure.
    int open();

    // Writes data to consecutive offsets from start in start's bank; false
    // at the first block that fails (what went before stays written).
    bool write(CPBAdr start, const Bytes& data, int retries);
    // Reads len bytes from consecutive offsets and appends them to out.
    bool read(CPBAdr start, int len, Bytes& out, int retries);

    // One write request of 1 to MAXDATA bytes inside one page; a block that
    // breaks those rules is refused (logged, false) and nothing is sent.
    bool writeBlock(CPBAdr startAdr, const Bytes& data, int retries);
    // One read request of 1 to MAXDATA bytes inside one page, its data put at
    // the front of out; refused like writeBlock.
    bool readBlock(CPBAdr startAdr, Bytes& out, int len, int retries);

    // Lets the application handle what is waiting (repaints of the progress
    // window) between blocks; nothing without an application object.
    static void pumpMessages();

private:
    bool awaitAcknowledgement(int retries);
    bool awaitDataReply(CPBAdr startAdr, Bytes& out, int len, int retries);
    void purgeBeforeRetry();

    SerialPort& port_;
};
