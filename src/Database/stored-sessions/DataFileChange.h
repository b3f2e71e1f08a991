#pragma once
// A stored session's data file replaced together with its row, so that a
// program killed at any moment leaves either the old row with the old file or
// the new row with the new file. The new contents are written beside the
// file, whole and on the disk; inside the transaction that writes the row
// they are named after the session's rows as that transaction leaves them
// ("<serial>.dat.pending-<fingerprint>"); only after the commit do they take
// the file's name. A start-up after a kill (DataFolderRecovery) finishes a
// change whose rows match the name and sets aside one whose rows do not.
//
//   DataFileChange file(*record.dataFileName());
//   DatabaseTransaction whole(theDatabase);
//   ... the row is written ...
//   file.open(); write to file.fd(); file.finishWriting();
//   file.bindToRows(theDatabase, record.Serialidentifier, reason);
//   whole.commit();
//   file.commit();

#include "platform/ReplacingFile.h"

#include <string>
#include <string_view>

class DatabaseConnection;

class DataFileChange {
public:
    static constexpr std::string_view PENDING_MARK = ".pending-";

    explicit DataFileChange(std::string dataFile);
    // A change never committed leaves the data file as it was.
    ~DataFileChange();
    DataFileChange(const DataFileChange&) = delete;
    DataFileChange& operator=(const DataFileChange&) = delete;

    const std::string& dataFile() const { return dataFile_; }
    // Creates the temporary for the new contents; false with errno set.
    bool open();
    // The temporary's descriptor while it is open, else -1.
    int fd() const { return file_.fd(); }
    // The new contents are complete: onto the disk, and the temporary closed.
    bool finishWriting();
    // Inside the transaction that wrote the session's row, after it: names
    // the new contents after the rows the transaction leaves under the
    // serial identifier. False with the reason when they cannot be read or
    // the file cannot be renamed.
    bool bindToRows(DatabaseConnection& connection, const std::string& serial, std::string& reason);
    // After the transaction's commit: the new contents take the data file's
    // name. A rename that fails is logged and left to the next start-up,
    // which finishes it (the rows match); false then.
    bool commit();

    // What the rows of a serial identifier hold, as a short text of
    // hexadecimal digits; throws DatabaseError when they cannot be read.
    static std::string rowsFingerprint(DatabaseConnection& connection, const std::string& serial);
    // The data file and the fingerprint a pending file name carries; false
    // for any other name.
    static bool parsePendingName(std::string_view name, std::string& dataFileName, std::string& fingerprint);

private:
    std::string dataFile_;
    platform::ReplacingFile file_;
    bool bound_ = false;
};
