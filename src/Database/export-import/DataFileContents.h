#pragma once
// A session's data file as the contents an exported session carries: read as
// text (a CR LF arrives as LF, and a line piece ends at a zero byte), and
// turned back into the data file's bytes: CR LF ends the lines of the marks
// and measurements, LF those from the recommendations on, as a session
// writes them.

#include <cstddef>
#include <string>
#include <string_view>
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

    // The line that opens a data file's recommendations.
    static constexpr std::string_view RECOMMENDATIONS_MARKER = "recommendations:";

    // The contents as the session's data file holds them: every LF before
    // the first line that starts with the recommendations marker written as
    // CR LF; that line and what follows as they are. (The marks and the
    // measurements are numbers, so the marker's first line is the section's.)
    static std::vector<unsigned char> asDataFile(const std::vector<unsigned char>& contents);
};
