#include "Rodezir/gstringUtil.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <locale.h>

namespace {

constexpr wchar_t REPLACEMENT = L'\uFFFD';
constexpr std::size_t FORMAT_LIMIT = 65536;
constexpr std::size_t NUMBER_LIMIT = 50;

bool isUtf8(unsigned int codePage) { return codePage == CP_ACP || codePage == CP_UTF8; }

// An iconv conversion descriptor, closed with its owner.
class Iconv {
public:
    Iconv(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }
    // Converts what it can; answers the iconv result and moves the pointers.
    std::size_t convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft)
    {
        return iconv(cd_, const_cast<char**>(&in), &inLeft, &out, &outLeft);
    }

private:
    iconv_t cd_;
};

std::string iconvName(unsigned int codePage) { return "CP" + std::to_string(codePage); }

// Narrow text of a language code page to wide text, one character at a time:
// an invalid or cut-off byte becomes "?" and the conversion goes on after it.
std::wstring codePageToWide(const std::string& text, unsigned int codePage)
{
    Iconv cd("WCHAR_T", iconvName(codePage));
    if (!cd.valid())
        return {};
    std::wstring result;
    const char* in = text.data();
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        wchar_t unit = 0;
        char* out = reinterpret_cast<char*>(&unit);
        std::size_t outLeft = sizeof unit;
        std::size_t rc = cd.convert(in, inLeft, out, outLeft);
        if (outLeft == 0) {
            result += unit;
            continue;
        }
        if (rc != static_cast<std::size_t>(-1))
            break;
        // This byte cannot start a character here, or the text ends inside one.
        result += L'?';
        ++in;
        --inLeft;
        cd.reset();
    }
    return result;
}

// Wide text to a language code page, unit by unit, "?" for what it cannot hold.
std::string wideToCodePage(const std::wstring& text, unsigned int codePage)
{
    Iconv cd(iconvName(codePage), "WCHAR_T");
    if (!cd.valid())
        return {};
    std::string result;
    for (wchar_t unit : text) {
        char buffer[16];
        const char* in = reinterpret_cast<const char*>(&unit);
        std::size_t inLeft = sizeof unit;
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = cd.convert(in, inLeft, out, outLeft);
        if (rc == static_cast<std::size_t>(-1) || inLeft != 0) {
            cd.reset();
            result += '?';
            continue;
        }
        result.append(buffer, static_cast<std::size_t>(out - buffer));
    }
    return result;
}

std::string untilZero(const std::string& text) { return text.substr(0, std::strlen(text.c_str())); }
std::wstring untilZero(const std::wstring& text) { return text.substr(0, std::wcslen(text.c_str())); }

// Decodes UTF-8 up to its first zero byte. `replacement` stands for each
// invalid byte (0 = throw the strict error instead).
std::wstring decodeUtf8(const std::string& text, wchar_t replacement, bool& error)
{
    std::wstring result;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t left = text.size();
    while (left > 0 && *bytes != 0) {
        std::uint32_t codePoint = 0;
        int used = utf8Decode(codePoint, bytes, left < 4 ? left : 4);
        if (used > 0 && codePoint <= 0x10FFFF) {
            result += static_cast<wchar_t>(codePoint);
            bytes += used;
            left -= static_cast<std::size_t>(used);
            continue;
        }
        if (replacement == 0)
            throw "UTF8 error: source too large";
        error = true;
        result += replacement;
        ++bytes;
        --left;
    }
    return result;
}

// Encodes each unit as its own code point; a zero unit produces nothing.
// `lenient` puts "?" for a unit that needs more than 4 bytes, else it throws.
std::string encodeUtf8(const std::wstring& text, bool lenient, bool& error)
{
    std::string result;
    result.reserve(text.size());
    for (wchar_t unit : text) {
        if (unit == 0)
            continue;
        unsigned char buffer[4];
        int written = utf8Encode(buffer, static_cast<std::uint32_t>(unit), sizeof buffer);
        if (written > 0) {
            result.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(written));
            continue;
        }
        if (!lenient)
            throw "UTF8 error: result too large";
        error = true;
        result += '?';
    }
    return result;
}

// printf of numbers in the C locale, whatever the application set.
class CNumericLocale {
public:
    CNumericLocale()
    {
        static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        previous_ = uselocale(cLocale);
    }
    ~CNumericLocale() { uselocale(previous_); }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t previous_;
};

std::string formatNarrow(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatNarrow(const char* format, ...)
{
    CNumericLocale cLocale;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string result;
    if (needed > 0) {
        result.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(result.data(), result.size(), format, again);
        result.resize(static_cast<std::size_t>(needed));
    }
    va_end(again);
    return result;
}

// One conversion of a format text: flags, width, precision and length as
// written, resolved to numbers where the format asked for "*".
struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    std::string length;
    char type = 0;

    std::string narrowSpec() const
    {
        std::string spec = "%" + flags;
        if (width >= 0)
            spec += std::to_string(width);
        if (precision >= 0)
            spec += "." + std::to_string(precision);
        return spec;
    }
};

// Pads a converted field to its width, left-aligned with the "-" flag.
void appendPadded(std::wstring& out, std::wstring field, const Conversion& c)
{
    if (c.width > 0 && field.size() < static_cast<std::size_t>(c.width)) {
        std::wstring pad(static_cast<std::size_t>(c.width) - field.size(), L' ');
        field = c.flags.find('-') != std::string::npos ? field + pad : pad + field;
    }
    out += field;
}

bool isNarrowText(const Conversion& c)
{
    return (c.type == 's' || c.type == 'c') ? c.length == "h" : (c.type == 'S' || c.type == 'C') && c.length != "l";
}

void formatString(std::wstring& out, const Conversion& c, va_list& args)
{
    std::wstring field;
    if (isNarrowText(c)) {
        const char* text = va_arg(args, const char*);
        field = text ? toWide(text, CP_ACP) : L"(null)";
    } else {
        const wchar_t* text = va_arg(args, const wchar_t*);
        field = text ? text : L"(null)";
    }
    if (c.precision >= 0 && field.size() > static_cast<std::size_t>(c.precision))
        field.resize(static_cast<std::size_t>(c.precision));
    appendPadded(out, field, c);
}

void formatChar(std::wstring& out, const Conversion& c, va_list& args)
{
    int value = va_arg(args, int);
    std::wstring field;
    if (isNarrowText(c))
        field = toWide(std::string(1, static_cast<char>(value)), CP_ACP);
    else
        field.assign(1, static_cast<wchar_t>(value));
    appendPadded(out, field, c);
}

void formatInteger(std::wstring& out, const Conversion& c, va_list& args)
{
    const std::string spec = c.narrowSpec();
    const bool isSigned = c.type == 'd' || c.type == 'i';
    std::string text;
    if (c.length == "ll" || c.length == "I64" || c.length == "j") {
        if (isSigned)
            text = formatNarrow((spec + "ll" + c.type).c_str(), va_arg(args, long long));
        else
            text = formatNarrow((spec + "ll" + c.type).c_str(), va_arg(args, unsigned long long));
    } else if (c.length == "l" || c.length == "z" || c.length == "t") {
        if (isSigned)
            text = formatNarrow((spec + "l" + c.type).c_str(), va_arg(args, long));
        else
            text = formatNarrow((spec + "l" + c.type).c_str(), va_arg(args, unsigned long));
    } else {
        // "h" and "hh" arrive promoted to int; printf narrows them again.
        const std::string length = (c.length == "h" || c.length == "hh") ? c.length : "";
        if (isSigned)
            text = formatNarrow((spec + length + c.type).c_str(), va_arg(args, int));
        else
            text = formatNarrow((spec + length + c.type).c_str(), va_arg(args, unsigned int));
    }
    out += toWide(text, CP_ACP);
}

void formatFloat(std::wstring& out, const Conversion& c, va_list& args)
{
    const std::string spec = c.narrowSpec();
    std::string text;
    if (c.length == "L")
        text = formatNarrow((spec + "L" + c.type).c_str(), va_arg(args, long double));
    else
        text = formatNarrow((spec + c.type).c_str(), va_arg(args, double));
    out += toWide(text, CP_ACP);
}

int readNumber(const wchar_t*& p)
{
    int value = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (value < 100000)
            value = value * 10 + (*p - L'0');
        ++p;
    }
    return value;
}

// Reads one conversion after its "%"; false for one the station never uses.
bool parseConversion(const wchar_t*& p, Conversion& c, va_list& args)
{
    while (*p && std::wcschr(L"-+ #0", *p))
        c.flags += static_cast<char>(*p++);
    if (*p == L'*') {
        ++p;
        c.width = va_arg(args, int);
        if (c.width < 0) {
            c.flags += '-';
            c.width = -c.width;
        }
    } else if (*p >= L'0' && *p <= L'9') {
        c.width = readNumber(p);
    }
    if (*p == L'.') {
        ++p;
        if (*p == L'*') {
            ++p;
            c.precision = va_arg(args, int);
        } else {
            c.precision = readNumber(p);
        }
    }
    static const wchar_t* const lengths[] = {L"hh", L"ll", L"I64", L"h", L"l", L"L", L"z", L"j", L"t"};
    for (const wchar_t* length : lengths) {
        const std::size_t n = std::wcslen(length);
        if (std::wcsncmp(p, length, n) == 0) {
            for (std::size_t i = 0; i < n; ++i)
                c.length += static_cast<char>(length[i]);
            p += n;
            break;
        }
    }
    if (*p == 0 || *p > 127)
        return false;
    c.type = static_cast<char>(*p++);
    return true;
}

std::wstring vformatWide(const wchar_t* format, va_list args)
{
    std::wstring out;
    if (!format)
        return out;
    va_list ap;
    va_copy(ap, args);
    for (const wchar_t* p = format; *p && out.size() < FORMAT_LIMIT;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        Conversion c;
        if (!parseConversion(p, c, ap)) {
            out.append(start, p);
            continue;
        }
        switch (c.type) {
        case 's': case 'S': formatString(out, c, ap); break;
        case 'c': case 'C': formatChar(out, c, ap); break;
        case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': formatInteger(out, c, ap); break;
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': formatFloat(out, c, ap); break;
        case 'p': out += toWide(formatNarrow("%p", va_arg(ap, void*)), CP_ACP); break;
        default: out.append(start, p); break;
        }
    }
    va_end(ap);
    if (out.size() > FORMAT_LIMIT)
        out.resize(FORMAT_LIMIT);
    return out;
}

std::wstring numberToWide(const std::string& text)
{
    return toWide(text.size() > NUMBER_LIMIT ? text.substr(0, NUMBER_LIMIT) : text, CP_ACP);
}

} // namespace

std::wstring toWide(const std::string& text, unsigned int codePage)
{
    const std::string narrow = untilZero(text);
    if (narrow.empty())
        return {};
    if (isUtf8(codePage)) {
        bool error = false;
        return decodeUtf8(narrow, REPLACEMENT, error);
    }
    return codePageToWide(narrow, codePage);
}

std::wstring ansiToWide(const char* text) { return text ? toWide(std::string(text), CP_ACP) : std::wstring(); }

std::string toNarrow(const std::wstring& text, unsigned int codePage)
{
    const std::wstring wide = untilZero(text);
    if (wide.empty())
        return {};
    if (!isUtf8(codePage))
        return wideToCodePage(wide, codePage);
    try {
        return utf8FromWide(wide);
    } catch (const char*) {
        // A value no code point reaches; the station keeps going with "?".
        bool error = false;
        return utf8FromWideLenient(wide, error);
    }
}

const char* toCString(const std::wstring& text, unsigned int codePage)
{
    static std::array<std::string, 16> ring;
    static std::size_t index = 0;
    index = (index + 1) % ring.size();
    ring[index] = toNarrow(text, codePage);
    return ring[index].c_str();
}

const char* toAnsiCString(const std::wstring& text) { return toCString(text, CP_ACP); }

std::wstring formatWideArgs(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring result = vformatWide(format, args);
    va_end(args);
    return result;
}

std::wstring intToWide(int value, const char* format)
{
    return numberToWide(formatNarrow(format ? format : "%d", value));
}

std::wstring doubleToWide(double value, const char* format)
{
    return numberToWide(formatNarrow(format ? format : "%g", value));
}

std::wstring boolToWide(bool value) { return value ? L"true" : L"false"; }

std::uint16_t getAnsiDefaultChar() { return u'?'; }

int utf8Decode(std::uint32_t& codePoint, const unsigned char* bytes, std::size_t available)
{
    if (available == 0)
        return -2;
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    struct Form {
        unsigned char low, high;
        int length;
        unsigned char payloadMask;
        unsigned char minimumSecond; // the smallest second byte that is not overlong
    };
    static constexpr Form forms[] = {
        {0xC2, 0xDF, 2, 0x1F, 0x80}, {0xE0, 0xE0, 3, 0x0F, 0xA0}, {0xE1, 0xEF, 3, 0x0F, 0x80},
        {0xF0, 0xF0, 4, 0x07, 0x90}, {0xF1, 0xF7, 4, 0x07, 0x80}, {0xF8, 0xF8, 5, 0x03, 0x88},
        {0xF9, 0xFB, 5, 0x03, 0x80}, {0xFC, 0xFC, 6, 0x01, 0x84}, {0xFD, 0xFD, 6, 0x01, 0x80},
    };
    for (const Form& form : forms) {
        if (lead < form.low || lead > form.high)
            continue;
        if (available < static_cast<std::size_t>(form.length))
            return -2;
        std::uint32_t value = lead & form.payloadMask;
        for (int i = 1; i < form.length; ++i) {
            if (bytes[i] < 0x80 || bytes[i] > 0xBF)
                return -1;
            value = (value << 6) | (bytes[i] & 0x3Fu);
        }
        if (bytes[1] < form.minimumSecond)
            return -1;
        codePoint = value;
        return form.length;
    }
    return -1;
}

int utf8Encode(unsigned char* out, std::uint32_t codePoint, std::size_t room)
{
    if (codePoint > 0x7FFFFFFF)
        return -1;
    struct Form {
        std::uint32_t limit;
        int length;
        unsigned char lead;
    };
    static constexpr Form forms[] = {
        {0x80, 1, 0x00}, {0x800, 2, 0xC0}, {0x10000, 3, 0xE0},
        {0x200000, 4, 0xF0}, {0x4000000, 5, 0xF8}, {0x80000000, 6, 0xFC},
    };
    for (const Form& form : forms) {
        if (codePoint >= form.limit)
            continue;
        if (room < static_cast<std::size_t>(form.length))
            return -2;
        for (int i = form.length - 1; i > 0; --i) {
            out[i] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
            codePoint >>= 6;
        }
        out[0] = static_cast<unsigned char>(form.lead | codePoint);
        return form.length;
    }
    return -1;
}

std::wstring utf8ToWideLenient(const std::string& text, bool& error) { return decodeUtf8(text, L'?', error); }

std::wstring utf8ToWideStrict(const std::string& text)
{
    bool error = false;
    return decodeUtf8(text, 0, error);
}

std::string utf8FromWideLenient(const std::wstring& text, bool& error) { return encodeUtf8(text, true, error); }

std::string utf8FromWide(const std::wstring& text)
{
    bool error = false;
    return encodeUtf8(text, false, error);
}

std::u16string wideToUtf16(const std::wstring& text)
{
    std::u16string units;
    units.reserve(text.size());
    for (wchar_t unit : text) {
        const auto codePoint = static_cast<std::uint32_t>(unit);
        if (codePoint <= 0xFFFF) {
            units += static_cast<char16_t>(codePoint);
        } else if (codePoint <= 0x10FFFF) {
            const std::uint32_t offset = codePoint - 0x10000;
            units += static_cast<char16_t>(0xD800 + (offset >> 10));
            units += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        } else {
            units += static_cast<char16_t>(REPLACEMENT);
        }
    }
    return units;
}

std::wstring utf16ToWide(const char16_t* units, std::size_t count)
{
    std::wstring text;
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t unit = units[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            const std::uint32_t codePoint = 0x10000 + ((unit - 0xD800u) << 10) + (units[i + 1] - 0xDC00u);
            text += static_cast<wchar_t>(codePoint);
            ++i;
        } else {
            text += static_cast<wchar_t>(unit);
        }
    }
    return text;
}

std::wstring utf16ToWide(const std::u16string& units) { return utf16ToWide(units.data(), units.size()); }

void appendUtf16le(std::vector<unsigned char>& bytes, const std::wstring& text)
{
    const std::u16string units = wideToUtf16(text);
    bytes.reserve(bytes.size() + 2 * units.size());
    for (char16_t unit : units) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
}

std::vector<unsigned char> wideToUtf16le(const std::wstring& text)
{
    std::vector<unsigned char> bytes;
    appendUtf16le(bytes, text);
    return bytes;
}

std::wstring utf16leToWide(const unsigned char* bytes, std::size_t byteCount)
{
    std::u16string units(byteCount / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return utf16ToWide(units);
}
