#include "Database/StoredText.h"

namespace {
// The bytes a sequence may continue with after its lead byte: the second
// byte has its own range where the lead alone would allow an overlong form,
// a surrogate or a code point past U+10FFFF; later bytes are 0x80 to 0xBF.
struct Sequence {
    unsigned char leadLow, leadHigh;
    int length;
    unsigned char secondLow, secondHigh;
};

constexpr Sequence SEQUENCES[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// The length of the well-formed sequence at the start of `text`; 0 when it is not one.
std::size_t sequenceLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80)
        return lead == 0 ? 0 : 1;
    for (const Sequence& sequence : SEQUENCES) {
        if (lead < sequence.leadLow || lead > sequence.leadHigh)
            continue;
        const auto length = static_cast<std::size_t>(sequence.length);
        if (text.size() < length)
            return 0;
        const auto second = static_cast<unsigned char>(text[1]);
        if (second < sequence.secondLow || second > sequence.secondHigh)
            return 0;
        for (std::size_t i = 2; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[i]);
            if (next < 0x80 || next > 0xBF)
                return 0;
        }
        return length;
    }
    return 0;
}
} // namespace

bool isStorableText(std::string_view text)
{
    while (!text.empty()) {
        std::size_t length = sequenceLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}
