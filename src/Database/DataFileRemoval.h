#pragma once
// A stored session's data file removed together with its row: before the
// row's delete is committed the file goes aside ("<serial>.dat.removing"),
// held so that another station's start-up leaves it alone; after the commit
// it goes for good, or back to its name when the row stayed. A start-up
// after a kill (DataFolderRecovery) does the same by whether the row is
// still there.
//
//   DataFileRemoval file(record.dataFileName());
//   ... in the transaction that deletes the row: file.setAside(); ...
//   file.settle(rowDeleted);

#include <string>
#include <string_view>

class DataFileRemoval {
public:
    static constexpr std::string_view ASIDE_MARK = ".removing";

    explicit DataFileRemoval(std::string dataFile);
    // A file set aside and never settled goes back: the row was kept.
    ~DataFileRemoval();
    DataFileRemoval(const DataFileRemoval&) = delete;
    DataFileRemoval& operator=(const DataFileRemoval&) = delete;

    // Moves the data file aside; a file that cannot be moved is logged and
    // stays (the row goes all the same, as the session dialog has it).
    void setAside();
    // The aside file goes for good when the row is deleted, else back.
    void settle(bool rowDeleted);

    const std::string& asidePath() const { return aside_; }

private:
    void release();

    std::string dataFile_;
    std::string aside_;
    int held_ = -1;
};
