// Bytes arriving on the splash close-message socket in arbitrary pieces.

#include "platform/SplashMessage.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the piece length, the rest is what arrives.
    const std::size_t piece = 1 + data[0] % 13;
    std::vector<std::uint8_t> buffer;
    std::size_t messages = 0;
    for (std::size_t offset = 1; offset < size; offset += piece) {
        const std::size_t end = std::min(size, offset + piece);
        buffer.insert(buffer.end(), data + offset, data + end);
        for (const platform::SplashMessage& message : platform::SplashMessage::takeMessages(buffer)) {
            if (platform::SplashMessage::decode(platform::SplashMessage::encode(message)) != message)
                std::abort();
            ++messages;
        }
        if (buffer.size() >= platform::SplashMessage::SIZE)
            std::abort();
    }
    if (messages != (size - 1) / platform::SplashMessage::SIZE)
        std::abort();
    return 0;
}
