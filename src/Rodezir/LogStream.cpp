#include "Rodezir/LogStream.h"

#include "Rodezir/gstringUtil.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

std::string LogStream::headerText;

namespace {
LogStream* theInstance = nullptr;
bool destroyedOnce = false;
bool showOnExit = false;
bool exitHandlerInstalled = false;

void destroyAtExit() { LogStream::destroy(); }

void appendHex(std::string& out, unsigned char c)
{
    static const char DIGITS[] = "0123456789abcdef";
    out += DIGITS[c >> 4];
    out += DIGITS[c & 0x0F];
}

// How a control character shows in a report.
void appendEscape(std::string& out, unsigned char c)
{
    switch (c) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    out += "\\x";
    appendHex(out, c);
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The controls of the second set, U+0080 to U+009F, as UTF-8 writes them:
// terminals act on some (U+009B starts a command) as on ESC [.
bool isEncodedControl(const char* bytes, std::size_t at, std::size_t length)
{
    return static_cast<unsigned char>(bytes[at]) == 0xC2 && at + 1 < length
           && static_cast<unsigned char>(bytes[at + 1]) >= 0x80 && static_cast<unsigned char>(bytes[at + 1]) <= 0x9F;
}
} // namespace

char narrowChar(wchar_t unit)
{
    return static_cast<unsigned long>(unit) > 255 ? '?' : static_cast<char>(static_cast<unsigned char>(unit));
}

LogStream& LogStream::instance()
{
    if (!theInstance) {
        theInstance = new LogStream();
        if (!exitHandlerInstalled) {
            exitHandlerInstalled = true;
            std::atexit(destroyAtExit);
        }
    } else {
        theInstance->endReport();
    }
    return *theInstance;
}

void LogStream::destroy()
{
    LogStream* stream = theInstance;
    theInstance = nullptr;
    delete stream;
}

void LogStream::setShowOnExit(bool show) { showOnExit = show; }

LogStream::LogStream()
{
    // The log lives in the working directory, the station directory.
    path_ = "errors.txt";
    open(false);
}

LogStream::~LogStream()
{
    destroyedOnce = true;
    if (!file_)
        return;
    endReport();
    writeRaw("-eof-\n", 6);
    // Showing the log in an editor at exit is a desktop nicety nobody asks
    // for on this platform; the flag is kept so callers need not care.
    std::fclose(file_);
    file_ = nullptr;
}

void LogStream::open(bool append)
{
    file_ = std::fopen(path_.c_str(), (destroyedOnce || append) ? "a" : "w");
    if (!file_)
        return;
    writeSeparator();
    char date[16];
    char time[16];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%m/%d/%y", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    *this << "Date:" << date << " Time:" << time;
    endReport();
    writeOsVersion();
    writeSeparator();
    if (!headerText.empty()) {
        *this << headerText;
        endReport();
        writeSeparator();
    }
    if (destroyedOnce) {
        *this << "Warning: the LogStream has been destroyed once";
        endReport();
    }
}

void LogStream::write(const char* text) { write(text, text ? std::strlen(text) : 0); }

void LogStream::write(const char* bytes, std::size_t length)
{
    if (!file_)
        return;
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') {
            writeRaw(out.data(), out.size());
            out.clear();
            holdLineEnd();
            continue;
        }
        // More of the report: the line ends before it were inside it.
        if (heldLineEnds_ > 0) {
            takeBackLineEnd();
            for (; heldLineEnds_ > 0; --heldLineEnds_)
                appendEscape(out, '\n');
        }
        lineOpen_ = true;
        if (isEncodedControl(bytes, i, length)) {
            out += "\\u00";
            appendHex(out, static_cast<unsigned char>(bytes[++i]));
        } else if (isControl(c)) {
            appendEscape(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    writeRaw(out.data(), out.size());
}

void LogStream::writeRaw(const char* bytes, std::size_t length)
{
    if (!file_)
        return;
    if (length > 0)
        std::fwrite(bytes, 1, length, file_);
    std::fflush(file_);
}

void LogStream::holdLineEnd()
{
    if (heldLineEnds_++ > 0)
        return;
    // Written at once, so the file holds whole lines after every report.
    lineEndAt_ = std::ftell(file_);
    writeRaw("\n", 1);
    lineOpen_ = false;
}

void LogStream::takeBackLineEnd()
{
    // Only while the line end is still the file's last byte; otherwise the
    // escape that follows still shows where the break came from.
    struct stat status {};
    const int fd = ::fileno(file_);
    if (lineEndAt_ < 0 || ::fstat(fd, &status) != 0 || status.st_size != lineEndAt_ + 1
        || ::ftruncate(fd, lineEndAt_) != 0)
        return;
    std::fseek(file_, lineEndAt_, SEEK_SET);
}

void LogStream::endReport()
{
    if (lineOpen_)
        writeRaw("\n", 1);
    lineOpen_ = false;
    heldLineEnds_ = 0;
}

void LogStream::printf(const char* format, ...)
{
    if (!file_)
        return;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        // A double printed with "%f" may run to hundreds of digits.
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, again);
        write(text.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
}

void LogStream::writeSeparator()
{
    for (int i = 0; i < 15; ++i)
        write("-----", 5);
    endReport();
}

bool LogStream::writeOsVersion()
{
    utsname name{};
    if (uname(&name) != 0)
        return false;
    *this << name.sysname << " " << name.release << " " << name.version << " (" << name.machine << ")";
    endReport();
    return true;
}

LogStream& LogStream::operator<<(const char* text)
{
    write(text);
    return *this;
}

LogStream& LogStream::operator<<(const std::string& text)
{
    write(text.data(), text.size());
    return *this;
}

LogStream& LogStream::operator<<(const wchar_t* text)
{
    return *this << std::wstring(text ? text : L"");
}

LogStream& LogStream::operator<<(const std::wstring& text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t unit : text)
        narrow += narrowChar(unit);
    return *this << narrow;
}

LogStream& LogStream::operator<<(char c)
{
    write(&c, 1);
    return *this;
}

LogStream& LogStream::operator<<(wchar_t c) { return *this << narrowChar(c); }

LogStream& LogStream::operator<<(bool value) { return *this << (value ? "true" : "false"); }

LogStream& LogStream::operator<<(short value)
{
    printf("%hd", value);
    return *this;
}

LogStream& LogStream::operator<<(int value)
{
    printf("%d", value);
    return *this;
}

LogStream& LogStream::operator<<(unsigned int value)
{
    printf("%u", value);
    return *this;
}

LogStream& LogStream::operator<<(long value)
{
    printf("%ld", value);
    return *this;
}

LogStream& LogStream::operator<<(unsigned long value)
{
    printf("%lu", value);
    return *this;
}

LogStream& LogStream::operator<<(long long value)
{
    printf("%lld", value);
    return *this;
}

LogStream& LogStream::operator<<(unsigned long long value)
{
    printf("%llu", value);
    return *this;
}

LogStream& LogStream::operator<<(float value)
{
    printf("%f", static_cast<double>(value));
    return *this;
}

LogStream& LogStream::operator<<(double value)
{
    printf("%f", value);
    return *this;
}

LogStream& LogStream::endl(LogStream& stream) { return stream << "\n"; }

LogStream& LogStream::newline(LogStream& stream) { return stream << "\n"; }

std::string errorText(unsigned long code)
{
    char buffer[256];
    // The GNU strerror_r answers a pointer that may or may not be the buffer.
    const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    if (!text || !*text || std::strncmp(text, "Unknown error", 13) == 0)
        return "Unknown error: " + std::to_string(code);
    return std::string(text) + "\n";
}

std::wstring errorTextWide(unsigned long code) { return toWide(errorText(code), CP_ACP); }

std::string errorReason(unsigned long code)
{
    std::string text = errorText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}
