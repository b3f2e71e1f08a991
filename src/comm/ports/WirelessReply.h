#pragma once
// One answer to the wireless manikin search: the manikin's IPv4 address and
// the first 32 characters of its reply text, which become its name record.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct WirelessReply {
    // Replies are read as text of at most this many bytes.
    static constexpr std::size_t MAX_REPLY_SIZE = 99;
    // Characters of the reply kept as the manikin's name.
    static constexpr std::size_t NAME_LENGTH = 32;

    // NUL-terminated name record, as the manikin link keeps it.
    std::array<char, NAME_LENGTH + 1> name{};
    // Sender of the reply, network byte order.
    std::uint32_t address = 0;
    std::uint32_t spare = 0;

    // The text of a received datagram: its bytes up to the first NUL, at most
    // MAX_REPLY_SIZE of them. A datagram that fills the whole buffer carries no
    // terminator, so the text is always cut at the received length.
    static std::string replyText(const std::uint8_t* bytes, std::size_t length);
    // The reply of a manikin at address with the given text.
    static WirelessReply fromText(const std::string& text, std::uint32_t address);

    std::string nameText() const { return name.data(); }
};
