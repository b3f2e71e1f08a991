#pragma once
// Statements that belong together: begun on construction, committed by
// commit(), and rolled back when the scope is left without it (also by an
// exception).

class DatabaseConnection;

class DatabaseTransaction {
public:
    explicit DatabaseTransaction(DatabaseConnection& connection);
    ~DatabaseTransaction();
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;

    // Throws DatabaseError when the database refuses the commit.
    void commit();

private:
    DatabaseConnection& connection_;
    bool done_ = false;
};
