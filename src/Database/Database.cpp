#include "Database/Database.h"

#include "Rodezir/LogStream.h"
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

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
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
    if (!ok)
        platform::messageBox(Gettext::translate(NO_DATABASE_MESSAGE), L"Kova CPR Software",
                             platform::MB_OK | platform::MB_ICONWARNING);
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
