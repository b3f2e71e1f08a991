#include "platform/RegistryHive.h"

#include <charconv>

namespace platform {

namespace {

constexpr std::string_view HEADER = "kova-registry 1";
constexpr char HEX[] = "0123456789ABCDEF";

void appendToken(std::string& out, std::string_view bytes)
{
    out += ':';
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte <= '~' && byte != '%') {
            out += c;
        } else {
            out += '%';
            out += HEX[byte >> 4];
            out += HEX[byte & 0x0F];
        }
    }
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool readToken(std::string_view token, std::string& bytes)
{
    if (token.empty() || token[0] != ':')
        return false;
    bytes.clear();
    for (std::size_t i = 1; i < token.size(); ++i) {
        if (token[i] != '%') {
            bytes += token[i];
            continue;
        }
        if (i + 2 >= token.size())
            return false;
        const int high = hexDigit(token[i + 1]);
        const int low = hexDigit(token[i + 2]);
        if (high < 0 || low < 0)
            return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find(' ', start);
        if (end == std::string_view::npos)
            end = line.size();
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

} // namespace

std::string RegistryHive::canonicalPath(std::string_view path)
{
    std::string result;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start) {
            if (!result.empty())
                result += '\\';
            result.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

std::string RegistryHive::fold(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

bool RegistryHive::keyExists(std::string_view path) const { return findKey(path) != nullptr; }

RegistryHive::Key* RegistryHive::findKey(std::string_view path)
{
    const std::string canonical = canonicalPath(path);
    if (canonical.empty())
        return &createKey(canonical);
    auto it = keys_.find(fold(canonical));
    return it == keys_.end() ? nullptr : &it->second;
}

const RegistryHive::Key* RegistryHive::findKey(std::string_view path) const
{
    static const Key root;
    const std::string canonical = canonicalPath(path);
    auto it = keys_.find(fold(canonical));
    if (it != keys_.end())
        return &it->second;
    return canonical.empty() ? &root : nullptr;
}

RegistryHive::Key& RegistryHive::createKey(std::string_view path)
{
    const std::string canonical = canonicalPath(path);
    // Every key above it exists too, as in the system's registry.
    for (std::size_t at = canonical.find('\\'); at != std::string::npos; at = canonical.find('\\', at + 1)) {
        const std::string parent = canonical.substr(0, at);
        keys_.try_emplace(fold(parent), Key{parent, {}});
    }
    return keys_.try_emplace(fold(canonical), Key{canonical, {}}).first->second;
}

bool RegistryHive::hasSubKeys(std::string_view path) const { return !subKeyNames(path).empty(); }

std::vector<std::string> RegistryHive::subKeyNames(std::string_view path) const
{
    const std::string canonical = canonicalPath(path);
    const std::string prefix = canonical.empty() ? std::string() : fold(canonical) + "\\";
    std::vector<std::string> names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
        const std::string& folded = it->first;
        if (folded.compare(0, prefix.size(), prefix) != 0)
            break;
        if (folded.size() == prefix.size() || folded.find('\\', prefix.size()) != std::string::npos)
            continue;
        names.push_back(it->second.path.substr(prefix.size()));
    }
    return names;
}

void RegistryHive::removeKey(std::string_view path) { keys_.erase(fold(canonicalPath(path))); }

bool RegistryHive::operator==(const RegistryHive& other) const
{
    if (keys_.size() != other.keys_.size())
        return false;
    for (const auto& [folded, key] : keys_) {
        auto it = other.keys_.find(folded);
        if (it == other.keys_.end() || it->second.path != key.path || it->second.values.size() != key.values.size())
            return false;
        for (const auto& [name, value] : key.values) {
            auto found = it->second.values.find(name);
            if (found == it->second.values.end() || found->second.name != value.name || !(found->second.value == value.value))
                return false;
        }
    }
    return true;
}

std::string RegistryHive::toText() const
{
    std::string text(HEADER);
    text += '\n';
    for (const auto& [folded, key] : keys_) {
        text += "key ";
        appendToken(text, key.path);
        text += '\n';
        for (const auto& [foldedName, value] : key.values) {
            text += "value ";
            appendToken(text, value.name);
            text += ' ';
            text += std::to_string(value.value.type);
            text += ' ';
            appendToken(text, std::string_view(reinterpret_cast<const char*>(value.value.data.data()), value.value.data.size()));
            text += '\n';
        }
    }
    return text;
}

bool RegistryHive::fromText(std::string_view text, int* badLine)
{
    keys_.clear();
    int lineNumber = 0;
    int firstBad = 0;
    Key* current = nullptr;
    bool sawHeader = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;

        bool good = false;
        const std::vector<std::string_view> fields = splitFields(line);
        std::string path, name, bytes;
        std::uint32_t type = 0;
        if (!sawHeader) {
            good = sawHeader = line == HEADER;
        } else if (fields[0] == "key") {
            // Values after a damaged key line belong to no key we know.
            current = nullptr;
            if (fields.size() == 2 && readToken(fields[1], path)) {
                current = &createKey(path);
                good = true;
            }
        } else if (fields.size() == 4 && fields[0] == "value" && current && readToken(fields[1], name)
                   && readToken(fields[3], bytes)) {
            const auto [end, ec] = std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), type);
            if (ec == std::errc() && end == fields[2].data() + fields[2].size() && !fields[2].empty()) {
                RegistryValue value{type, std::vector<unsigned char>(bytes.begin(), bytes.end())};
                current->values[fold(name)] = Value{name, std::move(value)};
                good = true;
            }
        }
        if (!good && firstBad == 0)
            firstBad = lineNumber;
        if (!sawHeader)
            break;
    }
    if (!sawHeader && firstBad == 0)
        firstBad = text.empty() ? 0 : 1;
    if (badLine)
        *badLine = firstBad;
    return firstBad == 0 && (sawHeader || text.empty());
}

} // namespace platform
