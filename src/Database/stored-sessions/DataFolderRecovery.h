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
//   set aside when it is gone;
// - temporaries of data files and of unfinished exports (see
//   UnfinishedExports) last written some minutes before the start, and data
//   files no row names that were last written more than an hour before the
//   start, are set aside.
// Set aside means moved into the folder "lost-and-found" inside the data
// folder (see LostAndFound), never deleted: a start-up deletes nothing. Files
// a living writer holds (another station sharing the folder) are left alone,
// and so are the files a writer may have made a moment ago, before it could
// hold them. Every step is one line in the error log, and so is every file
// that could not be read.
// Only a data folder of the records' own is set right (see DataFolderOwner),
// and of the files it held before the records claimed it only those their
// rows name.

#include "Database/stored-sessions/LostAndFound.h"

#include <cstdint>
#include <ctime>
#include <string>

class DatabaseConnection;

class DataFolderRecovery {
public:
    static constexpr const char* LOST_AND_FOUND = LostAndFound::NAME;
    // A data file no row names may be another station's store in progress
    // until it is this old.
    static constexpr std::time_t UNNAMED_FILE_AGE = 60 * 60;
    // A temporary or the new contents of a data file may be a living
    // writer's (on a slow machine, or a network folder) until it is this old.
    static constexpr std::time_t UNFINISHED_FILE_AGE = 10 * 60;

    // The station's data folder (from the registry) with the rows of the
    // records database, and the unfinished exports, when the folder is the
    // records' own (see DataFolderOwner); a folder of other records is left
    // as it is, and the user is told. `start` is when the station started.
    static void run(std::time_t start);

    // The same for one data folder; without `rows` only the temporaries are
    // set aside (nothing else can be judged without the rows). Files last
    // written up to `claimed`, when the records claimed the folder, are set
    // aside only when the rows name them. The steps of one start share one
    // lost-and-found, whose moves reach the disk together when it goes.
    static void recoverDataFolder(const std::string& folder, DatabaseConnection* rows, std::time_t start,
                                  std::int64_t claimed = 0);
    static void recoverDataFolder(const std::string& folder, DatabaseConnection* rows, std::time_t start,
                                  std::int64_t claimed, LostAndFound& lostAndFound);
    // The temporaries beside the unfinished exports, set aside into the data
    // folder's lost-and-found; a target is forgotten once none is left.
    static void sweepUnfinishedExports(const std::string& dataFolder, std::time_t start);
    static void sweepUnfinishedExports(LostAndFound& lostAndFound, std::time_t start);
    // Moves a file into the data folder's lost-and-found under its own name
    // (with a number added when that is taken), logging why. False, logged,
    // when it could not be moved.
    static bool setAside(const std::string& path, const std::string& dataFolder, const std::string& why);
};
