// Any bytes as UTF-8: the coder must stay inside the bytes it is given, and
// whatever it decodes must encode back to the same bytes.
#include "Rodezir/gstringUtil.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (std::size_t at = 0; at < size;) {
        std::uint32_t codePoint = 0;
        const int used = utf8Decode(codePoint, data + at, size - at);
        if (used <= 0) {
            ++at;
            continue;
        }
        unsigned char again[6];
        if (utf8Encode(again, codePoint, sizeof again) != used || std::memcmp(again, data + at, static_cast<std::size_t>(used)) != 0)
            std::abort();
        at += static_cast<std::size_t>(used);
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    bool error = false;
    const std::wstring wide = utf8ToWideLenient(text, error);
    if (!error && utf8FromWide(wide) != text.substr(0, std::strlen(text.c_str())))
        std::abort();
    toWide(text);
    toWide(text, 932);
    return 0;
}
