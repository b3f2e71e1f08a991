#pragma once
// Text conversions between narrow code-page text, wide text (one code point
// per wchar_t), UTF-16 as byte formats carry it, and the station's own UTF-8
// coder; plus wide formatting of numbers and a ring of narrow result buffers.
//
// Code page 0 is the station's ANSI code page, which is UTF-8 (65001), so
// every text a user types survives. The language code pages (850, 932, 936,
// 949, 1250, 1251, 1252 and any other iconv knows as "CP<n>") convert unit by
// unit, with "?" for a character the code page cannot hold.

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// The ANSI code page and the UTF-8 code page.
inline constexpr unsigned int CP_ACP = 0;
inline constexpr unsigned int CP_UTF8 = 65001;

// Narrow text of a code page to wide text, up to the first zero byte. Bytes
// that are not valid in the code page become U+FFFD (UTF-8) or "?" (others).
// An unknown code page gives an empty result.
std::wstring toWide(const std::string& text, unsigned int codePage = CP_ACP);
std::wstring ansiToWide(const char* text);

// Wide text to narrow text of a code page, up to the first zero unit.
// Characters the code page cannot hold become "?". An unknown code page gives
// an empty result.
std::string toNarrow(const std::wstring& text, unsigned int codePage = CP_ACP);

// `toNarrow` into the next of 16 ring slots: the pointer stays valid until 15
// further calls have been made, so callers pass it on or copy it at once.
const char* toCString(const std::wstring& text, unsigned int codePage = CP_ACP);
const char* toAnsiCString(const std::wstring& text);

inline const char* cStr(const std::string& text) { return text.c_str(); }
inline const wchar_t* wcStr(const std::wstring& text) { return text.c_str(); }

// printf-style wide formatting with the conventions of the station's format
// texts: "%s" and "%ls" take a wide string (const wchar_t*), "%hs" and "%S" a
// narrow UTF-8 one (const char*); "%c"/"%lc" a wide character, "%hc"/"%C" a
// narrow one; numbers are formatted in the C locale. The result is cut to the
// first 65536 characters. Only numbers, characters and character pointers
// can be passed: a string object is refused when the code is compiled.
std::wstring formatWideArgs(const wchar_t* format, ...);
template <class... Args>
std::wstring formatWide(const wchar_t* format, Args... args)
{
    static_assert((std::is_scalar_v<Args> && ...), "pass strings to formatWide as wcStr(text) or cStr(text)");
    return formatWideArgs(format, args...);
}

// One number through a narrow printf format (C locale), cut to 50 characters.
std::wstring intToWide(int value, const char* format = "%d");
std::wstring doubleToWide(double value, const char* format = "%g");
std::wstring boolToWide(bool value);

// The replacement character of the ANSI code page ("?").
std::uint16_t getAnsiDefaultChar();

// The UTF-8 coder, for code points up to 0x7FFFFFFF in sequences of 1 to 6
// bytes. `utf8Decode` answers the bytes used, -1 for an invalid (or overlong)
// sequence, -2 when `available` is shorter than the sequence the first byte
// announces. `utf8Encode` answers the bytes written, -1 for a code point above
// 0x7FFFFFFF, -2 when `room` is too small.
int utf8Decode(std::uint32_t& codePoint, const unsigned char* bytes, std::size_t available);
int utf8Encode(unsigned char* out, std::uint32_t codePoint, std::size_t room);

// Text converters over the coder. Decoding accepts sequences of 1 to 4 bytes
// (a whole code point fits one wchar_t) and ends at the first zero byte; a
// zero unit in wide text produces nothing. The lenient forms put "?" for what
// they cannot convert and set `error`; the strict forms throw the plain text
// "UTF8 error: source too large" (decoding) or "UTF8 error: result too large"
// (encoding a unit that needs more than 4 bytes) as a const char*.
std::wstring utf8ToWideLenient(const std::string& text, bool& error);
std::wstring utf8ToWideStrict(const std::string& text);
std::string utf8FromWideLenient(const std::wstring& text, bool& error);
std::string utf8FromWide(const std::wstring& text);

// UTF-16 as the settings file, dialog templates and controller data carry it.
// Code points above U+FFFF become surrogate pairs; a pair read back becomes
// one code point, and a lone surrogate is kept as its own unit, so any unit
// sequence survives the round trip. Values beyond U+10FFFF become U+FFFD.
std::u16string wideToUtf16(const std::wstring& text);
std::wstring utf16ToWide(const std::u16string& units);
std::wstring utf16ToWide(const char16_t* units, std::size_t count);

// The same as little-endian bytes. An odd trailing byte is ignored.
std::vector<unsigned char> wideToUtf16le(const std::wstring& text);
void appendUtf16le(std::vector<unsigned char>& bytes, const std::wstring& text);
std::wstring utf16leToWide(const unsigned char* bytes, std::size_t byteCount);
