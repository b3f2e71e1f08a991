#pragma once
// Walks a text token by token, a token being a run of characters that are
// not in the separator set.

#include <string>

namespace kova {

class StringTokenizer {
public:
    StringTokenizer(std::string text, std::string separators);

    // Skips separators, then answers the run up to the next separator or the
    // end, leaving the position at that separator; empty when none is left.
    std::string nextToken();
    // Whether any character that is not a separator remains.
    bool hasMoreTokens() const;

private:
    std::string text_;
    std::string separators_;
    std::size_t position_ = 0;
};

} // namespace kova
