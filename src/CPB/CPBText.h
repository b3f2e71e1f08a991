#pragma once
// Texts as the hand-held controller holds them: one byte per character in
// its code page (Windows-1252 for names and the company name; the debriefing
// page texts use 850), "?" for a character the code page lacks; fixed-width
// slots padded with spaces, free texts ended by a zero byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CPBText {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr unsigned int NAME_CODE_PAGE = 1252;
    static constexpr unsigned int PAGE_CODE_PAGE = 850;

    // The station's UTF-8 or wide text in the controller's code page.
    static Bytes fromUtf8(const std::string& text, unsigned int codePage = NAME_CODE_PAGE);
    static Bytes fromWide(const std::wstring& text, unsigned int codePage = NAME_CODE_PAGE);
    // Controller bytes back to the station's UTF-8 text, up to a zero byte.
    static std::string toUtf8(const Bytes& bytes, unsigned int codePage = NAME_CODE_PAGE);
    static std::wstring toWide(const Bytes& bytes, unsigned int codePage = NAME_CODE_PAGE);

    // Exactly `width` bytes: the text, spaces after it, or its first `width`
    // bytes when it is longer (a slot is never passed).
    static Bytes padded(Bytes text, std::size_t width);
    // The text and a zero byte, in at most `room` bytes: a longer text loses
    // its end. Empty when room is 0.
    static Bytes terminated(Bytes text, std::size_t room);
};
