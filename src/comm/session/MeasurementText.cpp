#include "comm/session/MeasurementText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace MeasurementText {
namespace {

constexpr int SIGNIFICANT_DIGITS = 4;

void appendNumber(std::string& out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, SIGNIFICANT_DIGITS);
    out.append(buffer, result.ptr);
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The readers take a leading '+' as scanf does, but not "+-".
bool skipPlus(const char*& begin, const char* end)
{
    if (begin == end || *begin != '+')
        return true;
    ++begin;
    return begin != end && *begin != '-';
}

} // namespace

void appendHeader(std::string& out, std::int32_t count)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, count);
    out.append(buffer, result.ptr);
    out += "\r\n";
}

void appendRecord(std::string& out, const Measurement& m)
{
    const double fields[] = {m.depth,  double(m.ventilationMark),   double(m.compressionMark), double(m.stomachInflation),
                             m.volume, double(m.wrongHandPosition), double(m.ecg),             double(m.error66)};
    bool first = true;
    for (double field : fields) {
        if (!first)
            out += ' ';
        first = false;
        appendNumber(out, field);
    }
    out += "\r\n";
}

void Reader::skipSpace()
{
    while (pos_ < text_.size() && isSpace(text_[pos_]))
        ++pos_;
    exhausted_ = pos_ == text_.size();
}

bool Reader::readInt(std::int32_t& value)
{
    skipSpace();
    const char* begin = text_.data() + pos_;
    const char* end = text_.data() + text_.size();
    if (!skipPlus(begin, end))
        return false;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc())
        return false;
    pos_ = static_cast<std::size_t>(result.ptr - text_.data());
    return true;
}

bool Reader::readDouble(double& value)
{
    skipSpace();
    const char* begin = text_.data() + pos_;
    const char* end = text_.data() + text_.size();
    if (!skipPlus(begin, end))
        return false;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    // The station never writes infinities or NaN; such a number is damage.
    if (result.ec != std::errc() || !std::isfinite(value))
        return false;
    pos_ = static_cast<std::size_t>(result.ptr - text_.data());
    return true;
}

bool Reader::readFlag(std::uint8_t& flag)
{
    std::int32_t value = 0;
    if (!readInt(value))
        return false;
    flag = value != 0 ? 1 : 0;
    return true;
}

bool Reader::readCount(std::int32_t& count)
{
    return readInt(count) && count >= 0;
}

bool Reader::readRecord(Measurement& m)
{
    double ecg = 0.0;
    if (!readDouble(m.depth) || !readFlag(m.ventilationMark) || !readFlag(m.compressionMark)
        || !readFlag(m.stomachInflation) || !readDouble(m.volume) || !readFlag(m.wrongHandPosition)
        || !readDouble(ecg) || !readFlag(m.error66))
        return false;
    ecg = std::trunc(ecg);
    if (ecg < std::numeric_limits<std::int32_t>::min() || ecg > std::numeric_limits<std::int32_t>::max())
        return false;
    m.ecg = static_cast<std::int32_t>(ecg);
    return true;
}

} // namespace MeasurementText
