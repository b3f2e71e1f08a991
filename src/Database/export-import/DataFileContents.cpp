#include "Database/export-import/DataFileContents.h"

#include "Rodezir/LogStream.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>

namespace {

constexpr std::size_t LONGEST = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

DataFileContents::ReadResult DataFileContents::read(const std::string& path, std::vector<unsigned char>& contents)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return ReadResult::CannotOpen;
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    while (true) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (bytes.size() + got > LONGEST) {
            LogStream::instance() << "The data file '" << path << "' is too long to export.\n";
            return ReadResult::ReadError;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk)
            break;
    }
    if (std::ferror(file.get())) {
        LogStream::instance() << "Could not read data file '" << path << "' error: "
                              << errorText(static_cast<unsigned long>(errno)) << "\n";
        return ReadResult::ReadError;
    }
    if (contents.capacity() < RESERVED)
        contents.reserve(RESERVED);
    appendAsText(bytes.data(), bytes.size(), contents);
    return ReadResult::Read;
}

void DataFileContents::appendAsText(const unsigned char* bytes, std::size_t size, std::vector<unsigned char>& contents)
{
    // Line ends first, as a text stream gives them: CR LF becomes LF, a lone CR stays.
    std::vector<unsigned char> text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n')
            continue;
        text.push_back(bytes[i]);
    }
    // Then piece by piece, as a line read hands them over: each piece ends
    // after its LF or after PIECE characters, and is kept up to its first zero.
    std::size_t position = 0;
    while (position < text.size()) {
        const auto start = text.begin() + static_cast<std::ptrdiff_t>(position);
        const auto limit = text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), position + PIECE));
        auto end = std::find(start, limit, '\n');
        if (end != limit)
            ++end;
        contents.insert(contents.end(), start, std::find(start, end, '\0'));
        position = static_cast<std::size_t>(end - text.begin());
    }
}

std::vector<unsigned char> DataFileContents::asDataFile(const std::vector<unsigned char>& contents)
{
    // The session writes its recommendations with LF (the marker's line
    // included): only the sections before them have CR LF to give back, so
    // a session that goes out and comes back in keeps its file's bytes.
    const std::string_view text(reinterpret_cast<const char*>(contents.data()), contents.size());
    std::size_t recommendations = 0;
    while (recommendations < text.size() && !text.substr(recommendations).starts_with(RECOMMENDATIONS_MARKER)) {
        const std::size_t lineEnd = text.find('\n', recommendations);
        recommendations = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    }
    std::vector<unsigned char> file;
    file.reserve(contents.size() + recommendations / 32);
    for (std::size_t i = 0; i < recommendations; ++i) {
        if (contents[i] == '\n')
            file.push_back('\r');
        file.push_back(contents[i]);
    }
    file.insert(file.end(), contents.begin() + static_cast<std::ptrdiff_t>(recommendations), contents.end());
    return file;
}
