// Template bytes of any shape must decode or be refused, and what decodes
// must encode and decode again to the same table.
#include "Rodezir/dialogs/DialogTemplateCodec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto table = kova::DialogTemplateCodec::decode(data, size);
    if (!table)
        return 0;
    const bool extended = size >= 4 && data[2] == 0xFF && data[3] == 0xFF;
    const auto bytes = kova::DialogTemplateCodec::encode(*table, extended);
    const auto again = kova::DialogTemplateCodec::decode(bytes.data(), bytes.size());
    if (!again)
        std::abort();
    return 0;
}
