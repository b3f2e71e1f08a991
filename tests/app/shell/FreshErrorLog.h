#pragma once
// The error log as one test wrote it. A test that reads the log starts one
// of its own first, so lines that earlier tests of the same program wrote
// (a refused menu template, say) never reach its checks, whatever tests ran
// before it and in whatever order.

#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <filesystem>
#include <string>

namespace kovatest {

// Ends the log written so far and removes its file; the next line opens it afresh.
inline void startFreshErrorLog()
{
    const std::string path = LogStream::instance().path();
    LogStream::destroy();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

inline std::string errorLog() { return readFile(LogStream::instance().path()); }

} // namespace kovatest
