#pragma once
// Which records a data folder belongs to, and so whether this station may
// change anything in it: its mark (DataFolderMark) names the identity of the
// records that first used it (RecordsIdentity). A folder of other records,
// or one whose mark cannot be read, is left as it is: start-up recovery does
// not run on it, and no session is stored, deleted or imported into it until
// the station has a data folder of its own. An unmarked folder is claimed by
// the first records that use it; the files it held before are never theirs
// to sweep.

#include "Database/stored-sessions/DataFolderMark.h"

#include <cstdint>
#include <string>

class DatabaseConnection;

class DataFolderOwner {
public:
    enum class Standing {
        // The mark names these records.
        Own,
        // Unmarked until now: marked for these records.
        Claimed,
        // Unmarked, and no mark could be written (a read-only or full disk,
        // a folder that is not there) or these records have no identity.
        Unclaimed,
        // The mark names other records.
        Foreign,
        // A mark is there but cannot be read.
        Damaged,
        // A mark is there, but these records' identity cannot be read.
        Unknown,
    };

    struct Finding {
        Standing standing = Standing::Unclaimed;
        std::string folder;
        // These records' identity ("" when unknown) and database.
        std::string records;
        std::string database;
        // The folder's mark, when one was read or written.
        DataFolderMark mark;
        // Why the folder is Damaged, Unclaimed or Unknown.
        std::string reason;

        // Whether the station may write into the folder.
        bool permitsWriting() const;
        // Files last written up to this moment are not these records' to
        // sweep: the claim's moment, or every moment when there is no claim.
        std::int64_t sweepsAfter() const;
        // What the user is told when writing is refused; empty otherwise.
        std::wstring message() const;
        // The same as one line for the error log.
        std::string logText() const;
    };

    // What the folder is to the records, claiming it when it is unmarked.
    // With `makeIdentity` records without an identity get one first (the
    // start-up does this; a write inside a transaction must not).
    static Finding examine(const std::string& folder, DatabaseConnection& records, bool makeIdentity);

    // Whether the station's data folder takes a write of its records (the
    // open records database) now; when not, `refusal` holds the message and
    // the log has it. A station without a data folder or records writes as
    // ever (the write itself tells what fails).
    static bool permitsWriting(std::wstring& refusal);
    // The same, telling the user in a message box when not.
    static bool permitsWritingOrTell();

    // The caption of the message.
    static std::wstring caption();
};
