#pragma once
// Session data files on their way out with their rows. Each file is moved
// aside ("<file>.removing") before the change that deletes its row commits;
// once the change is over it is removed for good when the rows went, or put
// back under its name when the database kept them, so a stored session never
// loses its file and a deleted one leaves none behind.

#include "Database/SessionRecord.h"

#include <string>
#include <vector>

class DataFileRemoval {
public:
    // What a moved-aside data file is called until its row's delete is settled.
    static constexpr const char* ASIDE_SUFFIX = ".removing";

    DataFileRemoval() = default;
    // Files not settled by then go back: their rows were never known to go.
    ~DataFileRemoval();
    DataFileRemoval(const DataFileRemoval&) = delete;
    DataFileRemoval& operator=(const DataFileRemoval&) = delete;

    // Moves the session's data file aside, when it has one; a file that
    // cannot be moved stays where it is, with a line in the error log.
    void moveAside(const SessionRecord& session);
    // The change is over: with `rowsDeleted` the files go, else they return.
    void settle(bool rowsDeleted);

private:
    struct Aside {
        std::string file;
        std::string aside;
    };
    std::vector<Aside> aside_;
};
