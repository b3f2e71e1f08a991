#pragma once
// A session's data file as the contents an exported session carries: read as
// text (a CR LF arrives as LF, and a line piece ends at a zero byte), and
// turned back into a data file's text with CR LF line ends.

#include <cstddef>
#include <string>
#include <vector>

class DataFileContents {
public:
    // The contents are reserved to this before a file is read into them.
    static constexpr std::size_t RESERVED = 512000;
    // A text read hands over at most this many characters at a time.
    static constexpr std::size_t PIECE = 4095;

    enum class ReadResult { Read, CannotOpen, ReadError };
    // The file's text appended to `contents`; on failure the contents hold
    // what came before. A file too long for a record's length is a read error.
    static ReadResult read(const std::string& path, std::vector<unsigned char>& contents);
    // What a text read of these file bytes hands over.
    static void appendAsText(const unsigned char* bytes, std::size_t size, std::vector<unsigned char>& contents);

    // The contents as a data file holds them: every LF written as CR LF.
    static std::vector<unsigned char> withCrLf(const std::vector<unsigned char>& contents);
};
