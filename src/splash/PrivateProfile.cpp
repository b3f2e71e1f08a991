#include "splash/PrivateProfile.h"

#include <fstream>
#include <iterator>

namespace splash {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string limited(std::string_view value)
{
    return std::string(value.substr(0, PrivateProfile::MAX_VALUE));
}

} // namespace

std::string PrivateProfile::getString(const std::filesystem::path& file, std::string_view section,
                                      std::string_view key, std::string_view fallback)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return limited(fallback);
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > MAX_FILE)
        return limited(fallback);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return limited(fallback);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return findValue(text, section, key, fallback);
}

std::string PrivateProfile::findValue(std::string_view text, std::string_view section, std::string_view key,
                                      std::string_view fallback)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    bool inSection = false;
    bool sectionSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.starts_with('[')) {
            // Only the first section of the name counts.
            if (inSection)
                break;
            const std::size_t close = line.find(']');
            const std::string_view name = trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            inSection = !sectionSeen && sameName(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !sameName(trimmed(line.substr(0, equals)), key))
            continue;
        std::string_view value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return limited(value);
    }
    return limited(fallback);
}

} // namespace splash
