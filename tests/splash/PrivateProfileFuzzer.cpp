// Ini file texts as the launcher reads them.

#include "splash/PrivateProfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"picture", "logo"}) {
        const std::string value = splash::PrivateProfile::findValue(text, "splash", key, "fallback");
        if (value.size() > splash::PrivateProfile::MAX_VALUE)
            std::abort();
    }
    return 0;
}
