#pragma once
// How two key texts of the records compare: names ignore letter case (any
// script, not only A to Z), dates, times and serial identifiers compare byte
// for byte.

#include <string>

enum class TextMatch {
    IgnoringCase,
    Exact,
};

// True when the two UTF-8 texts are equal under the given comparison.
bool textMatches(const std::string& a, const std::string& b, TextMatch match);
// True when the UTF-8 text begins with the prefix under the given comparison.
bool textStartsWith(const std::string& text, const std::string& prefix, TextMatch match);

// One field of a record key as a statement matches it: its text and how the
// system compares it.
struct KeyPart {
    std::string value;
    TextMatch match = TextMatch::IgnoringCase;
};
