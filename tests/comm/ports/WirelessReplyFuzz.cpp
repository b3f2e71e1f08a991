// Arbitrary datagrams read as search answers.

#include "comm/ports/WirelessReply.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = WirelessReply::replyText(data, size);
    if (text.size() > WirelessReply::MAX_REPLY_SIZE || text.find('\0') != std::string::npos)
        std::abort();
    const WirelessReply reply = WirelessReply::fromText(text, 0x0100007F);
    if (reply.name.back() != '\0' || std::strlen(reply.name.data()) > WirelessReply::NAME_LENGTH
        || text.compare(0, std::strlen(reply.name.data()), reply.name.data()) != 0)
        std::abort();
    return 0;
}
