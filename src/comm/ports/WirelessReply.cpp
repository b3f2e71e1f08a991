#include "comm/ports/WirelessReply.h"

#include <algorithm>
#include <cstring>

std::string WirelessReply::replyText(const std::uint8_t* bytes, std::size_t length)
{
    if (bytes == nullptr)
        return {};
    const std::size_t usable = std::min(length, MAX_REPLY_SIZE);
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(bytes, 0, usable));
    const std::size_t textLength = end ? static_cast<std::size_t>(end - bytes) : usable;
    return std::string(reinterpret_cast<const char*>(bytes), textLength);
}

WirelessReply WirelessReply::fromText(const std::string& text, std::uint32_t address)
{
    WirelessReply reply;
    const std::size_t kept = std::min({text.size(), NAME_LENGTH, std::strlen(text.c_str())});
    std::copy_n(text.data(), kept, reply.name.begin());
    reply.address = address;
    return reply;
}
