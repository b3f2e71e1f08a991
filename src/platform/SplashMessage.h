#pragma once
// The splash launcher's close message: the name its listener goes by, the
// eight bytes one message travels as, and the sender the main program uses
// once its window is up.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct SplashMessage {
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;

    // The wParam that ends the splash; every other value is ignored by it.
    static constexpr std::uint32_t CLOSE = 0x614C329;
    static constexpr std::size_t SIZE = 8;
    // How long a sender waits for the listener at most, in milliseconds.
    static constexpr int SEND_TIMEOUT = 1000;

    bool operator==(const SplashMessage&) const = default;

    // "MarvikSplashMessage-" and the user id: one listener per user. Qt puts
    // the socket of a name without a folder into its temporary folder.
    static std::string serverName();

    // wParam, then lParam, each as an unsigned 32-bit little-endian number.
    static std::array<std::uint8_t, SIZE> encode(const SplashMessage& message);
    static SplashMessage decode(const std::array<std::uint8_t, SIZE>& bytes);
    // Takes every whole message off the front of the bytes received so far;
    // the start of a message not yet complete stays in the buffer.
    static std::vector<SplashMessage> takeMessages(std::vector<std::uint8_t>& buffer);

    // Sends one message to the launcher of this user. True when a listener
    // took it; no listener (no launcher started, or it has ended) is no error
    // and answers false.
    static bool send(std::uint32_t wParam, std::uint32_t lParam);
    // The same to the listener of the given name (or socket path).
    static bool sendTo(const std::string& serverName, const SplashMessage& message, int timeoutMs = SEND_TIMEOUT);
};

} // namespace platform
