#pragma once
// Runs one of the project's programs with an argument vector (no shell) and
// collects what it printed and how it ended.

#include <string>
#include <vector>

namespace kovatest {

struct ProgramRun {
    int exitCode = -1;    // -1 when it could not start or did not exit normally
    std::string output;   // standard output
    std::string errors;   // standard error
};

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments);

} // namespace kovatest
