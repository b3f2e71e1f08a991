#pragma once
// What a station killed while it stored, deleted, imported or exported
// sessions left behind, set right when the station starts again (right after
// it opened its records database):
// - new contents of a data file whose change was cut short
//   ("<serial>.dat.pending-<fingerprint>", see DataFileChange) take the
//   file's name when the session's rows are those the change wrote, and are
//   set aside otherwise;
// - a data file a delete moved aside ("<serial>.dat.removing", see
//   DataFileRemoval) goes back when the session's row is still there, and is
//   removed when it is gone;
// - temporaries of data files and of unfinished exports (see
//   UnfinishedExports), and data files no row names that were last written
//   more than an hour before the start, are set aside.
// Set aside means moved into the folder "lost-and-found" inside the data
// folder, never deleted. Files a living writer holds (another station
// sharing the folder) are left alone. Every step is one line in the error log.
// Only a data folder of the records' own is set right (see DataFolderOwner),
// and of the files it held before the records claimed it only those their
// rows name.

#include <cstdint>
#include <ctime>
#include <string>

class DatabaseConnection;

class DataFolderRecovery {
public:
    static constexpr const char* LOST_AND_FOUND = "lost-and-found";
    // A data file no row names may be another station's store in progress
    // until it is this old.
    static constexpr std::time_t UNNAMED_FILE_AGE = 60 * 60;

    // The station's data folder (from the registry) with the rows of the
    // records database, and the unfinished exports, when the folder is the
    // records' own (see DataFolderOwner); a folder of other records is left
    // as it is, and the user is told. `start` is when the station started.
    static void run(std::time_t start);

    // The same for one data folder; without `rows` only the temporaries are
    // set aside (nothing else can be judged without the rows). Files last
    // written up to `claimed`, when the records claimed the folder, are set
    // aside or removed only when the rows name them.
    static void recoverDataFolder(const std::string& folder, DatabaseConnection* rows, std::time_t start,
                                  std::int64_t claimed = 0);
    // The temporaries beside the unfinished exports, set aside into the data
    // folder's lost-and-found; a target is forgotten once none is left.
    static void sweepUnfinishedExports(const std::string& dataFolder);
    // Moves a file into the data folder's lost-and-found under its own name
    // (with a number added when that is taken), logging why. False, logged,
    // when it could not be moved.
    static bool setAside(const std::string& path, const std::string& dataFolder, const std::string& why);
};
