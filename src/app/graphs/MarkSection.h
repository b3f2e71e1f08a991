#pragma once
// The marks of one curve as a session data file keeps them: the count
// ("%d\r\n"), then one line "sampleIndex image\r\n" per mark. Written line by
// line, and read number by number the way the file's other sections are, so
// the reader stops just behind the last number of the section.

#include <cstdio>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace MarkSection {

std::string countLine(int count);
std::string markLine(int sampleIndex, int image);

// Characters of the file being read, one at a time.
class CharSource {
public:
    virtual ~CharSource() = default;
    // The next character, or -1 at the end or on an error.
    virtual int get() = 0;
    // Puts back the character just read, so the next section starts with it.
    virtual void unget(int c) = 0;
    // The source's error indicator: reading failed (not merely ended).
    virtual bool failed() const = 0;
};

class FileSource final : public CharSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    int get() override;
    void unget(int c) override;
    bool failed() const override;

private:
    std::FILE* file_;
};

class StreamSource final : public CharSource {
public:
    explicit StreamSource(std::istream& in) : in_(in) {}
    int get() override;
    void unget(int c) override;
    bool failed() const override;

private:
    std::istream& in_;
};

class TextSource final : public CharSource {
public:
    explicit TextSource(std::string_view text) : text_(text) {}
    int get() override;
    void unget(int c) override;
    bool failed() const override { return false; }
    // How far reading got.
    std::size_t position() const { return position_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// Reads one section and hands each mark to `onMark` in file order. True when
// the whole section was read (a count below 1 is an empty section); false
// when the source had already failed, fails while reading, ends before the
// lines the count promises, or holds something else than a number where one
// belongs. The marks handed over before a failure stay handed over.
bool read(CharSource& in, const std::function<void(int sampleIndex, int image)>& onMark);

} // namespace MarkSection
