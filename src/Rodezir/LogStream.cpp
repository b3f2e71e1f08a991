#include "Rodezir/LogStream.h"

#include "Rodezir/gstringUtil.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/utsname.h>

std::string LogStream::headerText;

namespace {
LogStream* theInstance = nullptr;
bool destroyedOnce = false;
bool showOnExit = false;
bool exitHandlerInstalled = false;

void destroyAtExit() { LogStream::destroy(); }
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
    write("-eof-\n");
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
    *this << "Date:" << date << " Time:" << time << "\n";
    writeOsVersion();
    writeSeparator();
    if (!headerText.empty()) {
        *this << headerText << "\n";
        writeSeparator();
    }
    if (destroyedOnce)
        *this << "Warning: the LogStream has been destroyed once\n";
}

void LogStream::write(const char* text) { write(text, text ? std::strlen(text) : 0); }

void LogStream::write(const char* bytes, std::size_t length)
{
    if (!file_)
        return;
    if (length > 0)
        std::fwrite(bytes, 1, length, file_);
    std::fflush(file_);
}

void LogStream::printf(const char* format, ...)
{
    if (!file_)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file_, format, args);
    va_end(args);
    std::fflush(file_);
}

void LogStream::writeSeparator()
{
    for (int i = 0; i < 15; ++i)
        write("-----", 5);
    write("\n", 1);
}

bool LogStream::writeOsVersion()
{
    utsname name{};
    if (uname(&name) != 0)
        return false;
    *this << name.sysname << " " << name.release << " " << name.version << " (" << name.machine << ")";
    return endl(*this), true;
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
