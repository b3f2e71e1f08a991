#include "app/graphs/MarkSection.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <istream>

namespace MarkSection {
namespace {

std::string number(int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// One decimal integer as "%d" takes it: blanks skipped, an optional sign, at
// least one digit; the character after it is put back. A number beyond the
// range of int counts as damage rather than being cut to some other value.
bool readInt(CharSource& in, int& value)
{
    int c = in.get();
    while (c >= 0 && isBlank(c))
        c = in.get();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = in.get();
    }
    long long magnitude = 0;
    int digits = 0;
    while (c >= '0' && c <= '9') {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return false;
        ++digits;
        c = in.get();
    }
    if (c >= 0)
        in.unget(c);
    if (digits == 0)
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

} // namespace

std::string countLine(int count) { return number(count) + "\r\n"; }

std::string markLine(int sampleIndex, int image) { return number(sampleIndex) + " " + number(image) + "\r\n"; }

int FileSource::get() { return std::fgetc(file_); }

void FileSource::unget(int c) { std::ungetc(c, file_); }

bool FileSource::failed() const { return std::ferror(file_) != 0; }

int StreamSource::get()
{
    std::streambuf* buffer = in_.rdbuf();
    if (!buffer) {
        in_.setstate(std::ios::badbit);
        return -1;
    }
    const auto c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
        in_.setstate(std::ios::eofbit);
        return -1;
    }
    return std::char_traits<char>::to_int_type(std::char_traits<char>::to_char_type(c));
}

void StreamSource::unget(int) { in_.rdbuf()->sungetc(); }

bool StreamSource::failed() const { return in_.fail(); }

int TextSource::get()
{
    if (position_ >= text_.size())
        return -1;
    return static_cast<unsigned char>(text_[position_++]);
}

void TextSource::unget(int) { --position_; }

bool read(CharSource& in, const std::function<void(int sampleIndex, int image)>& onMark)
{
    if (in.failed())
        return false;
    int count = 0;
    if (!readInt(in, count) || in.failed())
        return false;
    // Nothing is reserved for the count: a damaged file may promise billions.
    for (int i = 0; i < count; ++i) {
        int sampleIndex = 0;
        int image = 0;
        if (!readInt(in, sampleIndex) || !readInt(in, image) || in.failed())
            return false;
        onMark(sampleIndex, image);
    }
    return true;
}

} // namespace MarkSection
