#include "Database/DatabaseTransaction.h"

#include "Database/DatabaseConnection.h"

DatabaseTransaction::DatabaseTransaction(DatabaseConnection& connection) : connection_(connection)
{
    connection_.beginTransaction();
}

DatabaseTransaction::~DatabaseTransaction()
{
    if (!done_)
        connection_.rollback();
}

void DatabaseTransaction::commit()
{
    done_ = true;
    connection_.commit();
}
