#pragma once
// The operations every table and record dialog goes through: opening a
// record set (with retries), guarded cursor moves, the changes that cascade a
// key into other tables, and the database error box. Values always travel as
// parameters; the key texts are matched as the system compares them, so a
// cascade reaches exactly the rows the program considers equal.

#include "Database/TextMatch.h"

#include <string>
#include <vector>

class DatabaseConnection;
class RecordSet;

// A key type for updateWhere and removeWhere offers its fields in the order
// of the column names the caller passes.
template <class Key>
concept RecordKey = requires(const Key& key) {
    { key.keyParts() } -> std::convertible_to<std::vector<KeyPart>>;
};

class DBUtil {
public:
    // Opens the record set on the table: three tries, each failed one
    // followed by a second's sleep. False when all three failed.
    static bool Open(RecordSet& table, const std::string& tableName);

    // True when the set is not open or holds no row.
    static bool emptyTable(const RecordSet& table);
    static void moveFirst(RecordSet& table);
    static void moveLast(RecordSet& table);
    static void moveNext(RecordSet& table);
    static void movePrev(RecordSet& table);

    // Sets the column to the new value in every row whose column holds the old one.
    static void update(DatabaseConnection& connection, const std::string& table, const std::string& column,
                       const std::string& oldValue, const std::string& newValue,
                       TextMatch match = TextMatch::IgnoringCase);
    // Deletes every row whose column holds the value.
    static void remove(DatabaseConnection& connection, const std::string& table, const std::string& column,
                       const std::string& value, TextMatch match = TextMatch::IgnoringCase);

    // The same for a key of several fields stored under the given column names.
    template <RecordKey Key>
    static void updateWhere(DatabaseConnection& connection, const std::string& table, const Key& oldKey,
                            const Key& newKey, const std::vector<std::string>& columns)
    {
        updateParts(connection, table, columns, oldKey.keyParts(), newKey.keyParts());
    }
    template <RecordKey Key>
    static void removeWhere(DatabaseConnection& connection, const std::string& table, const Key& key,
                            const std::vector<std::string>& columns)
    {
        removeParts(connection, table, columns, key.keyParts());
    }

    static void updateParts(DatabaseConnection& connection, const std::string& table,
                            const std::vector<std::string>& columns, const std::vector<KeyPart>& oldKey,
                            const std::vector<KeyPart>& newKey);
    static void removeParts(DatabaseConnection& connection, const std::string& table,
                            const std::vector<std::string>& columns, const std::vector<KeyPart>& key);

    // A copy with every "'" doubled, for the rare SQL literal.
    static std::string quote(const std::string& text);

    // The database error box around the driver's text ("Unknown error" when empty).
    static void showError(const std::string& errorText);
};
