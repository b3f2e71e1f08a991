#include "RecordsFixture.h"

#include "ScenarioTestTable.h"

#include "Database/Database.h"
#include "Database/DatabaseError.h"

#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace {
// The driver manager reads ODBCSYSINI and ODBCINI once per process and keeps
// what it read of them, so every test of a process writes its data sources
// into the same folder; CTest runs each test in a process of its own.
std::filesystem::path processOdbcFolder()
{
    return std::filesystem::temp_directory_path() / ("kova-odbc-" + std::to_string(getpid()));
}

std::filesystem::path odbcFolder()
{
    static const bool made = [] {
        // The driver manager loads its ini library for each lookup and drops
        // it again, taking the names the leak checker needs with it.
        dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
        std::filesystem::create_directories(processOdbcFolder());
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(processOdbcFolder(), ignored);
        });
        return true;
    }();
    (void)made;
    return processOdbcFolder();
}

// The machine's drivers, each told to stay loaded until exit so that the leak
// checker of the sanitizer build can still name the driver's own allocations.
std::string driversKeptLoaded(const std::string& odbcinst)
{
    std::string kept;
    std::istringstream lines(odbcinst);
    for (std::string line; std::getline(lines, line);) {
        kept += line + "\n";
        if (line.rfind("[", 0) == 0 && line != "[ODBC]")
            kept += "DontDLClose=1\n";
    }
    return kept;
}

// The test's records, under the same name for every test of the process so
// that the data source reads the same each time.
std::string sqliteFile() { return (odbcFolder() / "kovacpr.db").string(); }

std::string processSchema()
{
    static const std::string schema = [] {
        std::random_device random;
        return "records_" + std::to_string(getpid()) + "_" + std::to_string(random());
    }();
    return schema;
}

std::string trimmed(const std::string& text)
{
    auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}
} // namespace

// The drivers keep a few allocations of their own until the process ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libsqlite3odbc\nleak:psqlodbc\nleak:libodbcinst\n";
}

std::vector<std::string> schemaStatements(const std::string& engine)
{
    return sqlStatements("kovacpr-" + engine + ".sql");
}

std::vector<std::string> sqlStatements(const std::string& schemaFile)
{
    std::string text = kovatest::readFile(kovatest::sourceDir() / "src/Database/schema" / schemaFile);
    std::string withoutComments;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("--", 0) != 0)
            withoutComments += line + "\n";
    }
    std::vector<std::string> statements;
    std::istringstream parts(withoutComments);
    for (std::string part; std::getline(parts, part, ';');) {
        if (!trimmed(part).empty())
            statements.push_back(trimmed(part));
    }
    return statements;
}

std::string RecordsFixture::odbcIniPath() { return (odbcFolder() / "odbc-user.ini").string(); }

std::string RecordsFixture::adminConnectString() const
{
    return "Driver={PostgreSQL ANSI};Servername=" + pgFolder_
        + ";Port=5432;Database=postgres;Username=postgres;ConnSettings={SET client_encoding TO 'UTF8'}";
}

void RecordsFixture::SetUp()
{
    // Only the drivers come from the machine; every data source is the test's own.
    kovatest::writeFile(odbcFolder() / "odbcinst.ini", driversKeptLoaded(kovatest::readFile("/etc/odbcinst.ini")));
    kovatest::writeFile(odbcFolder() / "odbc.ini", "");
    setenv("ODBCSYSINI", odbcFolder().c_str(), 1);
    setenv("ODBCINI", odbcIniPath().c_str(), 1);

    const char* pgState = std::getenv("KOVA_TEST_POSTGRESQL");
    if (pgState) {
        pgFolder_ = trimmed(kovatest::readFile(pgState));
        if (pgFolder_.empty())
            GTEST_SKIP() << "the PostgreSQL test server is not running";
        pgSchema_ = processSchema();
        DatabaseConnection admin;
        if (!admin.open(adminConnectString()))
            GTEST_SKIP() << "the PostgreSQL test server does not answer: " << admin.lastError();
        admin.execute("CREATE SCHEMA " + pgSchema_);
        admin.execute("SET search_path TO " + pgSchema_);
        for (const auto& statement : schemaStatements("postgresql"))
            admin.execute(statement);
    }
    if (!pgState) {
        // Straight to the driver: the test may still take the data source away.
        DatabaseConnection setup;
        std::filesystem::remove(sqliteFile());
        ASSERT_TRUE(setup.open("Driver=SQLite3;Database=" + sqliteFile())) << setup.lastError();
        for (const auto& statement : schemaStatements("sqlite"))
            setup.execute(statement);
    }
    registerDataSource(true);
}

void RecordsFixture::TearDown()
{
    theDatabase.close();
    databaseOpen = false;
    if (!pgSchema_.empty()) {
        DatabaseConnection admin;
        if (admin.open(adminConnectString()))
            admin.execute("DROP SCHEMA " + pgSchema_ + " CASCADE");
    }
}

void RecordsFixture::registerDataSource(bool withKovacpr)
{
    std::string entry;
    if (withKovacpr && onPostgresql()) {
        entry = "[kovacpr]\nDriver=PostgreSQL ANSI\nServername=" + pgFolder_
            + "\nPort=5432\nDatabase=postgres\nUsername=postgres\nConnSettings=SET client_encoding TO 'UTF8'; SET "
              "search_path TO "
            + pgSchema_ + "\n";
    } else if (withKovacpr) {
        entry = "[kovacpr]\nDriver=SQLite3\nDatabase=" + sqliteFile() + "\nTimeout=5000\n";
    } else {
        entry = "[other]\nDriver=SQLite3\nDatabase=" + folder.file("other.db") + "\n";
    }
    kovatest::writeFile(odbcIniPath(), entry);
}

void RecordsFixture::openRecords()
{
    openDatabase();
    ASSERT_TRUE(databaseOpen) << theDatabase.lastError();
}

std::vector<std::string> RecordsFixture::column(const std::string& table, const std::string& name)
{
    std::vector<std::string> values;
    for (const auto& row : theDatabase.query("SELECT \"" + name + "\" FROM \"" + table + "\" ORDER BY \"RowId\"", {},
                                             {SqlType::Text})) {
        const auto* text = std::get_if<std::string>(&row.front());
        values.push_back(text ? *text : "<null>");
    }
    return values;
}

void OpenRecordsFixture::SetUp()
{
    RecordsFixture::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    openRecords();
}

void ScenarioRecordsFixture::SetUp()
{
    OpenRecordsFixture::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    ScenarioTestTable writer(theDatabase);
    writer.open("");
    ASSERT_TRUE(writer.isOpen);
    writer.store({"Basic", 120, "ERC 2010", true, 1});
    writer.store({"Advanced", 600, "AHA 2010", false, 2});
    writer.store({"Child", 300, "ERC 2010", true, 3});
}
