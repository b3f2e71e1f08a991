#pragma once
// The identity of a records database: 32 hexadecimal digits drawn when its
// tables are made, kept in the one row of the table "RecordsIdentity". A data
// folder names the identity of the records it belongs to (DataFolderMark), so
// two databases never take each other's data files for their own.

#include <string>
#include <string_view>

class DatabaseConnection;

class RecordsIdentity {
public:
    static constexpr const char* TABLE = "RecordsIdentity";
    static constexpr std::size_t LENGTH = 32;

    // The records' identity; empty when they have none (a database made
    // before identities) or it is not one. Throws DatabaseError when the
    // table cannot be read for another reason than its absence.
    static std::string read(DatabaseConnection& records);
    // The records' identity, made (with its table) when they have none yet.
    // Stations starting at the same moment on one shared server all end up
    // with the one identity the first of them stored. Empty, with the reason
    // logged, when none could be read or made.
    static std::string ensure(DatabaseConnection& records);
    // A new identity: 32 digits of the system's random source.
    static std::string draw();
    // 32 digits "0" to "9" and "a" to "f".
    static bool isIdentity(std::string_view text);
    // The engine and the database the connection reaches, as far as its
    // driver tells ("SQLite database /srv/kova/kovacpr.db"); empty when
    // it tells nothing.
    static std::string databaseOf(DatabaseConnection& records);
};
