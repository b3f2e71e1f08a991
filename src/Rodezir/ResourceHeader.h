#pragma once
// The symbolic names of resource ids, read from a resource header's
// "#define NAME number" lines, so the translation fit checker can name the
// dialogs and controls it reports.

#include <map>
#include <string>

namespace kova {

using ResourceNameMap = std::map<int, std::string>;

// The (number, name) pairs of every "#define" (any case) followed by a name
// and a decimal number. A definition whose value is not a decimal number
// (an include guard, an expression) is skipped.
ResourceNameMap parseResourceHeader(const std::string& text);
// The same from a file; empty, with a log line, when it cannot be read.
ResourceNameMap readResourceHeader(const std::string& path);

} // namespace kova
