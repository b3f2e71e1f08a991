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
    // Why a session's data file, as an import writes it, would not open
    // (an untranslated text); empty when it opens. The program installs the
    // reader that opens stored sessions; without one nothing is imported,
    // since nothing could tell whether it would open.
    using DataCheck =
        std::function<std::string(const SessionRecord& record, const std::vector<unsigned char>& dataFile)>;
    static void setDataCheck(DataCheck check);

    // Imports the sessions of a file the user chooses; `afterImport` runs
    // before the closing message (the manager lists the sessions again),
    // which names the sessions refused because they would not open.
    // Answers how many sessions were stored.
    int importSessions(const std::function<void()>& afterImport = {});

    // The stored session with its data file's contents, ready for export;
    // false when it is to be left out (the user was told when its data file
    // failed).
    bool collect(const std::string& serial, SessionRecord& record);
    // Stores one session of a file as a new session: its data file and its
    // row, both or neither. A session whose data would not open is refused
    // before anything is stored or asked (`refusal` then holds why). A
    // session already on this station is stored again under a new
    // identifier when the user agrees. False when skipped.
    bool importSession(SessionRecord& record, std::string* refusal = nullptr);

    // The question asked before importing a session this station holds.
    static std::wstring alreadyExistsText(const SessionRecord& record);

private:
    SessionTable table_;
};
