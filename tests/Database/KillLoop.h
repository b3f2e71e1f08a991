#pragma once
// Kill tests: a child process runs one of the station's paths (storing,
// deleting, importing, exporting sessions) over and over until the test
// kills it with SIGKILL at a random moment; then the test runs the start-up
// recovery as the next start of the station would and checks what is left.
// A few dozen kills a path in CI; KOVA_KILL_RUNS sets how many by hand.

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace killtest {

// KOVA_KILL_RUNS when set, else `usual`.
int runsPerPath(int usual);

// The random source of one test, seeded from KOVA_KILL_SEED when set (to
// replay a failure), else from the clock; the seed is printed.
std::mt19937& randomSource();

// Forks a child that runs `prepare` once, tells the parent it is ready,
// then runs `step` with 0, 1, 2, ... until it is killed; the parent kills
// it after a random time below `window`. A child that ends on its own (a
// step answered false, or threw) is a failure, described in the answer;
// empty when it was killed.
std::string runUntilKilled(const std::function<void()>& prepare, const std::function<bool(int)>& step,
                           std::chrono::microseconds window);

// What is out of step between the Session rows (of the open records) and
// the data folder, one text a fault: a finished row without its data file, a
// data file whose recommendations are not the row's note (the tests write
// the note into both), a data file without a row outside lost-and-found,
// and any temporary, change or delete left unfinished. Empty when all is
// well.
std::vector<std::string> faultsInDataFolder(const std::filesystem::path& folder);

// A data file's text that ends in the recommendations `note`.
std::string dataFileText(const std::string& note);

} // namespace killtest
