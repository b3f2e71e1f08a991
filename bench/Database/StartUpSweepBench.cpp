// Speed of the start-up's sweep of the data folder, in a SQLite data source
// reached through ODBC: a start with 5,000 old data files that no row names
// (each set aside into lost-and-found) against a start on an empty folder.
// The moves of one start are made durable together, one folder sync a
// folder, not two syncs a move. Prints the figures.

#include "RatioReporter.h"
#include "Database/Database.h"
#include "Database/stored-sessions/DataFolderRecovery.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int STRAYS = 5000;

fs::path dataFolder;

std::string readText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The statements of the installed schema, without comments.
std::vector<std::string> schema()
{
    std::string withoutComments;
    std::istringstream lines(readText(fs::path(KOVA_SOURCE_DIR) / "src/Database/schema/kovacpr-sqlite.sql"));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("--", 0) != 0)
            withoutComments += line + "\n";
    std::vector<std::string> statements;
    std::istringstream parts(withoutComments);
    for (std::string part; std::getline(parts, part, ';');)
        if (part.find_first_not_of(" \t\r\n") != std::string::npos)
            statements.push_back(part);
    return statements;
}

// A data source "kovacpr" of its own in `folder`, without sessions.
bool makeRecords(const fs::path& folder)
{
    writeText(folder / "odbcinst.ini", readText("/etc/odbcinst.ini"));
    writeText(folder / "odbc.ini",
              "[kovacpr]\nDriver=SQLite3\nDatabase=" + (folder / "kovacpr.db").string() + "\nTimeout=5000\n");
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);
    openDatabase();
    if (!databaseOpen)
        return false;
    for (const std::string& statement : schema())
        theDatabase.execute(statement);
    return true;
}

// Data files a station stored two hours ago under rows that are not there.
void putStrays(int count)
{
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (int i = 0; i < count; ++i) {
        const fs::path file = dataFolder / ("s" + std::to_string(1000000 + i) + ".dat");
        writeText(file, "a stored session's data\r\n");
        fs::last_write_time(file, old);
    }
}

int filesIn(const fs::path& folder)
{
    int count = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        count += it->is_regular_file() ? 1 : 0;
    return count;
}

void clearLostAndFound()
{
    std::error_code ignored;
    fs::remove_all(dataFolder / DataFolderRecovery::LOST_AND_FOUND, ignored);
}

void BM_StartWithOldUnnamedDataFiles(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        clearLostAndFound();
        putStrays(STRAYS);
        state.ResumeTiming();
        DataFolderRecovery::recoverDataFolder(dataFolder.string(), &theDatabase, std::time(nullptr));
    }
    if (filesIn(dataFolder) != 0 || filesIn(dataFolder / DataFolderRecovery::LOST_AND_FOUND) != STRAYS)
        state.SkipWithError("not every stray was set aside");
    clearLostAndFound();
}

void BM_StartOnAnEmptyFolder(benchmark::State& state)
{
    for (auto _ : state)
        DataFolderRecovery::recoverDataFolder(dataFolder.string(), &theDatabase, std::time(nullptr));
}

BENCHMARK(BM_StartWithOldUnnamedDataFiles)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartOnAnEmptyFolder)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const fs::path folder = fs::temp_directory_path() / ("kova-start-up-sweep-" + std::to_string(getpid()));
    dataFolder = folder / "data";
    fs::create_directories(dataFolder);
    // The error log of the sweep's lines goes there too.
    fs::current_path(folder);
    int result = 0;
    if (!makeRecords(folder)) {
        std::fprintf(stderr, "the benchmark's data source could not be opened: %s\n", theDatabase.lastError().c_str());
        result = 1;
    } else {
        RatioReporter reporter;
        if (!reporter.run(argc, argv))
            result = 1;
        const double strays = reporter.seconds("BM_StartWithOldUnnamedDataFiles/iterations:3");
        const double empty = reporter.seconds("BM_StartOnAnEmptyFolder");
        if (strays > 0 && empty > 0)
            std::printf("start with %d old unnamed data files: %.0f ms (%.3f ms a file set aside), on an empty "
                        "folder: %.2f ms\n",
                        STRAYS, strays * 1000.0, (strays - empty) * 1000.0 / STRAYS, empty * 1000.0);
    }
    theDatabase.close();
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(folder, ignored);
    return result;
}
