#include "Rodezir/StringTokenizer.h"

namespace kova {

StringTokenizer::StringTokenizer(std::string text, std::string separators)
    : text_(std::move(text)), separators_(std::move(separators))
{
}

std::string StringTokenizer::nextToken()
{
    const std::size_t start = text_.find_first_not_of(separators_, position_);
    if (start == std::string::npos) {
        position_ = text_.size();
        return {};
    }
    const std::size_t end = text_.find_first_of(separators_, start);
    position_ = end == std::string::npos ? text_.size() : end;
    return text_.substr(start, position_ - start);
}

bool StringTokenizer::hasMoreTokens() const
{
    return text_.find_first_not_of(separators_, position_) != std::string::npos;
}

} // namespace kova
