#include "Database/Database.h"

#include "Database/DatabaseError.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

#include <cctype>
#include <new>

DatabaseConnection theDatabase;
bool databaseOpen = false;

namespace {
const char* const NO_DATABASE_MESSAGE =
    "The database connection to ODBC name 'kovacpr' could not be established.\n"
    "Your installation is incomplete or broken.\n"
    "Please try to correct the problem yourself by reinstalling the application,\n"
    "or contact support for further help.";

// The data source is there but its server did not answer (stopped, or out
// of reach): reinstalling would not help, so the message says what failed.
const char* const NO_SERVER_MESSAGE =
    "The database connection to ODBC name 'kovacpr' could not be established:\n%hs\n"
    "Please make sure that the database server is running and can be reached\n"
    "from this station, then start the station again.\n"
    "Until then no training records can be stored or opened.";

// Only a connection exception ("08...": the server refused or did not
// answer) is the server's; a missing or broken data source or driver
// ("IM...") and a station's own database file that cannot be opened are
// the installation's.
bool serverFault(const std::string& state) { return state.rfind("08", 0) == 0; }

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The driver's reason, one trimmed line after another (drivers indent their
// hints with tabs, which a message box shows as wide gaps).
std::string reasonLines(const std::string& reason)
{
    std::string lines;
    std::size_t start = 0;
    while (start <= reason.size()) {
        std::size_t end = reason.find('\n', start);
        if (end == std::string::npos)
            end = reason.size();
        const std::string line = trim(reason.substr(start, end - start));
        if (!line.empty())
            lines += (lines.empty() ? "" : "\n") + line;
        start = end + 1;
    }
    return lines;
}

const char* const IDENTIFIER_INDEX = "SessionSerialidentifier";
constexpr std::size_t LOGGED_DUPLICATES = 20;

bool identifierIndexExists()
{
    std::string sql;
    switch (theDatabase.engine()) {
    case DatabaseConnection::Engine::SQLite:
        sql = "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = ?";
        break;
    case DatabaseConnection::Engine::PostgreSQL:
        sql = "SELECT COUNT(*) FROM pg_indexes WHERE schemaname = current_schema() AND indexname = ?";
        break;
    case DatabaseConnection::Engine::Other:
        return false;
    }
    const auto rows = theDatabase.query(sql, {std::string(IDENTIFIER_INDEX)}, {SqlType::Integer});
    const auto* count = rows.empty() ? nullptr : std::get_if<long long>(&rows.front().front());
    return count && *count > 0;
}

void logDuplicateIdentifiers()
{
    const auto rows = theDatabase.query(
        "SELECT \"Serialidentifier\", COUNT(*) FROM \"Session\" WHERE \"Serialidentifier\" <> '' GROUP BY "
        "\"Serialidentifier\" HAVING COUNT(*) > 1",
        {}, {SqlType::Text, SqlType::Integer});
    LogStream& log = LogStream::instance();
    log << rows.size() << " session identifiers are stored more than once; those sessions stay as they are:";
    for (std::size_t i = 0; i < rows.size() && i < LOGGED_DUPLICATES; ++i) {
        const auto* serial = std::get_if<std::string>(&rows[i][0]);
        const auto* count = std::get_if<long long>(&rows[i][1]);
        log << " " << (serial ? *serial : std::string("(empty)")) << " (" << (count ? *count : 0) << " rows)";
    }
    log << (rows.size() > LOGGED_DUPLICATES ? " ...\n" : "\n");
}

// A database made before the identifier was unique gets its unique index
// once its rows allow it, so that no store can ever make a second row with
// an identifier. Where rows share one already, nothing is changed or lost:
// the log says which, and the station works on without the index.
void addIdentifierIndex()
{
    try {
        if (identifierIndexExists())
            return;
        // As the schema makes it: a row without an identifier names nothing.
        theDatabase.execute(std::string("CREATE UNIQUE INDEX IF NOT EXISTS \"") + IDENTIFIER_INDEX
                            + "\" ON \"Session\" (\"Serialidentifier\") WHERE \"Serialidentifier\" <> ''");
    } catch (const DatabaseError& error) {
        LogStream::instance() << "The unique index of session identifiers could not be added: " << error.what();
        try {
            logDuplicateIdentifiers();
        } catch (const DatabaseError&) {
        }
    }
}
} // namespace

void openDatabase()
{
    constexpr bool FALSE = false;
    bool ok = false;
    try {
        ok = theDatabase.open("DSN=kovacpr");
        if (!ok)
            LogStream::instance() << "openDatabase: " << theDatabase.lastError();
    } catch (const std::bad_alloc&) {
        KOVA_ASSERT(FALSE);
        ok = false;
    }
    databaseOpen = ok;
    if (ok) {
        addIdentifierIndex();
        return;
    }
    const std::wstring text = serverFault(theDatabase.lastState())
                                ? formatWide(Gettext::translate(NO_SERVER_MESSAGE).c_str(),
                                             cStr(reasonLines(theDatabase.lastError())))
                                : Gettext::translate(NO_DATABASE_MESSAGE);
    platform::messageBox(text, L"Kova CPR Software", platform::MB_OK | platform::MB_ICONWARNING);
}

std::string trim(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    std::size_t begin = 0;
    while (begin < end && isBlank(text[begin]))
        ++begin;
    return text.substr(begin, end - begin);
}
