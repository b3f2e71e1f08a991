#pragma once
// The splash launcher's close message: the folder in which every launcher
// of the user listens, the eight bytes one message travels as, and the
// sender the main program uses once its window is up, which reaches every
// launcher of the user as a message to all top-level windows would.

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

    // "MarvikSplashMessage-" and the user id: the folder, private to the
    // user, in which each running launcher listens on a socket named by its
    // process id.
    static std::string listenerFolderName();
    // Where that folder lies: in the user's runtime folder ($XDG_RUNTIME_DIR)
    // when it is the user's own and closed to others, else in the user's
    // cache folder in the home ("~/.cache/kovacpr"); never in a folder every
    // user may write into, where another could take the name first. Empty
    // when the user has no home.
    static std::string listenerParent();
    // The listener folder in that place; empty without one.
    static std::string listenerFolder();

    // wParam, then lParam, each as an unsigned 32-bit little-endian number.
    static std::array<std::uint8_t, SIZE> encode(const SplashMessage& message);
    static SplashMessage decode(const std::array<std::uint8_t, SIZE>& bytes);
    // Takes every whole message off the front of the bytes received so far;
    // the start of a message not yet complete stays in the buffer.
    static std::vector<SplashMessage> takeMessages(std::vector<std::uint8_t>& buffer);

    // Sends one message to every launcher of this user. True when at least
    // one took it; no listener (no launcher started, or all have ended) is no
    // error and answers false.
    static bool send(std::uint32_t wParam, std::uint32_t lParam);
    // Sends the message to every listener of the folder; the number that
    // took it. A folder that is not the user's own gets nothing.
    static int broadcastIn(const std::string& folder, const SplashMessage& message);
    // The same to the listener of the given name (or socket path).
    static bool sendTo(const std::string& serverName, const SplashMessage& message, int timeoutMs = SEND_TIMEOUT);
    // Whether the folder is a folder of this user that no one else may enter.
    static bool isPrivateFolder(const std::string& folder);
    // The process id a listener's socket name stands for; 0 for any other name.
    static long listenerId(const std::string& socketName);
};

} // namespace platform
