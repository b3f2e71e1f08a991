#include "Database/DatabaseTransaction.h"

#include "Database/DatabaseConnection.h"
#include "Rodezir/LogStream.h"

#include <exception>

DatabaseTransaction::DatabaseTransaction(DatabaseConnection& connection) : connection_(connection)
{
    connection_.beginTransaction();
}

// A destructor runs while an error is on its way to the user: whatever the
// rollback meets must not end the program instead.
DatabaseTransaction::~DatabaseTransaction()
{
    if (done_)
        return;
    try {
        connection_.rollback();
    } catch (const std::exception& error) {
        LogStream::instance() << "A failed change could not be rolled back: " << error.what() << "\n";
    }
}

void DatabaseTransaction::commit()
{
    done_ = true;
    connection_.commit();
}
