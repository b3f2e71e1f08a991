#pragma once
// The process-wide error log "errors.txt": every failure report and every
// failed internal check of the station is one line in it. A report runs from
// one call of `instance` to the next; the line breaks and other control
// characters inside it (a file name may hold any) are written as visible
// escapes, so no text can end a report's line early or forge another's.

#include <cstdio>
#include <string>

class LogStreamBase {
public:
    virtual ~LogStreamBase() = default;
    // Kept for the layout of the interface; nothing asks it.
    virtual bool accepts(int) { return true; }
    virtual void write(const char* text) = 0;
};

class LogStream : public LogStreamBase {
public:
    using Manipulator = LogStream& (*)(LogStream&);

    // The log, created (opened with its header) on first use. Each call
    // begins a report: the line of the report before it is ended.
    static LogStream& instance();
    // Ends the log at exit: writes "-eof-" and forgets the instance. A report
    // written after this opens the file again in append mode with a warning.
    static void destroy();
    static void setShowOnExit(bool show);
    // The program's version text, written into the header when not empty.
    static std::string headerText;

    ~LogStream() override;

    void write(const char* text) override;
    // Report text: a line end stands only at the report's end (several in a
    // row count as one); inside the report, and for every other control
    // character, the escape is written ("\n", "\r", "\t", "\x1b").
    void write(const char* bytes, std::size_t length);
    void writeSeparator();
    bool writeOsVersion();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    LogStream& operator<<(const char* text);
    LogStream& operator<<(const std::string& text);
    LogStream& operator<<(const wchar_t* text);
    LogStream& operator<<(const std::wstring& text);
    LogStream& operator<<(char c);
    LogStream& operator<<(wchar_t c);
    LogStream& operator<<(bool value);
    LogStream& operator<<(short value);
    LogStream& operator<<(int value);
    LogStream& operator<<(unsigned int value);
    LogStream& operator<<(long value);
    LogStream& operator<<(unsigned long value);
    LogStream& operator<<(long long value);
    LogStream& operator<<(unsigned long long value);
    LogStream& operator<<(float value);
    LogStream& operator<<(double value);
    LogStream& operator<<(Manipulator manipulator) { return manipulator(*this); }

    // Both write a line end.
    static LogStream& endl(LogStream& stream);
    static LogStream& newline(LogStream& stream);

private:
    LogStream();
    void open(bool append);
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void writeRaw(const char* bytes, std::size_t length);
    void holdLineEnd();
    void takeBackLineEnd();
    void endReport();

    std::FILE* file_ = nullptr;
    std::string path_;
    // Text of the current report stands on the last line, not yet ended.
    bool lineOpen_ = false;
    // The line ends written last, at `lineEndAt_` in the file: the report's
    // end unless more of the report follows, which takes them back.
    int heldLineEnds_ = 0;
    long lineEndAt_ = -1;
};

// A wide unit as one log byte: above 255 it becomes '?'.
char narrowChar(wchar_t unit);

// The system's text for an error number (errno), or "Unknown error: <n>".
std::string errorText(unsigned long code);
std::wstring errorTextWide(unsigned long code);
// The same without its line end, for a reason inside a line.
std::string errorReason(unsigned long code);

// An internal check: when the expression is false, one line goes to the error
// log and the program carries on. It never stops, throws or shows anything.
#define KOVA_ASSERT(expr)                                                                       \
    do {                                                                                        \
        if (!(expr))                                                                            \
            ::LogStream::instance() << "Assert failed in " __FILE__ " (" << __LINE__ << ") : " \
                                    << #expr << "\n";                                           \
    } while (false)
