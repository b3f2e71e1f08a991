#pragma once
// Reads the hand-held controller's packages from the front of a port's
// received bytes: acknowledgements, other short packages and data replies,
// skipping noise before a sync byte and leaving a package that has not
// fully arrived for the next poll.

#include "CPB/CPBAdr.h"

#include <cstdint>
#include <vector>

class SerialPort;

class GetPackage {
public:
    // Package kinds, the byte after the sync byte.
    static constexpr std::uint8_t ACK = 0x06;
    static constexpr std::uint8_t SHORT_PACKAGE = 0x05;
    static constexpr std::uint8_t DATA = 0x02;

    // Results of reading and of checking a data reply.
    static constexpr int NO_SYNC = 0;        // no sync byte in what was received
    static constexpr int OTHER_KIND = 1;     // a package of another kind than wanted
    static constexpr int WRONG_ADDRESS = 2;  // a data reply for another address
    static constexpr int WRONG_LENGTH = 3;   // a data reply with another length
    static constexpr int INCOMPLETE = 4;     // not all there yet, or sizes that disagree
    static constexpr int CHECKSUM_ERROR = 5;
    static constexpr int COMPLETE = 7;       // a whole, correct package

    // Reads one package into `destination` (cleared first): NO_SYNC,
    // OTHER_KIND (a short package of kind 0x05, or an unknown kind, which
    // stays queued), INCOMPLETE, CHECKSUM_ERROR or COMPLETE.
    static int read(SerialPort& port, std::vector<std::uint8_t>& destination);

    // Reads one package and checks that it is the data reply to a read of
    // `length` bytes at `expected`; on COMPLETE its data bytes are put at the
    // front of `destination`, which is otherwise left alone.
    static int checkDataReply(CPBAdr expected, int length, std::vector<std::uint8_t>& destination,
                              SerialPort& port);
};

// COMPLETE when an acknowledgement was read now, else INCOMPLETE.
int waitForAck(SerialPort& port);
