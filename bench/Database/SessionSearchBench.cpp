// Speed of the session manager's search over 10,000 finished sessions in a
// SQLite data source reached through ODBC: the search with every criterion
// "any" with its 10,000 rows going into the list, a participant prefix that
// matches about one session in a hundred, and a plain SELECT through the same
// connection of the same rows and columns the list shows. Prints the figures
// against their targets.

#include "RatioReporter.h"
#include "Database/Database.h"
#include "Database/DatabaseTransaction.h"
#include "Database/SqlIdentifier.h"
#include "Database/stored-sessions/BrowseSessionsDialog.h"
#include "Database/stored-sessions/SessionSearch.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int SESSIONS = 10000;
constexpr int NAMES = 100;

BrowseSessionsDialog* manager = nullptr;

std::string readText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The statements of the installed schema, without comments.
std::vector<std::string> schema()
{
    std::string withoutComments;
    std::istringstream lines(readText(std::filesystem::path(KOVA_SOURCE_DIR) / "src/Database/schema/kovacpr-sqlite.sql"));
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

std::string name(char role, int index)
{
    char text[32];
    std::snprintf(text, sizeof text, "%c%02d Participant", role, index);
    return text;
}

// A data source "kovacpr" of its own in `folder` with the sessions stored.
bool makeRecords(const std::filesystem::path& folder)
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
    DatabaseTransaction transaction(theDatabase);
    const std::string insert =
        "INSERT INTO \"Session\" (\"Serialidentifier\", \"PersonVentilation\", \"PersonChestCompression\", "
        "\"CourseDate\", \"StartTime\", \"CourseInstructor\", \"Scenario\", \"Done\", \"Note\") "
        "VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?)";
    for (int i = 0; i < SESSIONS; ++i) {
        char date[16];
        char time[8];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2010 + i % 15, 1 + i % 12, 1 + i % 28);
        std::snprintf(time, sizeof time, "%02d:%02d", 8 + i % 10, i % 60);
        theDatabase.execute(insert, {"s" + std::to_string(100000 + i), name('V', i % NAMES),
                                     name('C', (i * 7 + 3) % NAMES), std::string(date), std::string(time),
                                     "Instructor " + std::to_string(i % 12), "Scenario " + std::to_string(i % 5),
                                     std::string("A note that the list does not show")});
    }
    transaction.commit();
    return true;
}

void setParticipant(const std::string& participant)
{
    if (auto* combo = qobject_cast<QComboBox*>(manager->getDlgItem(BrowseSessionsDialog::PARTICIPANT)))
        combo->setEditText(QString::fromStdString(participant));
}

void BM_SearchEveryCriterionAnyIntoTheList(benchmark::State& state)
{
    setParticipant("");
    for (auto _ : state) {
        manager->search();
        QApplication::processEvents();
    }
    if (manager->sessionModel().rowCount() != SESSIONS)
        state.SkipWithError("not every session was listed");
}

void BM_SearchParticipantPrefixOnePercent(benchmark::State& state)
{
    setParticipant("v42");
    for (auto _ : state) {
        manager->search();
        QApplication::processEvents();
    }
    state.counters["rows"] = manager->sessionModel().rowCount();
    setParticipant("");
}

// The same columns and rows as the unfiltered search reads, through the same
// connection, with nothing done to them.
void BM_PlainSelectOfTheListedColumns(benchmark::State& state)
{
    std::string columns;
    for (const char* column : {"Serialidentifier", "PersonVentilation", "PersonChestCompression", "CourseDate",
                               "StartTime", "CourseInstructor", "Scenario"})
        columns += (columns.empty() ? "" : ", ") + quoteIdentifier(column);
    const std::string sql = "SELECT " + columns + " FROM \"Session\" WHERE \"Done\" <> 0 ORDER BY "
        + SessionSearch::sortOrder();
    const std::vector<SqlType> types(7, SqlType::Text);
    for (auto _ : state) {
        auto rows = theDatabase.query(sql, {}, types);
        benchmark::DoNotOptimize(rows.data());
    }
}

BENCHMARK(BM_SearchEveryCriterionAnyIntoTheList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchParticipantPrefixOnePercent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSelectOfTheListedColumns)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kova-session-search-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    int result = 0;
    if (!makeRecords(folder)) {
        std::fprintf(stderr, "the benchmark's data source could not be opened: %s\n", theDatabase.lastError().c_str());
        result = 1;
    } else {
        BrowseSessionsDialog dialog;
        dialog.create();
        dialog.show();
        manager = &dialog;
        RatioReporter reporter;
        if (!reporter.run(argc, argv))
            result = 1;
        manager = nullptr;
        const double all = reporter.seconds("BM_SearchEveryCriterionAnyIntoTheList");
        const double plain = reporter.seconds("BM_PlainSelectOfTheListedColumns");
        if (all > 0 && plain > 0)
            std::printf("search of %d sessions into the list: %.1f ms (target under 50 ms), %.2f times the plain "
                        "SELECT of its columns (target at most 2)\n",
                        SESSIONS, all * 1000.0, all / plain);
    }
    theDatabase.close();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}
