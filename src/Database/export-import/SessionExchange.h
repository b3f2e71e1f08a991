#pragma once
// Moving stored sessions between stations through session database files:
// what the session manager's Export and Import buttons do, from the file
// dialogs to the rows and data files, told to the user step by step.

#include "Database/SessionRecord.h"
#include "Database/SessionTable.h"

#include <functional>
#include <string>
#include <vector>

class SessionExchange {
public:
    static constexpr const char* EXTENSION = "sdb";

    // Works on the records database that is open.
    SessionExchange();
    ~SessionExchange();

    // Exports the sessions with these serial identifiers, in this order,
    // into a file the user chooses; sessions without a readable data file
    // are left out after telling the user.
    void exportSessions(const std::vector<std::string>& serials);
    // Imports the sessions of a file the user chooses; `afterImport` runs
    // before the closing message (the manager lists the sessions again).
    // Answers how many sessions were stored.
    int importSessions(const std::function<void()>& afterImport = {});

    // The stored session with its data file's contents, ready for export;
    // false when it is to be left out (the user was told when its data file
    // failed).
    bool collect(const std::string& serial, SessionRecord& record);
    // Stores one session of a file as a new session: its data file and its
    // row, both or neither. A session already on this station is stored
    // again under a new identifier when the user agrees. False when skipped.
    bool importSession(SessionRecord& record);

    // The question asked before importing a session this station holds.
    static std::wstring alreadyExistsText(const SessionRecord& record);

private:
    SessionTable table_;
};
