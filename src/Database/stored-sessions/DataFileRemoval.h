#pragma once
// Stored sessions' data files removed together with their rows: before the
// change that deletes the rows commits, each file goes aside
// ("<serial>.dat.removing"), held so that another station's start-up leaves
// it alone; once the change is over the files go for good when the rows went,
// or back to their names when the database kept the rows. A start-up after a
// kill (DataFolderRecovery) does the same by whether a row is still there.
//
//   DataFileRemoval files;
//   ... in the transaction that deletes the rows: files.moveAside(record); ...
//   files.settle(rowsDeleted);

#include "Database/SessionRecord.h"

#include <string>
#include <string_view>
#include <vector>

class DataFileRemoval {
public:
    // What a moved-aside data file is called until its row's delete is settled.
    static constexpr std::string_view ASIDE_MARK = ".removing";

    DataFileRemoval() = default;
    // Files not settled by then go back: their rows were never known to go.
    ~DataFileRemoval();
    DataFileRemoval(const DataFileRemoval&) = delete;
    DataFileRemoval& operator=(const DataFileRemoval&) = delete;

    // Moves a data file aside, when there is one; a file that cannot be moved
    // is logged and stays (the row goes all the same, as the session dialog
    // has it).
    void moveAside(const std::string& dataFile);
    // A session whose identifier names no data file has none to move (logged).
    void moveAside(const SessionRecord& session);
    // The change is over: with `rowsDeleted` the files go, else they return.
    void settle(bool rowsDeleted);

private:
    struct Aside {
        std::string file;
        std::string aside;
        int held = -1;
    };
    std::vector<Aside> aside_;
};
