#include "Rodezir/ResourceHeader.h"

#include "Rodezir/FileUtil.h"
#include "Rodezir/StringTokenizer.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace kova {
namespace {

constexpr const char* SEPARATORS = " ;\n\r\t";

bool decimalValue(const std::string& token, int& value)
{
    if (token.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(token.c_str(), &end, 10);
    if (end != token.c_str() + token.size() || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

ResourceNameMap parseResourceHeader(const std::string& text)
{
    std::vector<std::string> tokens;
    StringTokenizer tokenizer(text, SEPARATORS);
    while (tokenizer.hasMoreTokens())
        tokens.push_back(tokenizer.nextToken());

    ResourceNameMap names;
    for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (::strcasecmp(tokens[i].c_str(), "#define") != 0)
            continue;
        // A definition without a number (an include guard) leaves the next
        // "#define" to be read as such.
        int id = 0;
        if (!decimalValue(tokens[i + 2], id))
            continue;
        names[id] = tokens[i + 1];
        i += 2;
    }
    return names;
}

ResourceNameMap readResourceHeader(const std::string& path)
{
    std::unique_ptr<unsigned char[]> block;
    std::size_t size = 0;
    if (!FileUtil::readWhole(path, block, size, false))
        return {};
    return parseResourceHeader(std::string(reinterpret_cast<const char*>(block.get()), size));
}

} // namespace kova
