// Feeds arbitrary device replies to the handshake checks of the manikin link.

#include "comm/link/SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <deque>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::deque<std::uint8_t> reply(data, data + size);
    int kind = 0;
    std::vector<std::uint8_t> answer;
    if (SerialPort::answerAsciiReply(reply, kind, answer) == SerialPort::OPEN_SUCCESS) {
        const bool typed = (kind == SerialPort::LINK_UNFRAMED && answer.size() == 3)
            || (kind == SerialPort::LINK_CONTROLLER && answer.size() == 2);
        if (size != 5 || !typed || answer[0] != 0x20)
            __builtin_trap();
    }
    const bool framed = SerialPort::checkFramedReply(data, size) == SerialPort::OPEN_SUCCESS;
    const bool wireless = SerialPort::checkWirelessReply(data, size) == SerialPort::OPEN_SUCCESS;
    if (framed != wireless)
        __builtin_trap();
    if (framed) {
        const auto split = SerialPort::challengeAnswer(data[1]);
        if (split.size() != 2 || split[0] + split[1] != data[1])
            __builtin_trap();
    }
    return 0;
}
